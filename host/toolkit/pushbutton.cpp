#include "pushbutton.h"

#include <terminalhost/uiresource.h>

#include <QPainter>

namespace {
const char kObjectName[] = "push_button";
constexpr double kCornerRadius = 2.0; // px
constexpr double kDisabledTextOpacity = 0.5;
}

CButtonColor::CButtonColor(QString background, QString hover, QString pressed, QString disabled)
    : background(std::move(background))
    , hover(std::move(hover))
    , pressed(std::move(pressed))
    , disabled(std::move(disabled))
{
}

CPushButton::CPushButton(const CButtonColor& colors, int id, QWidget* parent)
    : CBaseButton(QLatin1String(kObjectName), id, parent)
    , m_colors(colors)
{
}

void CPushButton::setFontKey(const QString& key)
{
    if (key == m_fontKey)
        return;
    m_fontKey = key;
    update();
}

CPushButton::EState CPushButton::state() const
{
    if (!isEnabled())
        return State_Disabled;
    if (isPressed())
        return State_Pressed;
    return isHovered() ? State_Hover : State_Normal;
}

QString CPushButton::backgroundKey() const
{
    switch (state()) {
    case State_Disabled:
        return m_colors.disabled;
    case State_Pressed:
        return m_colors.pressed;
    case State_Hover:
        return m_colors.hover;
    case State_Normal:
        break;
    }
    return m_colors.background;
}

void CPushButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const CUiResource* resource = CUiResource::instance();
    painter.setPen(Qt::NoPen);
    painter.setBrush(resource->getColor(backgroundKey()));
    painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    if (!isEnabled())
        painter.setOpacity(kDisabledTextOpacity);
    painter.setFont(resource->getFont(m_fontKey));
    painter.setPen(resource->getColor(m_colors.text));
    painter.drawText(rect(), Qt::AlignCenter, text());
}
