#pragma once

#include <terminalhost/commondialog.h>

#include <QList>

class CCefWebView;
class QLabel;

/**
 * @brief The latency chart: a fixed-size dialog whose embedded page draws the delay history.
 *
 * The page at <config dir>/../webwidget/netspeed/index.html receives the data through its
 * loadChart(json) function; sigLoadFinished tells the owner when the page is ready for it. The page
 * takes the theme's colours apart from the data, through setChartTheme(colours), once it has loaded
 * and again whenever the theme changes; its text follows the UI scale. A page that does not load,
 * or does not answer that it is ready, is replaced by a short message naming the file at fault,
 * which is logged once.
 */
class CNetSpeedDialog : public CCommonDialog
{
    Q_OBJECT
public:
    explicit CNetSpeedDialog(QWidget* parent);

    /// Loads the chart scaled to maxDelayMs; labels is the comma-joined list of quoted time labels.
    void loadChart(const QString& labels, double maxDelayMs, const QList<double>& delaysMs);
    /// Loads the chart with every point at zero, for a history whose delays all stay below 1 ms.
    void loadChart(const QString& labels, const QList<double>& delaysMs);
    /// Adds one sample to the chart on show; maxDelayMs is the history's largest delay with it.
    /// A history that only now reaches 1 ms needs the whole load instead (drawsToScale).
    void appendToChart(const QString& label, double delayMs, double maxDelayMs);
    /// Whether a history with this largest delay is drawn to scale rather than flat at zero.
    static bool drawsToScale(double maxDelayMs);

    /// The JSON the two loads hand to the page.
    static QString chartJson(const QString& labels, double maxDelayMs, const QList<double>& delaysMs);
    static QString chartJson(const QString& labels, const QList<double>& delaysMs);
    /// The chart's y maximum for a largest delay: the next multiple of 4 above its whole part.
    static int yAxisMaximum(double maxDelayMs);
    /// The page's file and address for the current configuration directory.
    static QString pageFile();
    static QString pageAddress();
    /// The current theme's chart colours as the page's setChartTheme takes them: a JSON object of CSS colours.
    static QString chartThemeJson();

    /// Null when the web view is off or the page failed.
    CCefWebView* webView() const { return m_webView; }
    /// What the dialog shows instead of a page that failed; empty while there is none.
    QString pageProblem() const;

    /// Hands the page the new theme's colours; the chart is redrawn in them.
    void themeChanged() override;

signals:
    void sigLoadFinished();

private:
    void runChartScript(const QString& script);
    void applyChartTheme();
    void checkPage(bool loaded);
    /// Shows shownText (%1: file) instead of the page and logs logText with file, once.
    void showPageProblem(const char* shownText, const char* logText, const QString& file);
    void styleProblemLabel();

    CCefWebView* m_webView = nullptr;
    QLabel* m_problemLabel = nullptr;
    bool m_pageLoaded = false; ///< a script run before the page has loaded would be lost with the blank page
};
