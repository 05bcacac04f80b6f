#include "statusbar.h"

#include <statusbar/statusbarevents.h>
#include <statusbar/itembasewidget.h>
#include <statusbar/netspeeddialog.h>
#include <statusbar/statusbartooltip.h>
#include <statusbar/statusnetspeed.h>
#include <statusbar/tooltipwidget.h>

#include <statusbar/currenttimewidget.h>
#include <statusbar/orderstrategywidget.h>
#include <statusbar/quoteconnectstatuswidget.h>
#include <statusbar/quotewidget.h>
#include <statusbar/runningcstrategywidget.h>
#include <statusbar/runningorderswidget.h>
#include <statusbar/runningtaskswidget.h>
#include <statusbar/tradewidget.h>

#include <terminalhost/appconfig.h>
#include <terminalhost/config.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/serviceclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QPainter>
#include <QResizeEvent>
#include <QTime>
#include <QTimer>

#include <boost/format.hpp>
#include <log4cxx/logger.h>

#include <cmath>

namespace {
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
constexpr int kTickerSlack = 50;       // px the announcement ticker leaves free
constexpr double kMsPerSecond = 1000.0;


const char kSeparatorImage[] = "img_toolbar_seperator";
const char kBackgroundKey[] = "clr_main_statusbar_background";
const char kDebugLoggerName[] = "ZQDbgFile";
}

CStatusBar::CStatusBar(QWidget* parent)
    : CWidgetList(Qt::Horizontal, parent)
{
    setSpacing(kSpacing);
    addFixedSpace(kLeadingGap);
    setFixedHeight(kBarHeight);
    setMargin(kMargin, kMargin, kMargin, kMargin);
    applyBackgroundPalette();
    addActivityItems();

    m_netSpeedTimer = new QTimer(this);
    m_netSpeedTimer->setInterval(kNetSpeedIntervalMs);
    connect(m_netSpeedTimer, &QTimer::timeout, this, &CStatusBar::slotUpdateNetSpeed);
    m_netSpeedTimer->start();

    // Everything after the stretch sits at the right-hand end of the row.
    addStretchSpace(1);
    m_separatorWidthSum += addSeparator()->width();
    addRightHandItems();

    m_rightFixedWidth = m_netSpeed->width() + m_orderSwitchAllowance + m_magnifier->width() + kRightHandSlack
        + m_clock->getMaxWidth();
    if (!CAppConfig::isClientType(0))
        m_rightFixedWidth += m_quoteSource->getMaxWidth();
}

void CStatusBar::addActivityItems()
{
    const CUserConfig* config = getUserConfig();
    const bool tradingLayout = config->mode != kQuoteLayoutMode;
    if (CAppConfig::isClientType(0) && tradingLayout && config->canShowTradeType()) {
        m_runningOrders = new CRunningOrdersWidget(this);
        m_runningOrders->setMaximumWidth(kRunningOrdersMaxWidth);
        m_runningOrders->setMinimumWidth(kRunningMinWidth);
        connect(m_runningOrders, &CRunningOrdersWidget::sigResizeRunningOrderSize, this, &CStatusBar::slotResizeRunningSize);
        addRegisteredItem(m_runningOrders, Anchor_Fill);
        m_leftWantedWidth += m_runningOrders->getMaxWidth();

        m_runningTasks = new CRunningTasksWidget(this);
        m_runningTasks->setMaximumWidth(kRunningTasksMaxWidth);
        m_runningTasks->setMinimumWidth(kRunningMinWidth);
        connect(m_runningTasks, &CRunningTasksWidget::sigResizeRunningTaskSize, this, &CStatusBar::slotResizeRunningSize);
        addRegisteredItem(m_runningTasks, Anchor_Fill);
        m_leftWantedWidth += m_runningTasks->getMaxWidth();

        const int separatorWidth = addSeparator()->width();
        m_separatorWidthSum += separatorWidth;
        m_leftWantedWidth += separatorWidth;
    }
    if (tradingLayout) {
        m_runningStrategies = new CRunningCStrategyWidget(this);
        m_runningStrategies->setMaximumWidth(kRunningStrategiesMaxWidth);
        m_runningStrategies->setMinimumWidth(kRunningMinWidth);
        connect(m_runningStrategies, &CRunningCStrategyWidget::sigResizeRunningStrategySize, this,
                &CStatusBar::slotResizeRunningSize);
        addRegisteredItem(m_runningStrategies, Anchor_Fill);
        m_leftWantedWidth += m_runningStrategies->getMaxWidth();
    }
}

void CStatusBar::addRegisteredItem(CItemBaseWidget* item, int anchor)
{
    addFixedWidget(item, anchor, false);
    m_registeredItems.push_back(item);
}

CImageWidget* CStatusBar::addSeparator()
{
    auto* separator = new CImageWidget(0, QLatin1String(kSeparatorImage), this);
    addFixedWidget(separator, Anchor_Fill, false);
    return separator;
}

void CStatusBar::addRightHandItems()
{
    m_magnifier = new CMagnifierWidget(this);
    m_magnifier->setFontScale(static_cast<int>(std::trunc(CUiResource::instance()->getUIScale() * 100)), false);
    m_magnifier->setFixedWidth(kMagnifierWidth);
    addFixedWidget(m_magnifier, Anchor_Center, false);
    m_separatorWidthSum += addSeparator()->width();

    if (CAppConfig::isClientType(0) && getUserConfig()->hasOrderService()) {
        m_orderSwitch = new COrderStrategyWidget(this);
        m_orderSwitch->setFixedHeight(kItemHeight);
        m_orderSwitchAllowance = m_orderSwitch->width() + kOrderSwitchMargin;
        addFixedWidget(m_orderSwitch, Anchor_Center, false);
    }

    m_trade = new CTradeWidget(this);
    m_trade->setFixedHeight(kTagHeight);
    m_trade->setMinimumWidth(kTagWidth);
    m_trade->setMaximumWidth(kTagWidth);
    addRegisteredItem(m_trade, Anchor_Center);

    m_quote = new CQuoteWidget(this);
    m_quote->setFixedHeight(kTagHeight);
    m_quote->setMinimumWidth(kTagWidth);
    m_quote->setMaximumWidth(kTagWidth);
    addRegisteredItem(m_quote, Anchor_Center);

    if (!CAppConfig::isClientType(0)) {
        m_quoteSource = new CQuoteConnectStatusWidget(this);
        m_quoteSource->setFixedHeight(kItemHeight);
        m_quoteSource->setToolTip(QStringLiteral("行情源"));
        m_quoteSource->setMinimumWidth(kQuoteSourceMinWidth);
        m_quoteSource->setMaximumWidth(kQuoteSourceMaxWidth);
        addRegisteredItem(m_quoteSource, Anchor_Center);
    }

    m_netSpeed = new CStatusNetSpeed(this);
    m_netSpeed->show();
    m_netSpeed->setFixedHeight(kItemHeight);
    m_netSpeed->setFixedWidth(kNetSpeedWidth);
    addFixedWidget(m_netSpeed, Anchor_Center, false);

    setFixedHeight(kBarHeight);
    StatusBarToolTip::anchorOn(this);

    m_clock = new CCurrentTimeWidget(this);
    m_clock->setMaximumWidth(kClockMaxWidth);
    m_clock->setMinimumWidth(kClockMinWidth);
    addRegisteredItem(m_clock, Anchor_Center);
}

CStatusBar::~CStatusBar()
{
    delete m_netSpeedDialog;
    delete m_tradeToolTip;
    m_registeredItems.clear();
    m_delayHistory.clear();
    m_timeLabelHistory.clear();
}

std::vector<CItemBaseWidget*> CStatusBar::fullFormItems() const
{
    std::vector<CItemBaseWidget*> items;
    for (CItemBaseWidget* item : {static_cast<CItemBaseWidget*>(m_runningOrders), static_cast<CItemBaseWidget*>(m_runningTasks),
                                  static_cast<CItemBaseWidget*>(m_runningStrategies)}) {
        if (item)
            items.push_back(item);
    }
    if (m_quoteSource)
        items.push_back(m_quoteSource);
    items.push_back(m_clock);
    return items;
}

void CStatusBar::adjustWidgetWidth(int width)
{
    int total = m_separatorWidthSum + m_rightFixedWidth + m_leftWantedWidth;
    m_lastBarWidth = width;

    for (CItemBaseWidget* item : fullFormItems()) {
        item->switchToLite(false);
        item->resize(item->getMaxWidth(), kBarHeight);
    }

    // Shrink from the right-hand end until the row fits.
    for (auto it = m_registeredItems.rbegin(); it != m_registeredItems.rend(); ++it) {
        CItemBaseWidget* item = *it;
        if (total <= width)
            break;
        total = total - item->getMaxWidth() + item->getMinWidth();
        item->switchToLite(true);
        item->resize(item->getMinWidth(), kBarHeight);
    }

    updateWidgetLength();
}

void CStatusBar::resizeLayout(QSize size)
{
    adjustWidgetWidth(size.width());
}

void CStatusBar::resizeEvent(QResizeEvent* event)
{
    CWidgetList::resizeEvent(event);
    resizeLayout(event->size());
}

void CStatusBar::slotResizeRunningSize()
{
    if (m_lastBarWidth != 0)
        adjustWidgetWidth(m_lastBarWidth);
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
    applyBackgroundPalette();
    update();
}

void CStatusBar::applyBackgroundPalette()
{
    // Item texts that fill their own background take the bar's colour from the palette they inherit.
    QPalette barPalette = palette();
    barPalette.setColor(QPalette::Window, CUiResource::instance()->getColor(QLatin1String(kBackgroundKey)));
    setPalette(barPalette);
}

void CStatusBar::request()
{
    // Neither ticker is part of this bar yet, so there is nothing to subscribe.
}

void CStatusBar::killProcesses()
{
    // Only the mini quote launcher starts a process, and this bar has none.
}

void CStatusBar::showClientFeedBack()
{
    // Without a feedback item there is no report to start.
}

void CStatusBar::setNetStatus(int count)
{
    if (m_quoteSource)
        m_quoteSource->setQuoteConnectNum(count);
}

void CStatusBar::setRunningOrders(int count)
{
    if (m_runningOrders)
        m_runningOrders->updateCount(count);
}

void CStatusBar::setRunningTasks(int count)
{
    if (m_runningTasks)
        m_runningTasks->updateCount(count);
}

void CStatusBar::updateMoveWidget()
{
    // Only the companion launchers have tips to move, and this bar has none.
}

void CStatusBar::setNetSpeed(double delayMs)
{
    if (!m_netSpeed)
        return;
    m_netSpeed->setDelay(delayMs);

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
    m_delayHistory.append(delayMs);
    if (delayMs > m_maxDelay)
        m_maxDelay = delayMs;
    // The label carries its own quotes so that the chart's JSON can take the list as it is.
    m_timeLabelHistory.append(QLatin1Char('"') + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('"'));
}

void CStatusBar::slotLoadNetSpeedData()
{
    if (!m_netSpeedDialog)
        return;
    const QString labels = m_timeLabelHistory.join(QLatin1Char(','));
    if (m_maxDelay < 1.0)
        m_netSpeedDialog->loadChart(labels, m_delayHistory);
    else
        m_netSpeedDialog->loadChart(labels, m_maxDelay, m_delayHistory);
}

bool CStatusBar::handleEvent(int type, int id, int arg, QString text, void* data)
{
    switch (type) {
    case Event_Activate:
        if (id == StatusBarEvent::IdNetSpeedChart) {
            openNetSpeedChart();
            return true;
        }
        if (id == StatusBarEvent::IdPassedToList)
            return CWidgetList::handleEvent(type, id, arg, text, data);
        return false;
    case Event_UiScale:
        CUiResource::instance()->setUIScale(arg / 100.0);
        return true;
    case StatusBarEvent::TradeToolTip:
        if (arg == 0)
            showTradeToolTip();
        else
            hideTradeToolTip();
        return true;
    default:
        return CWidgetList::handleEvent(type, id, arg, text, data);
    }
}

void CStatusBar::openNetSpeedChart()
{
    if (!m_netSpeedDialog) {
        m_netSpeedDialog = new CNetSpeedDialog(nullptr);
        connect(m_netSpeedDialog, &CNetSpeedDialog::sigLoadFinished, this, &CStatusBar::slotLoadNetSpeedData);
    } else {
        slotLoadNetSpeedData();
    }
    if (getConfig()->useWebView())
        m_netSpeedDialog->exec();
}

void CStatusBar::showTradeToolTip()
{
    if (!m_tradeToolTip)
        m_tradeToolTip = new ToolTipWidget(nullptr);
    if (!m_trade || m_tradeToolTip->isVisible())
        return;
    QVector<QString> texts;
    QVector<QString> colorKeys;
    m_trade->getText(texts);
    m_trade->getColor(colorKeys);
    m_tradeToolTip->setTexts(texts);
    m_tradeToolTip->setColorKeys(colorKeys);
    m_tradeToolTip->relayout();
    const QPoint corner = m_trade->mapToGlobal(QPoint(0, 0));
    m_tradeToolTip->move(corner.x(), corner.y() - m_tradeToolTip->totalHeight() - m_trade->height());
    m_tradeToolTip->show();
}

void CStatusBar::hideTradeToolTip()
{
    if (!m_tradeToolTip)
        m_tradeToolTip = new ToolTipWidget(nullptr);
    m_tradeToolTip->hide();
}

void CStatusBar::showToolTip(QWidget* widget, QString text)
{
    StatusBarToolTip::show(widget, text);
}
