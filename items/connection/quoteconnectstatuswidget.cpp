#include "quoteconnectstatuswidget.h"

#include <statusbar/itemaccessibility.h>
#include <statusbar/statusbarevents.h>
#include <statusbar/statusbartooltip.h>

#include <terminalhost/imagewidget.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QMouseEvent>
#include <QPainter>

namespace {
const char kObjectName[] = "velo_quoteconnect_widget";
const char kConnectedIcon[] = "tc_img_status_bar_quoteconnect";
const char kDisconnectedIcon[] = "tc_img_status_bar_quoteconnect_none";
const char kLabel[] = "行情源";
const char kToolTip[] = "行情源连接状态提示";
const char kTextColor[] = "clr_status_bar_text";
constexpr int kTextMaxWidth = 100000;
// Paddings and offsets are px at 100 %, taken at the UI scale.
constexpr int kFullPadding = 32;  // px around icon, count and label
constexpr int kLitePadding = 16;  // px around icon and count
constexpr int kIconLeft = 10;
constexpr int kIconGap = 4;       // px between the icon and the count
constexpr int kCountDrop = 5;     // px the count sits below centre, like a subscript
constexpr int kCountGap = 2;      // px between the count and the label
}

CQuoteConnectStatusWidget::CQuoteConnectStatusWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_icon(new CImageWidget(0, QLatin1String(kConnectedIcon), this))
    , m_label(new CSimpleTextWidget(false, 0, QString::fromUtf8(kLabel), this))
    , m_count(new CSimpleTextWidget(false, 1, QStringLiteral("2"), this))
{
    m_label->setColorKey(QLatin1String(kTextColor));
    m_label->setFontKey(QStringLiteral("fnt_default_normal_fix"));
    m_count->setColorKey(QLatin1String(kTextColor));
    m_count->setFontKey(QStringLiteral("fnt_default_small_heavy_fix"));
    // The quote-only variant never shows how many sources are connected.
    if (getUserConfig()->isVarnoQuoteMode())
        m_count->hide();
    ItemAccessibility::describe(this, QString::fromUtf8(kLabel), m_count->isHidden() ? QString() : m_count->getText());
}

void CQuoteConnectStatusWidget::setQuoteConnectNum(int num)
{
    m_icon->setImage(QLatin1String(num != 0 ? kConnectedIcon : kDisconnectedIcon));
    m_count->setText(QStringLiteral("%1").arg(num), kTextMaxWidth);
    ItemAccessibility::setValue(this, m_count->isHidden() ? QString() : m_count->getText());
    // The count may have grown a digit: the label moves with it.
    placeChildren();
    update();
}

void CQuoteConnectStatusWidget::switchToLite(bool lite)
{
    m_label->setVisible(!lite);
}

int CQuoteConnectStatusWidget::getMaxWidth()
{
    return m_icon->width() + m_label->width() + m_count->width() + CUiResource::instance()->scaledPx(kFullPadding);
}

int CQuoteConnectStatusWidget::getMinWidth()
{
    return m_icon->width() + m_count->width() + CUiResource::instance()->scaledPx(kLitePadding);
}

bool CQuoteConnectStatusWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    switch (type) {
    case Event_ToolTip:
        StatusBarToolTip::show(m_icon, QString::fromUtf8(kToolTip));
        return true;
    case Event_Activate:
        deliverEvent(StatusBarEvent::QuoteSources, 0, 0, QString(), nullptr);
        return true;
    default:
        return CItemBaseWidget::handleEvent(type, id, arg, text, data);
    }
}

void CQuoteConnectStatusWidget::enterEvent(QEvent* event)
{
    CItemBaseWidget::enterEvent(event);
    m_frame.setLook(CItemFrame::Hover);
}

void CQuoteConnectStatusWidget::leaveEvent(QEvent* event)
{
    CItemBaseWidget::leaveEvent(event);
    m_frame.setLook(CItemFrame::Rest);
}

void CQuoteConnectStatusWidget::mousePressEvent(QMouseEvent* event)
{
    CItemBaseWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // Unlike the other framed items, a press here keeps the full hover look.
    m_frame.setLook(CItemFrame::Hover);
    deliverEvent(StatusBarEvent::QuoteSources, 0, 0, QString(), nullptr);
}

void CQuoteConnectStatusWidget::mouseReleaseEvent(QMouseEvent* event)
{
    CItemBaseWidget::mouseReleaseEvent(event);
}

void CQuoteConnectStatusWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_frame.paint(painter);
}

void CQuoteConnectStatusWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    placeChildren();
}

void CQuoteConnectStatusWidget::placeChildren()
{
    const CUiResource* resource = CUiResource::instance();
    const int h = height();
    const int iconLeft = resource->scaledPx(kIconLeft);
    int x = iconLeft;
    if (m_icon) {
        m_icon->move(iconLeft, (h - m_icon->height()) / 2);
        x = m_icon->width() + iconLeft + resource->scaledPx(kIconGap);
    }
    if (m_count) {
        m_count->move(x, (h - m_count->height()) / 2 + resource->scaledPx(kCountDrop));
        x += m_count->width() + resource->scaledPx(kCountGap);
    }
    if (m_label)
        m_label->move(x, (h - m_label->height()) / 2);
}
