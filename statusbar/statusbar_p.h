#pragma once

// Internal to the module and its tests: not installed, and it may change with every release.

#include <statusbar/fittingpass.h>

#include <QList>
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
class COtherClientWidget;
class COrderStrategyWidget;
class CQuoteConnectStatusWidget;
class CQuoteWidget;
class CRollingMessageWidget;
class CRunningCStrategyWidget;
class CRunningOrdersWidget;
class CRunningTasksWidget;
class CStatusBar;
class CStatusNetSpeed;
class CTradeWidget;
class QTimer;
class ToolTipWidget;

/**
 * @brief What a CStatusBar holds, kept out of the exported class so that the items still to come
 * change nothing of the bar's binary layout. The bar's own code and the tests reach it through get().
 */
class CStatusBarPrivate
{
public:
    /// A shrinkable item and how the fitting pass treats it.
    struct Registered {
        CItemBaseWidget* item = nullptr;
        FittingPass::Role role = FittingPass::Role::Item;
        bool occupies = true; ///< its width counts against the announcement ticker's share
    };

    explicit CStatusBarPrivate(CStatusBar* bar);

    static CStatusBarPrivate* get(CStatusBar* bar);
    static const CStatusBarPrivate* get(const CStatusBar* bar);

    void addActivityItems();
    void addClientLaunchers();
    void addTickers();
    void addRightHandItems();
    void addFeedbackItem();
    CImageWidget* addSeparator();
    void addRegisteredItem(CItemBaseWidget* item, int anchor, FittingPass::Role role, bool occupies);

    /// What the fitting pass decides from, as the items stand now.
    FittingPass::Input fittingInput() const;
    /// px of the row besides the registered items, as the widgets stand now.
    int rowOverhead() const;
    /// Gives every registered item the form and width the plan says, each at most once.
    void applyPlan(const FittingPass::Plan& plan);

    void applyBackgroundPalette();
    void openNetSpeedChart();
    void showTradeToolTip();
    void hideTradeToolTip();

    CStatusBar* q = nullptr;

    CRunningOrdersWidget* runningOrders = nullptr;
    CRunningTasksWidget* runningTasks = nullptr;
    CRunningCStrategyWidget* runningStrategies = nullptr;
    CRollingMessageWidget* rollingMessage = nullptr;
    CMagnifierWidget* magnifier = nullptr;
    CCurrentTimeWidget* clock = nullptr;
    COrderStrategyWidget* orderSwitch = nullptr;
    CQuoteConnectStatusWidget* quoteSource = nullptr;
    CStatusNetSpeed* netSpeed = nullptr;
    CTradeWidget* trade = nullptr;
    CQuoteWidget* quote = nullptr;
    CClientFeedBackWidget* feedback = nullptr;
    COtherClientWidget* otherClient = nullptr;        ///< launcher of the minimal trading client
    CMiniQuoteClientWidget* miniQuoteClient = nullptr; ///< launcher of the mini quote client
    CBottomRollingQuoterWidget* indexTicker = nullptr; ///< not registered: it keeps its width
    CNoticeWidget* noticeTicker = nullptr;             ///< the announcement ticker; takes the row's leftover

    double maxDelay = 0.0;          ///< ms
    QTimer* netSpeedTimer = nullptr;
    QList<double> delayHistory;     ///< ms, one per latency tick, for the life of the bar
    QStringList timeLabelHistory;   ///< quoted "HH:mm:ss", one per latency tick
    CNetSpeedDialog* netSpeedDialog = nullptr; ///< owned; created on first use
    ToolTipWidget* tradeToolTip = nullptr;     ///< owned; created on first use

    int separatorWidthSum = 0;      ///< px
    int orderSwitchAllowance = 0;   ///< px
    int rightFixedWidth = 0;        ///< px
    int leftWantedWidth = 0;        ///< px
    int lastBarWidth = 0;           ///< px given to the last fitting pass; 0 before the first
    // The row's figures at the UI scale the bar was built with.
    int spacing = 0;                ///< px between the row's entries
    int rowGaps = 0;                ///< px of the leading gap, the margins and the announcement ticker's gap
    int tickerSlack = 0;            ///< px the announcement ticker leaves free
    std::vector<Registered> registered; ///< in registration order, which the pass walks backwards
    /// The row's widgets that are not registered (separators, magnifier, switch, latency, index
    /// ticker), noted once built so that a width change need not search the bar's children.
    std::vector<QWidget*> unregisteredRow;
};
