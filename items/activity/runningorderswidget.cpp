#include "runningorderswidget.h"

#include <statusbar/statusbarevents.h>
#include <statusbar/popcommonpaneldialog.h>

#include <terminalhost/datacenter.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/userconfig.h>

#include <QTimer>

#include <boost/bind/bind.hpp>

#include <vector>

namespace {
const char kObjectName[] = "running_orders_widget";
const char kIcon[] = "tc_img_status_bar_orders";
const char kFullCaption[] = " 执行中委托: ";
const char kLiteCaption[] = " 委托: ";
constexpr int kRefreshIntervalMs = 500;
constexpr int kFullPadding = 14;  // px around icon, caption and counter
constexpr int kLitePadding = 16;  // px; the compact form keeps a little more air
constexpr int kLeftMargin = 10;   // px before the icon
constexpr int kIconGap = 12;      // px added after the icon's width
constexpr int kCaptionGap = 2;    // px between caption and counter
constexpr int kMarkRunning = 1;
constexpr int kMarkCompleted = 0;

int orderMark(const COrderDetail& order)
{
    return COrderDetailHelper::completed(order) ? kMarkCompleted : kMarkRunning;
}
}

CRunningOrdersWidget::CRunningOrdersWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_image(new CImageWidget(0, QLatin1String(kIcon), this))
    , m_texts(QString::fromUtf8(kFullCaption), QString::fromUtf8(kLiteCaption), this)
{

    m_refreshTimer = new QTimer(this);
    connect(m_refreshTimer, &QTimer::timeout, this, &CRunningOrdersWidget::slotTimeout);
    m_refreshTimer->start(kRefreshIntervalMs);

    connect(CTradeClient::instance(), &CTradeClient::sigInitedAccountData, this,
            qOverload<const CAccountInfo&>(&CRunningOrdersWidget::slotRefreshAccount));
    connect(getUserConfig(), &CUserConfig::sigRefreshAccount, this,
            qOverload<>(&CRunningOrdersWidget::slotRefreshAccount));
    connect(getUserConfig(), &CUserConfig::sigLoadAccounts, this, &CRunningOrdersWidget::slotLoadAccounts);
}

CRunningOrdersWidget::~CRunningOrdersWidget()
{
    // Releasing a handle waits for its callback if one is running, and that callback takes our
    // lock: so the subscriptions go first, without the lock, and only then the marks.
    m_subscriptions.clear();
    boost::recursive_mutex::scoped_lock lock(m_mutex);
    m_orderMarks.clear();
}

void CRunningOrdersWidget::updateCount(int count)
{
    if (m_texts.showCount(count))
        emit sigResizeRunningOrderSize();
    resize(getMaxWidth(), height());
    placeChildren();
}

void CRunningOrdersWidget::switchToLite(bool lite)
{
    m_texts.showCaption(lite);
}

int CRunningOrdersWidget::getMaxWidth()
{
    m_texts.showCaption(false);
    return m_image->width() + m_texts.textWidth() + kFullPadding;
}

int CRunningOrdersWidget::getMinWidth()
{
    m_texts.showCaption(true);
    return m_image->width() + m_texts.textWidth() + kLitePadding;
}

bool CRunningOrdersWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type != Event_Click)
        return CItemBaseWidget::handleEvent(type, id, arg, text, data);
    if (getUserConfig()->popupRunningPanels) {
        if (!m_popupDialog)
            m_popupDialog = new CPopCommonPanelDialog(CPopCommonPanelDialog::kOrdersKind, this);
        m_popupDialog->showRunning();
        m_popupDialog->exec();
    } else {
        deliverEvent(StatusBarEvent::RunningOrders, 0, 0, QString(), nullptr);
    }
    return true;
}

void CRunningOrdersWidget::onOrderDetail(const IDataPtr& data)
{
    const auto* order = dynamic_cast<const COrderDetail*>(data.get());
    if (!order)
        return;
    const int mark = orderMark(*order);
    boost::recursive_mutex::scoped_lock lock(m_mutex);
    m_orderMarks.update(order->getKey(), mark);
}

void CRunningOrdersWidget::slotTimeout()
{
    int sum = 0;
    {
        boost::recursive_mutex::scoped_lock lock(m_mutex);
        sum = m_orderMarks.sum();
    }
    // Drawn from the copy: the redraw may emit the resize signal, and a slot behind it must be
    // free to reload accounts, which waits for callbacks that need this lock.
    if (sum != m_shownCount)
        m_shownCount = sum;
    updateCount(m_shownCount);
}

void CRunningOrdersWidget::slotRefreshAccount(const CAccountInfo& account)
{
    const std::string accountKey = account.getKey();
    if (getUserConfig()->isAccountFilter(sToQs(accountKey)))
        return;
    CAccountData* store = TraderCenter::instance()->getDataCenter()->getAccountData(account);
    if (!store)
        return;

    // The earlier subscription of this account ends before the store is read again: deliveries
    // still queued for it would otherwise land after the read and bring older states back, with
    // the newer ones behind them cancelled. Released without the lock, since ending it waits for
    // a running callback, and that callback may be waiting for the lock.
    m_subscriptions.erase(accountKey);

    boost::recursive_mutex::scoped_lock lock(m_mutex);
    // Subscribe before reading: a record published in between is then delivered, or read, or
    // both, and never lost. Deliveries wait for the lock, so they land after the read, in order.
    std::shared_ptr<SubRequest> handle = store->subscribe(
        TradeData_OrderDetail, std::string(),
        boost::bind(&CRunningOrdersWidget::onOrderDetail, this, boost::placeholders::_1));
    std::vector<IDataPtr> orders;
    store->getVector(TradeData_OrderDetail, orders);
    for (const IDataPtr& record : orders) {
        if (const auto* order = dynamic_cast<const COrderDetail*>(record.get()))
            m_orderMarks.update(order->getKey(), orderMark(*order));
    }
    if (handle)
        m_subscriptions[accountKey] = std::move(handle);
}

void CRunningOrdersWidget::slotRefreshAccount()
{
    reloadAllAccounts();
}

void CRunningOrdersWidget::slotLoadAccounts()
{
    reloadAllAccounts();
}

void CRunningOrdersWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    placeChildren();
}

void CRunningOrdersWidget::reloadAllAccounts()
{
    // Without the lock: releasing a handle may wait for a callback that needs it.
    m_subscriptions.clear();
    {
        boost::recursive_mutex::scoped_lock lock(m_mutex);
        m_orderMarks.clear();
    }
    const std::vector<CAccountInfoPtr> accounts = getUserConfig()->accountList;
    const CTradeClient* tradeClient = CTradeClient::instance();
    for (const CAccountInfoPtr& account : accounts) {
        if (!account)
            continue;
        // Accounts not ready yet are counted once sigInitedAccountData names them.
        if (isLoginStatusReady(tradeClient->getLoginStatus(account->getKey())))
            slotRefreshAccount(*account);
    }
}

void CRunningOrdersWidget::placeChildren()
{
    const int h = height();
    int x = kLeftMargin;
    if (m_image) {
        m_image->move(kLeftMargin, (h - m_image->height()) / 2);
        x = m_image->width() + kIconGap;
    }
    CSimpleTextWidget* label = m_texts.label();
    label->move(x, (h - label->height()) / 2);
    x += label->width() + kCaptionGap;
    m_texts.counter()->move(x, (h - m_texts.counter()->height()) / 2);
}
