#include "runningpaneldock.h"

#include <terminalhost/baskettaskspanel.h>
#include <terminalhost/orderspanel.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/userconfig.h>

#include <QTimer>

namespace {
constexpr int kRefreshMs = 250;         // as the popup panel refreshes its panel
constexpr int kAllTraderTypes = 0xf3ffff;
constexpr int kPanelStyle = 0;
}

CRunningPanelDock::CRunningPanelDock(Kind kind, QWidget* parent)
    : QDockWidget(kind == Kind::Orders ? QStringLiteral("执行中委托") : QStringLiteral("执行中任务"), parent)
    , m_kind(kind)
    , m_timer(new QTimer(this))
{
    setObjectName(kind == Kind::Orders ? QStringLiteral("running_orders_dock") : QStringLiteral("running_tasks_dock"));
    if (kind == Kind::Orders) {
        auto* orders = new COrdersPanel(kPanelStyle, kAllTraderTypes, this);
        orders->refreshAccounts();
        orders->showRunning();
        m_panel = orders;
    } else {
        auto* tasks = new CIntegratedTasksPanel(kPanelStyle, this);
        tasks->showRunning();
        m_panel = tasks;
    }
    setWidget(m_panel);

    connect(getUserConfig(), &CUserConfig::sigLoadAccounts, m_panel, &ITradeDockableWidget::refreshAccounts);
    connect(getUserConfig(), &CUserConfig::sigRefreshAccount, m_panel, &ITradeDockableWidget::refreshAccounts);
    // Announced from the back end's thread; the panel as context object queues it here.
    connect(CTradeClient::instance(), &CTradeClient::sigInitedAccountData, m_panel, [this](const CAccountInfo& account) {
        m_panel->ignoreAccount(account.getKey());
        m_panel->requestAccount(account);
    });
    connect(m_timer, &QTimer::timeout, this, &CRunningPanelDock::refresh);
    m_timer->setInterval(kRefreshMs);
}

void CRunningPanelDock::showRunning()
{
    show();
    raise();
    refresh();
}

void CRunningPanelDock::refresh()
{
    m_panel->onTimer(TimerUpdate_None);
}

// A hidden view costs nothing: the timer runs only while the dock can be seen.
void CRunningPanelDock::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    m_timer->start();
}

void CRunningPanelDock::hideEvent(QHideEvent* event)
{
    QDockWidget::hideEvent(event);
    m_timer->stop();
}
