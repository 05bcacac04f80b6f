#pragma once

#include <terminalhost/commondialog.h>

#include <QList>

class CCefWebView;

/**
 * @brief The latency chart: a fixed-size dialog whose embedded page draws the delay history.
 *
 * The page at <config dir>/../webwidget/netspeed/index.html receives the data through its
 * loadChart(json) function; sigLoadFinished tells the owner when the page is ready for it.
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

    CCefWebView* webView() const { return m_webView; }

signals:
    void sigLoadFinished();

private:
    void runChartScript(const QString& json);

    CCefWebView* m_webView = nullptr;
};
