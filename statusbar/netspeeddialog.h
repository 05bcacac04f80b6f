#pragma once

#include <terminalhost/commondialog.h>

#include <QList>

class CCefWebView;

/**
 * @brief The latency chart: a fixed-size dialog whose embedded page draws the delay history.
 *
 * The page at <config dir>/../webwidget/netspeed/index.html receives the data through its
 * loadChart(json) function; sigLoadFinished tells the owner when the page is ready for it. The page
 * takes the theme's colours apart from the data, through setChartTheme(colours), once it has loaded
 * and again whenever the theme changes.
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

    /// The JSON the two loads hand to the page.
    static QString chartJson(const QString& labels, double maxDelayMs, const QList<double>& delaysMs);
    static QString chartJson(const QString& labels, const QList<double>& delaysMs);
    /// The chart's y maximum for a largest delay: the next multiple of 4 above its whole part.
    static int yAxisMaximum(double maxDelayMs);
    /// The page address for the current configuration directory.
    static QString pageAddress();
    /// The current theme's chart colours as the page's setChartTheme takes them: a JSON object of CSS colours.
    static QString chartThemeJson();

    CCefWebView* webView() const { return m_webView; }

    /// Hands the page the new theme's colours; the chart is redrawn in them.
    void themeChanged() override;

signals:
    void sigLoadFinished();

private:
    void runChartScript(const QString& script);
    void applyChartTheme();

    CCefWebView* m_webView = nullptr;
    bool m_pageLoaded = false; ///< a script run before the page has loaded would be lost with the blank page
};
