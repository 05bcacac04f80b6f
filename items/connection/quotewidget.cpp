#include "quotewidget.h"

#include <statusbar/itemaccessibility.h>
#include <statusbar/statusbarevents.h>
#include <terminalhost/quoteclient.h>
#include <terminalhost/uiresource.h>

#include <QMouseEvent>
#include <QPainter>

namespace {
const char kObjectName[] = "velo_quote_widget";
const char kTagText[] = "行情";
const char kSuccessBackground[] = "ic_clr_quotetrade_sucess_bg";
const char kFailBackground[] = "ic_clr_quotetrade_fail_bg";
const char kConnected[] = "已连接";
const char kNotConnected[] = "未连接";
constexpr int kWidthAllowance = 15; // px the tag asks beyond its current width
}

CQuoteWidget::CQuoteWidget(QWidget* parent, QWidget*)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
{
    connect(CQuoteClient::instance(), &CQuoteClient::sigQuoteConnectNum, this, &CQuoteWidget::slotQuoteConnectNum);
    ItemAccessibility::describe(this, QString::fromUtf8(kTagText), QString::fromUtf8(kNotConnected));
}

CQuoteWidget::~CQuoteWidget()
{
    disconnect();
    CQuoteClient::instance()->disconnect(this);
}

void CQuoteWidget::slotQuoteConnectNum(int)
{
    const bool connected = isHasQuoteTradeConnect();
    m_backgroundKey = QLatin1String(connected ? kSuccessBackground : kFailBackground);
    ItemAccessibility::setValue(this, QString::fromUtf8(connected ? kConnected : kNotConnected));
    update();
}

void CQuoteWidget::switchToLite(bool)
{
    // The tag has no compact form.
}

int CQuoteWidget::getMaxWidth()
{
    return width() + kWidthAllowance;
}

int CQuoteWidget::getMinWidth()
{
    return width() + kWidthAllowance;
}

void CQuoteWidget::mousePressEvent(QMouseEvent* event)
{
    CItemBaseWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        deliverEvent(StatusBarEvent::QuoteSources, 0, 0, QString(), nullptr);
}

void CQuoteWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    painter.fillRect(rect(), resource->getColor(m_backgroundKey));
    painter.setFont(resource->getFont(QStringLiteral("fnt_default_normal")));
    painter.setPen(resource->getColor(m_textKey));
    painter.drawText(QRect(-1, -1, width() + 1, height() + 1), Qt::AlignHCenter | Qt::AlignVCenter, QString::fromUtf8(kTagText));
}

void CQuoteWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
}
