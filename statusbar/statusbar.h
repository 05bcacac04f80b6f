#pragma once

#include <statusbar/statusbar_export.h>

#include <terminalhost/widgetlist.h>

#include <QList>
#include <QPointer>
#include <QStringList>

#include <vector>

class CBottomRollingQuoterWidget;
class CClientFeedBackWidget;
class CCurrentTimeWidget;
class CImageWidget;
class CItemBaseWidget;
class CMagnifierWidget;
class CMiniQuoteClientWidget;
class CNetSpeedDialog;
class CNoticeWidget;
class COrderStrategyWidget;
class COtherClientWidget;
class CQuoteConnectStatusWidget;
class CQuoteWidget;
class CRollingMessageWidget;
class CRunningCStrategyWidget;
class CRunningOrdersWidget;
class CRunningTasksWidget;
class CStatusNetSpeed;
class CTradeWidget;
class QTimer;
class ToolTipWidget;

/**
 * @brief The terminal's status bar: the 24-pixel row of items along the bottom of the main window.
 *
 * The constructor reads the host configuration once and builds the items that apply, left to right;
 * whenever the width changes, the fitting pass switches items to their compact form from the
 * right-hand end until the row fits. The main window drives it through the public commands below
 * and the bus events of handleEvent().
 */
class STATUSBAR_EXPORT CStatusBar : public CWidgetList
{
    Q_OBJECT
public:
    explicit CStatusBar(QWidget* parent);
    ~CStatusBar() override;

    /// Starts the index and announcement subscriptions of the tickers that exist.
    void request();
    /// Stops the mini quote client if this bar started it.
    void killProcesses();
    /// Starts a feedback report with a screen capture, if the feedback item exists.
    void showClientFeedBack();
    /// Shows the step of delayMs on the latency indicator and writes the debug line.
    void setNetSpeed(double delayMs);
    /// Number of connected quote sources, for the quote source item.
    void setNetStatus(int count);
    void setRunningOrders(int count);
    void setRunningTasks(int count);
    /// Keeps the launchers' tips on their launchers after the window moved.
    void updateMoveWidget();
    /// The fitting pass for a bar width in pixels.
    void adjustWidgetWidth(int width);
    /// Shows text as a tooltip for widget, just above the status bar.
    static void showToolTip(QWidget* widget, QString text);

    bool handleEvent(int type, int id, int arg, QString text, void* data) override;
    void themeChanged() override;

    /// The shrinkable items in the order the fitting pass walks them backwards.
    const std::vector<CItemBaseWidget*>& registeredItems() const { return m_registeredItems; }
    /// Delays in ms, one per latency tick, for the life of the bar.
    const QList<double>& delayHistory() const { return m_delayHistory; }
    /// Quoted "HH:mm:ss" labels, one per latency tick.
    const QStringList& timeLabelHistory() const { return m_timeLabelHistory; }
    double maxDelay() const { return m_maxDelay; }
    CNetSpeedDialog* netSpeedDialog() const { return m_netSpeedDialog; }
    ToolTipWidget* tradeToolTip() const { return m_tradeToolTip; }

protected:
    void resizeLayout(QSize size);
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

protected slots:
    void slotUpdateNetSpeed();
    void slotLoadNetSpeedData();
    void slotResizeRunningSize();

private:
    CImageWidget* addSeparator();
    void addActivityItems();
    void applyBackgroundPalette();
    void addRegisteredItem(CItemBaseWidget* item, int anchor);
    void addRightHandItems();
    void openNetSpeedChart();
    void showTradeToolTip();
    void hideTradeToolTip();
    std::vector<CItemBaseWidget*> fullFormItems() const;

    CRunningOrdersWidget* m_runningOrders = nullptr;
    CRunningTasksWidget* m_runningTasks = nullptr;
    CRunningCStrategyWidget* m_runningStrategies = nullptr;
    CRollingMessageWidget* m_rollingMessage = nullptr;
    CMagnifierWidget* m_magnifier = nullptr;
    CCurrentTimeWidget* m_clock = nullptr;
    COrderStrategyWidget* m_orderSwitch = nullptr;
    CQuoteConnectStatusWidget* m_quoteSource = nullptr;
    CClientFeedBackWidget* m_feedback = nullptr;
    CStatusNetSpeed* m_netSpeed = nullptr;
    double m_maxDelay = 0.0; // ms
    QTimer* m_netSpeedTimer = nullptr;
    QList<double> m_delayHistory;
    QStringList m_timeLabelHistory;
    CNetSpeedDialog* m_netSpeedDialog = nullptr;
    CBottomRollingQuoterWidget* m_indexTicker = nullptr;
    int m_separatorWidthSum = 0;
    int m_orderSwitchAllowance = 0;
    int m_rightFixedWidth = 0;
    int m_leftWantedWidth = 0;
    int m_lastBarWidth = 0;
    std::vector<CItemBaseWidget*> m_registeredItems;
    CNoticeWidget* m_noticeTicker = nullptr;
    CTradeWidget* m_trade = nullptr;
    CQuoteWidget* m_quote = nullptr;
    ToolTipWidget* m_tradeToolTip = nullptr;
    COtherClientWidget* m_clientLauncher = nullptr;
    CMiniQuoteClientWidget* m_miniQuoteLauncher = nullptr;
};
