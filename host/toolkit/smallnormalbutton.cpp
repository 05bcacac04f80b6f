#include "smallnormalbutton.h"

#include <terminalhost/simpletext.h>
#include <terminalhost/uiresource.h>

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kHorizontalPadding = 8; // px each side of the text
constexpr int kDefaultHeight = 20;
const char kFontKey[] = "fnt_default_normal_fix";
}

CSmallNormalButton::CSmallNormalButton(int id, bool checkable, int style, QWidget* parent)
    : CBaseWidget(QStringLiteral("small_normal_button"), false, parent)
    , m_id(id)
    , m_checkable(checkable)
    , m_style(style)
{
    setCursor(Qt::PointingHandCursor);
    resize(sizeHint());
}

void CSmallNormalButton::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    resize(sizeHint().width(), height());
    updateGeometry();
    update();
}

QSize CSmallNormalButton::sizeHint() const
{
    return {CSimpleText::getSize(m_text, QLatin1String(kFontKey)).width() + 2 * kHorizontalPadding, kDefaultHeight};
}

void CSmallNormalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const CUiResource* resource = CUiResource::instance();
    const bool lit = m_pressed || m_checked;
    const QString background = lit ? QStringLiteral("clr_button_pressed_background")
                                   : m_hovered ? QStringLiteral("clr_button_hover_background") : QStringLiteral("clr_button_background");
    painter.setBrush(resource->getColor(background));
    painter.setPen(m_style == 0 ? Qt::NoPen : QPen(resource->getColor(QStringLiteral("clr_button_border"))));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter.setFont(resource->getFont(QLatin1String(kFontKey)));
    painter.setPen(resource->getColor(QStringLiteral("clr_button_text")));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

void CSmallNormalButton::enterEvent(QEvent* event)
{
    CBaseWidget::enterEvent(event);
    m_hovered = true;
    update();
}

void CSmallNormalButton::leaveEvent(QEvent* event)
{
    CBaseWidget::leaveEvent(event);
    m_hovered = false;
    m_pressed = false;
    update();
}

void CSmallNormalButton::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    update();
}

void CSmallNormalButton::mouseReleaseEvent(QMouseEvent* event)
{
    CBaseWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    update();
    if (!rect().contains(event->pos()))
        return;
    if (m_checkable)
        m_checked = !m_checked;
    deliverEvent(Event_Activate, m_id, m_checked ? 1 : 0, m_text, nullptr);
}
