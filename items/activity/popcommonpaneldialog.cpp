#include "popcommonpaneldialog.h"

#include <terminalhost/baskettaskspanel.h>
#include <terminalhost/messagepanel.h>
#include <terminalhost/orderspanel.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedockablewidget.h>
#include <terminalhost/userconfig.h>

#include <QTimer>

namespace {
constexpr int kDialogWidth = 1500;  // px
constexpr int kDialogHeight = 700;  // px
constexpr int kRefreshIntervalMs = 250;
constexpr int kPanelStyle = 0;
constexpr EQrTraderType kAllTraderTypes = 0xf3ffff;
const char kOrdersTitle[] = "委托";
const char kMessagesTitle[] = "消息提示";
const char kTasksTitle[] = "任务列表";
}

CPopCommonPanelDialog::CPopCommonPanelDialog(int kind, QWidget* parent)
    : CCommonDialog(parent)
    , m_kind(kind)
{
    switch (m_kind) {
    case kOrdersKind:
        m_panel = new COrdersPanel(kPanelStyle, kAllTraderTypes, this);
        setTitle(QString::fromUtf8(kOrdersTitle));
        setInnerWidget(m_panel);
        m_panel->refreshAccounts();
        break;
    case kMessagesKind:
        m_panel = new CMessagePanel(kPanelStyle, kAllTraderTypes, this);
        setTitle(QString::fromUtf8(kMessagesTitle));
        setInnerWidget(m_panel);
        break;
    case kTasksKind:
        m_panel = new CIntegratedTasksPanel(kPanelStyle, this);
        setTitle(QString::fromUtf8(kTasksTitle));
        setInnerWidget(m_panel);
        break;
    default:
        break;
    }
    resize(kDialogWidth, kDialogHeight);
    // The owner keeps the dialog and shows it again on the next click.
    setAttribute(Qt::WA_DeleteOnClose, false);

    connect(getUserConfig(), &CUserConfig::sigRefreshAccount, this, &CPopCommonPanelDialog::slotRefreshAllAccount);
    connect(CTradeClient::instance(), &CTradeClient::sigInitedAccountData, this, &CPopCommonPanelDialog::slotRefreshAccount);

    // Runs while the dialog is hidden too, so the panel is current whenever it is shown again.
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CPopCommonPanelDialog::slotTimeOut);
    m_timer->start(kRefreshIntervalMs);
}

CPopCommonPanelDialog::~CPopCommonPanelDialog()
{
    m_timer->stop();
    disconnect();
    QObject::disconnect(getUserConfig(), nullptr, this, nullptr);
    QObject::disconnect(CTradeClient::instance(), nullptr, this, nullptr);
    QObject::disconnect(m_timer, nullptr, this, nullptr);
}

void CPopCommonPanelDialog::showRunning()
{
    if (m_kind == kOrdersKind) {
        if (auto* orders = qobject_cast<COrdersPanel*>(m_panel))
            orders->showRunning();
    } else if (m_kind == kTasksKind) {
        if (auto* tasks = qobject_cast<CIntegratedTasksPanel*>(m_panel))
            tasks->showRunning();
    }
}

void CPopCommonPanelDialog::slotTimeOut()
{
    if (m_panel)
        m_panel->onTimer(TimerUpdate_None);
}

void CPopCommonPanelDialog::slotRefreshAccount(const CAccountInfo& account)
{
    if (!m_panel)
        return;
    m_panel->ignoreAccount(account.getKey());
    m_panel->requestAccount(account);
}

void CPopCommonPanelDialog::slotRefreshAllAccount()
{
    if (m_panel)
        m_panel->refreshAccounts();
}
