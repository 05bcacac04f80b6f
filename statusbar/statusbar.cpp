#include "statusbar.h"

#include <statusbar/bottomrollingquoterwidget.h>
#include <statusbar/clientfeedbackwidget.h>
#include <statusbar/clienttipwidget.h>
#include <statusbar/currenttimewidget.h>
#include <statusbar/fittingpass.h>
#include <statusbar/itemaccessibility.h>
#include <statusbar/itembasewidget.h>
#include <statusbar/itemfocusframe.h>
#include <statusbar/miniquoteclientwidget.h>
#include <statusbar/netspeeddialog.h>
#include <statusbar/noticewidget.h>
#include <statusbar/orderstrategywidget.h>
#include <statusbar/otherclientwidget.h>
#include <statusbar/quoteconnectstatuswidget.h>
#include <statusbar/quotewidget.h>
#include <statusbar/rollingmessagewidget.h>
#include <statusbar/runningcstrategywidget.h>
#include <statusbar/runningorderswidget.h>
#include <statusbar/runningtaskswidget.h>
#include <statusbar/statusbar_p.h>
#include <statusbar/statusbarevents.h>
#include <statusbar/statusbartooltip.h>
#include <statusbar/statusnetspeed.h>
#include <statusbar/tooltipwidget.h>
#include <statusbar/tradewidget.h>

#include <terminalhost/appconfig.h>
#include <terminalhost/config.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/multiclientmanager.h>
#include <terminalhost/serviceclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QPainter>
#include <QResizeEvent>
#include <QTime>
#include <QTimer>

#include <boost/format.hpp>
#include <log4cxx/logger.h>

#include <algorithm>
#include <cmath>

namespace {
// Widths and heights below are design figures at 100 %; the bar takes them at the UI scale.
constexpr int kBarHeight = 24;
constexpr int kItemHeight = 23;
constexpr int kTagHeight = 18;
constexpr int kTagWidth = 32;
constexpr int kSpacing = 2;
constexpr int kLeadingGap = 7;
constexpr int kMargin = 3;
constexpr int kNetSpeedIntervalMs = 5000;
constexpr int kRunningOrdersMaxWidth = 160;
constexpr int kRunningTasksMaxWidth = 125;
constexpr int kRunningStrategiesMaxWidth = 160;
constexpr int kRunningMinWidth = 80;
constexpr int kOrderSwitchMargin = 8; // px kept beside the order service switch
constexpr int kQuoteLayoutMode = 2;   // the user's layout without trading panels
constexpr int kMagnifierWidth = 147;
constexpr int kNetSpeedWidth = 34;
constexpr int kQuoteSourceMinWidth = 31;
constexpr int kQuoteSourceMaxWidth = 90;
constexpr int kClockMaxWidth = 135;
constexpr int kClockMinWidth = 60;
constexpr int kRightHandSlack = 10;    // px between the magnifier and the clock's neighbours
constexpr int kLauncherSlack = 10;     // px each companion launcher adds to the left-hand wanted width
constexpr int kFeedbackMinWidth = 31;
constexpr int kFeedbackMaxWidth = 61;
constexpr int kMessageMinWidth = 110;
constexpr int kMessageMaxWidth = 150;
constexpr int kIndexTickerWidth = 220;
constexpr int kNoticeTickerGap = 5;    // px between the index ticker and the announcement ticker
constexpr double kMsPerSecond = 1000.0;

const char kSeparatorImage[] = "img_toolbar_seperator";
const char kBackgroundKey[] = "clr_main_statusbar_background";
const char kDebugLoggerName[] = "ZQDbgFile";
const char kMagnifierName[] = "缩放";

using FittingPass::Role;

int px(int designPx)
{
    return CUiResource::instance()->scaledPx(designPx);
}

// The zoom as a screen reader reads it, "120%".
QString zoomText(const CMagnifierWidget* magnifier)
{
    return QStringLiteral("%1%").arg(magnifier->fontScale());
}
}

CStatusBarPrivate::CStatusBarPrivate(CStatusBar* bar)
    : q(bar)
{
}

CStatusBarPrivate* CStatusBarPrivate::get(CStatusBar* bar)
{
    return bar->d.get();
}

const CStatusBarPrivate* CStatusBarPrivate::get(const CStatusBar* bar)
{
    return bar->d.get();
}

CStatusBar::CStatusBar(QWidget* parent)
    : CWidgetList(Qt::Horizontal, parent)
    , d(std::make_unique<CStatusBarPrivate>(this))
{
    d->spacing = px(kSpacing);
    setSpacing(d->spacing);
    addFixedSpace(px(kLeadingGap));
    setFixedHeight(px(kBarHeight));
    const int margin = px(kMargin);
    setMargin(margin, margin, margin, margin);
    d->applyBackgroundPalette();
    d->addActivityItems();
    d->addClientLaunchers();

    d->netSpeedTimer = new QTimer(this);
    d->netSpeedTimer->setInterval(kNetSpeedIntervalMs);
    connect(d->netSpeedTimer, &QTimer::timeout, this, &CStatusBar::slotUpdateNetSpeed);
    d->netSpeedTimer->start();
    d->addTickers();
    d->rowGaps = px(kLeadingGap) + 2 * margin + (d->noticeTicker ? px(kNoticeTickerGap) : 0);
    d->tickerSlack = px(FittingPass::kTickerSlack);

    // Everything after the stretch sits at the right-hand end of the row.
    addStretchSpace(1);
    d->separatorWidthSum += d->addSeparator()->width();
    d->addRightHandItems();

    d->rightFixedWidth = d->netSpeed->width() + d->orderSwitchAllowance + d->magnifier->width() + px(kRightHandSlack)
        + d->clock->getMaxWidth();
    if (d->feedback)
        d->rightFixedWidth += d->feedback->getMaxWidth();
    if (d->quoteSource)
        d->rightFixedWidth += d->quoteSource->getMaxWidth();

    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const bool isRegistered = std::any_of(d->registered.begin(), d->registered.end(),
                                              [child](const CStatusBarPrivate::Registered& entry) { return entry.item == child; });
        if (!isRegistered && !child->isWindow())
            d->unregisteredRow.push_back(child);
    }
    // Not part of the row: it marks whichever item holds the keyboard focus.
    new CItemFocusFrame(this);
}

void CStatusBarPrivate::addActivityItems()
{
    const CUserConfig* config = getUserConfig();
    const bool tradingLayout = config->mode != kQuoteLayoutMode;
    if (CAppConfig::isClientType(0) && tradingLayout && config->canShowTradeType()) {
        runningOrders = new CRunningOrdersWidget(q);
        runningOrders->setMaximumWidth(px(kRunningOrdersMaxWidth));
        runningOrders->setMinimumWidth(px(kRunningMinWidth));
        QObject::connect(runningOrders, &CRunningOrdersWidget::sigResizeRunningOrderSize, q, &CStatusBar::slotResizeRunningSize);
        addRegisteredItem(runningOrders, Anchor_Fill, Role::Item, true);
        leftWantedWidth += runningOrders->getMaxWidth();

        runningTasks = new CRunningTasksWidget(q);
        runningTasks->setMaximumWidth(px(kRunningTasksMaxWidth));
        runningTasks->setMinimumWidth(px(kRunningMinWidth));
        QObject::connect(runningTasks, &CRunningTasksWidget::sigResizeRunningTaskSize, q, &CStatusBar::slotResizeRunningSize);
        addRegisteredItem(runningTasks, Anchor_Fill, Role::Item, true);
        leftWantedWidth += runningTasks->getMaxWidth();

        const int separatorWidth = addSeparator()->width();
        separatorWidthSum += separatorWidth;
        leftWantedWidth += separatorWidth;
    }
    if (tradingLayout && config->canShowTradeType()) {
        rollingMessage = new CRollingMessageWidget(q);
        // A click on the count stops at the item, which answers it itself.
        rollingMessage->setMouseEventRule(MouseRule_Keep);
        rollingMessage->setMinimumWidth(px(kMessageMinWidth));
        rollingMessage->setMaximumWidth(px(kMessageMaxWidth));
        addRegisteredItem(rollingMessage, Anchor_Fill, Role::Item, true);
        leftWantedWidth += rollingMessage->getMaxWidth();

        const int separatorWidth = addSeparator()->width();
        separatorWidthSum += separatorWidth;
        leftWantedWidth += separatorWidth;
    }
    if (tradingLayout) {
        runningStrategies = new CRunningCStrategyWidget(q);
        runningStrategies->setMaximumWidth(px(kRunningStrategiesMaxWidth));
        runningStrategies->setMinimumWidth(px(kRunningMinWidth));
        QObject::connect(runningStrategies, &CRunningCStrategyWidget::sigResizeRunningStrategySize, q,
                         &CStatusBar::slotResizeRunningSize);
        // The strategies counter is left out of what the announcement ticker makes room for.
        addRegisteredItem(runningStrategies, Anchor_Fill, Role::Item, false);
        leftWantedWidth += runningStrategies->getMaxWidth();
    }
}

void CStatusBarPrivate::addClientLaunchers()
{
    if (!CAppConfig::isClientType(0))
        return;
    if (getConfig()->showClientLauncher() || getUserConfig()->isUseMiniLogin()) {
        otherClient = new COtherClientWidget(q);
        otherClient->show();
        otherClient->setMinimumWidth(otherClient->getMinWidth());
        otherClient->setMaximumWidth(otherClient->getMaxWidth());
        otherClient->setFixedHeight(px(kItemHeight));
        otherClient->setToolTip(QStringLiteral("极简交易"));
        addRegisteredItem(otherClient, Anchor_Center, Role::Item, true);
        leftWantedWidth += otherClient->getMaxWidth() + px(kLauncherSlack);
    }
    if (LuaModuleCtrl::checkModule({QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_tolvex")})) {
        miniQuoteClient = new CMiniQuoteClientWidget(q);
        miniQuoteClient->show();
        miniQuoteClient->setMinimumWidth(miniQuoteClient->getMinWidth());
        miniQuoteClient->setMaximumWidth(miniQuoteClient->getMaxWidth());
        miniQuoteClient->setFixedHeight(px(kItemHeight));
        miniQuoteClient->setToolTip(QStringLiteral("miniQuote"));
        addRegisteredItem(miniQuoteClient, Anchor_Center, Role::Item, true);
        // The mini quote client starts with the terminal and stays hidden until the user asks for it.
        miniQuoteClient->startClient(ClientType_MiniQuoteResident);
        leftWantedWidth += miniQuoteClient->getMaxWidth() + px(kLauncherSlack);
    }
}

void CStatusBarPrivate::addTickers()
{
    const CUserConfig* config = getUserConfig();
    // A terminal that shows only trading, or logs in the simplified way, has no market information.
    if (config->isOnlyShowTradeModule() || config->isSimpledModelLogin())
        return;
    indexTicker = new CBottomRollingQuoterWidget(q);
    indexTicker->setFixedWidth(px(kIndexTickerWidth));
    q->addFixedWidget(indexTicker, Anchor_Fill, false);
    leftWantedWidth += indexTicker->width();

    if (config->isVarnoClientMode())
        return;
    noticeTicker = new CNoticeWidget(q);
    noticeTicker->resize(noticeTicker->getMaxWidth(), q->height());
    q->addFixedSpace(px(kNoticeTickerGap));
    addRegisteredItem(noticeTicker, Anchor_Fill, Role::Ticker, false);
    leftWantedWidth += noticeTicker->width();
}

void CStatusBarPrivate::addRegisteredItem(CItemBaseWidget* item, int anchor, Role role, bool occupies)
{
    q->addFixedWidget(item, anchor, false);
    registered.push_back({item, role, occupies});
}

CImageWidget* CStatusBarPrivate::addSeparator()
{
    auto* separator = new CImageWidget(0, QLatin1String(kSeparatorImage), q);
    q->addFixedWidget(separator, Anchor_Fill, false);
    return separator;
}

void CStatusBarPrivate::addRightHandItems()
{
    magnifier = new CMagnifierWidget(q);
    magnifier->setFontScale(static_cast<int>(std::trunc(CUiResource::instance()->getUIScale() * 100)), false);
    magnifier->setFixedWidth(px(kMagnifierWidth));
    ItemAccessibility::describe(magnifier, QString::fromUtf8(kMagnifierName), zoomText(magnifier));
    q->addFixedWidget(magnifier, Anchor_Center, false);
    separatorWidthSum += addSeparator()->width();
    addFeedbackItem();

    if (CAppConfig::isClientType(0) && getUserConfig()->hasOrderService()) {
        orderSwitch = new COrderStrategyWidget(q);
        orderSwitch->setFixedHeight(px(kItemHeight));
        orderSwitchAllowance = orderSwitch->width() + px(kOrderSwitchMargin);
        q->addFixedWidget(orderSwitch, Anchor_Center, false);
    }

    trade = new CTradeWidget(q);
    trade->setFixedHeight(px(kTagHeight));
    trade->setMinimumWidth(px(kTagWidth));
    trade->setMaximumWidth(px(kTagWidth));
    addRegisteredItem(trade, Anchor_Center, Role::Tag, false);

    quote = new CQuoteWidget(q);
    quote->setFixedHeight(px(kTagHeight));
    quote->setMinimumWidth(px(kTagWidth));
    quote->setMaximumWidth(px(kTagWidth));
    addRegisteredItem(quote, Anchor_Center, Role::Tag, false);

    if (!CAppConfig::isClientType(0)) {
        quoteSource = new CQuoteConnectStatusWidget(q);
        quoteSource->setFixedHeight(px(kItemHeight));
        quoteSource->setToolTip(QStringLiteral("行情源"));
        quoteSource->setMinimumWidth(px(kQuoteSourceMinWidth));
        quoteSource->setMaximumWidth(px(kQuoteSourceMaxWidth));
        addRegisteredItem(quoteSource, Anchor_Center, Role::Item, true);
    }

    netSpeed = new CStatusNetSpeed(q);
    netSpeed->show();
    netSpeed->setFixedHeight(px(kItemHeight));
    netSpeed->setFixedWidth(px(kNetSpeedWidth));
    q->addFixedWidget(netSpeed, Anchor_Center, false);

    q->setFixedHeight(px(kBarHeight));
    StatusBarToolTip::anchorOn(q);
    // Clicks on the bar's empty stretches stop at the bar instead of reaching the window behind it.
    q->setMouseEventRule(MouseRule_Keep);

    clock = new CCurrentTimeWidget(q);
    clock->setMaximumWidth(px(kClockMaxWidth));
    clock->setMinimumWidth(px(kClockMinWidth));
    addRegisteredItem(clock, Anchor_Center, Role::Item, true);
}

void CStatusBarPrivate::addFeedbackItem()
{
    // Terminals whose own service desk handles feedback leave the button out.
    if (getUserConfig()->isVarnoClientMode()
        || LuaModuleCtrl::checkModule({QStringLiteral("mdl_itsm"), QStringLiteral("mdl_itsm_system_user_feed_back")}))
        return;
    feedback = new CClientFeedBackWidget(q, nullptr);
    feedback->setFixedHeight(px(kItemHeight));
    feedback->setMinimumWidth(px(kFeedbackMinWidth));
    feedback->setMaximumWidth(px(kFeedbackMaxWidth));
    feedback->setToolTip(QStringLiteral("客服"));
    addRegisteredItem(feedback, Anchor_Center, Role::Item, true);
    separatorWidthSum += addSeparator()->width();
}

CStatusBar::~CStatusBar()
{
    delete d->netSpeedDialog;
    delete d->tradeToolTip;
}

FittingPass::Input CStatusBarPrivate::fittingInput() const
{
    FittingPass::Input input;
    input.separatorWidthSum = separatorWidthSum;
    input.rightFixedWidth = rightFixedWidth;
    input.leftWantedWidth = leftWantedWidth;
    input.orderSwitchAllowance = orderSwitchAllowance;
    input.fixedOccupied = magnifier->width() + netSpeed->width() + (orderSwitch ? orderSwitch->width() : 0)
        + (indexTicker ? indexTicker->width() : 0);
    input.rowOverhead = rowOverhead();
    input.tickerSlack = tickerSlack;
    input.items.reserve(registered.size());
    for (const Registered& entry : registered) {
        CItemBaseWidget* item = entry.item;
        input.items.push_back({entry.role, item->getMaxWidth(), item->getMinWidth(), item->minimumWidth(),
                               item->maximumWidth(), entry.occupies, item->width()});
    }
    return input;
}

int CStatusBarPrivate::rowOverhead() const
{
    // What the row holds besides the registered items: the other widgets, the fixed gaps, the
    // spacing between entries (the stretch counts as one) and the margins.
    int overhead = rowGaps;
    int entries = 2 + (noticeTicker ? 1 : 0); // the leading gap, the stretch and the ticker's gap
    for (const Registered& entry : registered)
        entries += entry.item->isHidden() ? 0 : 1;
    for (const QWidget* widget : unregisteredRow) {
        if (widget->isHidden())
            continue;
        ++entries;
        overhead += widget->width();
    }
    return overhead + (entries - 1) * spacing;
}

void CStatusBarPrivate::applyPlan(const FittingPass::Plan& plan)
{
    for (std::size_t i = 0; i < registered.size(); ++i) {
        CItemBaseWidget* item = registered[i].item;
        const FittingPass::ItemPlan& step = plan.items[i];
        if (step.form != FittingPass::Form::Kept)
            item->switchToLite(step.form == FittingPass::Form::Lite);
        if (step.width >= 0)
            item->resize(step.width, q->height());
    }
}

void CStatusBar::adjustWidgetWidth(int width)
{
    d->lastBarWidth = width;
    const FittingPass::Plan plan = FittingPass::decide(d->fittingInput(), width);
    // Each item takes its new form and width once; the row follows once, when the hold ends.
    const CWidgetListLayoutHold hold(this);
    d->applyPlan(plan);
    updateWidgetLength();
}

void CStatusBar::resizeLayout(QSize size)
{
    adjustWidgetWidth(size.width());
}

void CStatusBar::resizeEvent(QResizeEvent* event)
{
    // The list's own relayout waits for the fitting pass, so the row is laid out once.
    const CWidgetListLayoutHold hold(this);
    CWidgetList::resizeEvent(event);
    resizeLayout(event->size());
}

void CStatusBar::slotResizeRunningSize()
{
    if (d->lastBarWidth != 0)
        adjustWidgetWidth(d->lastBarWidth);
}

void CStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    painter.fillRect(rect(), resource->getColor(QLatin1String(kBackgroundKey)));
    painter.setPen(resource->getColor(QStringLiteral("clr_border_default")));
    painter.drawLine(0, 0, width(), 0);
}

void CStatusBar::themeChanged()
{
    d->applyBackgroundPalette();
    update();
}

void CStatusBarPrivate::applyBackgroundPalette()
{
    // Item texts that fill their own background take the bar's colour from the palette they inherit.
    QPalette barPalette = q->palette();
    barPalette.setColor(QPalette::Window, CUiResource::instance()->getColor(QLatin1String(kBackgroundKey)));
    q->setPalette(barPalette);
}

void CStatusBar::request()
{
    if (d->indexTicker)
        d->indexTicker->requestAll();
    if (d->noticeTicker)
        d->noticeTicker->request();
}

void CStatusBar::killProcesses()
{
    // Only a mini quote client the user has woken is ended; the resident one goes with the terminal.
    if (d->miniQuoteClient && d->miniQuoteClient->isAwakened())
        d->miniQuoteClient->killClient(ClientType_MiniQuote);
}

void CStatusBar::showClientFeedBack()
{
    if (d->feedback)
        d->feedback->screenCapture();
}

void CStatusBar::setNetStatus(int count)
{
    if (d->quoteSource)
        d->quoteSource->setQuoteConnectNum(count);
}

void CStatusBar::setRunningOrders(int count)
{
    if (d->runningOrders)
        d->runningOrders->updateCount(count);
}

void CStatusBar::setRunningTasks(int count)
{
    if (d->runningTasks)
        d->runningTasks->updateCount(count);
}

void CStatusBar::updateMoveWidget()
{
    // The mini quote launcher keeps its starting tip in a member of its own, which stays put here.
    for (COtherClientWidget* launcher : {d->otherClient, static_cast<COtherClientWidget*>(d->miniQuoteClient)}) {
        if (launcher && launcher->tip())
            launcher->tip()->move(launcher->mapToGlobal(QPoint(0, 0)));
    }
}

void CStatusBar::setNetSpeed(double delayMs)
{
    if (!d->netSpeed)
        return;
    d->netSpeed->setDelay(delayMs);

    if (!CLogCenter::instance()->fileLogEnabled(CLogCenter::kNetSpeedDebugId))
        return;
    const log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger(kDebugLoggerName);
    if (!logger->isDebugEnabled())
        return;
    const std::string inner = (boost::format("CStatusBar (%1%) dDelay : %2%") % static_cast<const void*>(this)
                               % QString::number(delayMs, 'g', 6).toStdString())
                                  .str();
    LOG4CXX_DEBUG(logger, (boost::format("[dbg_id=%1%] %2%") % CLogCenter::kNetSpeedDebugId % inner).str());
}

void CStatusBar::slotUpdateNetSpeed()
{
    double delayMs = 0.0;
    if (RPCClient* client = getServiceClient()->getClient()) {
        if (NetConnection* connection = client->getConnection())
            delayMs = connection->getDelay() * kMsPerSecond;
    }
    setNetSpeed(delayMs);
    const bool wasToScale = CNetSpeedDialog::drawsToScale(d->maxDelay);
    d->delayHistory.append(delayMs);
    if (delayMs > d->maxDelay)
        d->maxDelay = delayMs;
    // The label carries its own quotes so that the chart's JSON can take the list as it is.
    const QString label = QLatin1Char('"') + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('"');
    d->timeLabelHistory.append(label);

    if (!d->netSpeedDialog || !d->netSpeedDialog->isVisible())
        return;
    // The chart on show takes the new sample alone; a history that now reaches the scaled chart
    // needs all of it again, since the points so far were drawn at zero.
    if (CNetSpeedDialog::drawsToScale(d->maxDelay) != wasToScale)
        slotLoadNetSpeedData();
    else
        d->netSpeedDialog->appendToChart(label, delayMs, d->maxDelay);
}

void CStatusBar::slotLoadNetSpeedData()
{
    if (!d->netSpeedDialog)
        return;
    const QString labels = d->timeLabelHistory.join(QLatin1Char(','));
    if (CNetSpeedDialog::drawsToScale(d->maxDelay))
        d->netSpeedDialog->loadChart(labels, d->maxDelay, d->delayHistory);
    else
        d->netSpeedDialog->loadChart(labels, d->delayHistory);
}

bool CStatusBar::handleEvent(int type, int id, int arg, QString text, void* data)
{
    switch (type) {
    case Event_Activate:
        if (id == StatusBarEvent::IdNetSpeedChart) {
            d->openNetSpeedChart();
            return true;
        }
        if (id == StatusBarEvent::IdPassedToList)
            return CWidgetList::handleEvent(type, id, arg, text, data);
        return false;
    case Event_UiScale:
        CUiResource::instance()->setUIScale(arg / 100.0);
        ItemAccessibility::setValue(d->magnifier, zoomText(d->magnifier));
        return true;
    case StatusBarEvent::TradeToolTip:
        if (arg == 0)
            d->showTradeToolTip();
        else
            d->hideTradeToolTip();
        return true;
    default:
        return CWidgetList::handleEvent(type, id, arg, text, data);
    }
}

void CStatusBarPrivate::openNetSpeedChart()
{
    if (!netSpeedDialog) {
        netSpeedDialog = new CNetSpeedDialog(nullptr);
        QObject::connect(netSpeedDialog, &CNetSpeedDialog::sigLoadFinished, q, &CStatusBar::slotLoadNetSpeedData);
    } else {
        q->slotLoadNetSpeedData();
    }
    if (getConfig()->useWebView())
        netSpeedDialog->exec();
}

void CStatusBarPrivate::showTradeToolTip()
{
    if (!tradeToolTip)
        tradeToolTip = new ToolTipWidget(nullptr);
    if (!trade || tradeToolTip->isVisible())
        return;
    QVector<QString> texts;
    QVector<QString> colorKeys;
    trade->getText(texts);
    trade->getColor(colorKeys);
    tradeToolTip->setTexts(texts);
    tradeToolTip->setColorKeys(colorKeys);
    tradeToolTip->relayout();
    const QPoint corner = trade->mapToGlobal(QPoint(0, 0));
    tradeToolTip->move(corner.x(), corner.y() - tradeToolTip->totalHeight() - trade->height());
    tradeToolTip->show();
}

void CStatusBarPrivate::hideTradeToolTip()
{
    if (!tradeToolTip)
        tradeToolTip = new ToolTipWidget(nullptr);
    tradeToolTip->hide();
}

void CStatusBar::showToolTip(QWidget* widget, QString text)
{
    StatusBarToolTip::show(widget, text);
}
