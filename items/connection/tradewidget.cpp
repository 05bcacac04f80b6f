#include "tradewidget.h"

#include <statusbar/itemaccessibility.h>
#include <statusbar/statusbarevents.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QPainter>

namespace {
const char kObjectName[] = "velo_trade_widget";
const char kTagText[] = "交易";
const char kSuccessBackground[] = "ic_clr_quotetrade_sucess_bg";
const char kFailBackground[] = "ic_clr_quotetrade_fail_bg";
const char kLoggedInSuffix[] = ": 登录成功";
const char kFailedSuffix[] = ": 登录失败";
const char kLoggedInColor[] = "clr_global_black";
const char kFailedColor[] = "clr_global_red";
constexpr int kWidthAllowance = 15; // px the tag asks beyond its current width
constexpr int kShowToolTip = 0;
constexpr int kHideToolTip = 1;

QString loginLine(const std::string& accountId, bool loggedIn)
{
    return sToQs(accountId) + QString::fromUtf8(loggedIn ? kLoggedInSuffix : kFailedSuffix);
}
}

CTradeWidget::CTradeWidget(QWidget* parent, QWidget*)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
{
    // The trade client reports from its network thread; the slot must run on ours.
    connect(CTradeClient::instance(), &CTradeClient::sigLoginStatus, this, &CTradeWidget::slotLoginStatus,
            Qt::QueuedConnection);
    ItemAccessibility::describe(this, QString::fromUtf8(kTagText));
    initAccount();
}

int CTradeWidget::getMaxWidth()
{
    return width() + kWidthAllowance;
}

int CTradeWidget::getMinWidth()
{
    return width() + kWidthAllowance;
}

void CTradeWidget::getText(QVector<QString>& out) const
{
    out = m_tipTexts;
}

void CTradeWidget::getColor(QVector<QString>& out) const
{
    out = m_tipColorKeys;
}

void CTradeWidget::initAccount()
{
    m_accounts.clear();
    const CUserConfig* config = getUserConfig();
    for (const CAccountInfoPtr& account : config->accountList) {
        if (!account || config->isAccountFilter(sToQs(account->getKey())))
            continue;
        m_accounts[account->accountId()] = false;
    }
    updateBackGround();
}

void CTradeWidget::slotLoginStatus(const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, std::string)
{
    if (!account || getUserConfig()->isAccountFilter(sToQs(account->getKey())))
        return;
    m_accounts[account->accountId()] = status == BROKER_LOGIN_SUCCESS;
    updateBackGround();
}

void CTradeWidget::updateBackGround()
{
    bool allLoggedIn = !m_accounts.empty();
    QStringList lines;
    for (const auto& [accountId, loggedIn] : m_accounts) {
        allLoggedIn = allLoggedIn && loggedIn;
        lines << loginLine(accountId, loggedIn);
    }
    m_backgroundKey = QLatin1String(allLoggedIn ? kSuccessBackground : kFailBackground);
    // A screen reader hears what hovering shows: each account with its login result.
    ItemAccessibility::setValue(this, lines.join(QLatin1Char('\n')));
    update();
}

void CTradeWidget::enterEvent(QEvent* event)
{
    CItemBaseWidget::enterEvent(event);
    m_tipTexts.clear();
    m_tipColorKeys.clear();
    for (const auto& [accountId, loggedIn] : m_accounts) {
        m_tipTexts.append(loginLine(accountId, loggedIn));
        m_tipColorKeys.append(QLatin1String(loggedIn ? kLoggedInColor : kFailedColor));
    }
    if (!m_accounts.empty())
        deliverEvent(StatusBarEvent::TradeToolTip, 0, kShowToolTip, QString(), nullptr);
}

void CTradeWidget::leaveEvent(QEvent* event)
{
    CItemBaseWidget::leaveEvent(event);
    deliverEvent(StatusBarEvent::TradeToolTip, 0, kHideToolTip, QString(), nullptr);
}

void CTradeWidget::paintEvent(QPaintEvent* event)
{
    CItemBaseWidget::paintEvent(event);
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    painter.fillRect(rect(), resource->getColor(m_backgroundKey));
    painter.setFont(resource->getFont(QStringLiteral("fnt_default_normal")));
    painter.setPen(resource->getColor(m_textKey));
    painter.drawText(QRect(-1, -1, width() + 1, height() + 1), Qt::AlignHCenter | Qt::AlignVCenter, QString::fromUtf8(kTagText));
}

void CTradeWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
}
