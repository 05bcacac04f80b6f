#include "runningorderswidget.h"

#include <statusbar/popcommonpaneldialog.h>
#include <statusbar/statusbarevents.h>

#include <terminalhost/datacenter.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/userconfig.h>

#include <boost/bind/bind.hpp>

#include <vector>

namespace {
const CRunningCountWidget::Parts kParts{
    "tc_img_status_bar_orders",
    " 执行中委托: ",
    " 委托: ",
    14, // px around icon, caption and counter
    16, // px; the compact form keeps a little more air
};

bool isRunning(const COrderDetail& order)
{
    return !COrderDetailHelper::completed(order);
}
}

CRunningOrdersWidget::CRunningOrdersWidget(QWidget* parent)
    : CRunningMarksWidget(kParts, CPopCommonPanelDialog::kOrdersKind, StatusBarEvent::RunningOrders, parent)
{
    connect(CTradeClient::instance(), &CTradeClient::sigInitedAccountData, this,
            qOverload<const CAccountInfo&>(&CRunningOrdersWidget::slotRefreshAccount));
    connect(getUserConfig(), &CUserConfig::sigRefreshAccount, this,
            qOverload<>(&CRunningOrdersWidget::slotRefreshAccount));
    connect(getUserConfig(), &CUserConfig::sigLoadAccounts, this, &CRunningOrdersWidget::slotLoadAccounts);
    // Accounts already logged in (a bar rebuilt for a new scale) are counted from the start rather
    // than from the next account announcement, and shown before the first tick.
    reloadAllAccounts();
    slotTimeout();
}

CRunningOrdersWidget::~CRunningOrdersWidget()
{
    // Releasing a handle waits for its callback if one is running, and that callback takes the
    // marks' lock: so the subscriptions go here, without the lock, and the marks after them.
    m_subscriptions.clear();
}

void CRunningOrdersWidget::numberWidened()
{
    emit sigResizeRunningOrderSize();
}

void CRunningOrdersWidget::onOrderDetail(const IDataPtr& data)
{
    const auto* order = dynamic_cast<const COrderDetail*>(data.get());
    if (!order)
        return;
    setMark(order->getKey(), isRunning(*order));
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

    boost::recursive_mutex::scoped_lock lock(marksMutex());
    // Subscribe before reading: a record published in between is then delivered, or read, or
    // both, and never lost. Deliveries wait for the lock, so they land after the read, in order.
    std::shared_ptr<SubRequest> handle = store->subscribe(
        TradeData_OrderDetail, std::string(),
        boost::bind(&CRunningOrdersWidget::onOrderDetail, this, boost::placeholders::_1));
    std::vector<IDataPtr> orders;
    store->getVector(TradeData_OrderDetail, orders);
    for (const IDataPtr& record : orders) {
        if (const auto* order = dynamic_cast<const COrderDetail*>(record.get()))
            setMark(order->getKey(), isRunning(*order));
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

void CRunningOrdersWidget::reloadAllAccounts()
{
    // Without the lock: releasing a handle may wait for a callback that needs it.
    m_subscriptions.clear();
    clearMarks();
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
