#include "smallnonormalbutton.h"

#include <terminalhost/uiresource.h>

#include <QPainter>

namespace {
constexpr int kFlatStyle = 0; // no border: a tool row's buttons stand on their own
constexpr double kCornerRadius = 2.0; // px
constexpr int kToolRowHeight = 24;    // px; a tool row is as high as its buttons
const char kFontKey[] = "fnt_default_normal_fix";
const char kHoverKey[] = "clr_button_hover_background";
const char kPressedKey[] = "clr_button_pressed_background";
const char kTextKey[] = "clr_button_text";
}

CSmallNoNormalButton::CSmallNoNormalButton(int id, bool checkable, QWidget* parent, const CButtonColor* colors)
    : CSmallNormalButton(id, checkable, kFlatStyle, parent)
{
    setObjectName(QStringLiteral("small_no_normal_button"));
    if (colors)
        m_colors = *colors;
    resize(sizeHint());
}

QSize CSmallNoNormalButton::sizeHint() const
{
    return {CSmallNormalButton::sizeHint().width(), kToolRowHeight};
}

QString CSmallNoNormalButton::backgroundKey() const
{
    if (isPressed() || isChecked())
        return m_colors ? m_colors->pressed : QLatin1String(kPressedKey);
    if (isHovered())
        return m_colors ? m_colors->hover : QLatin1String(kHoverKey);
    return QString();
}

void CSmallNoNormalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const CUiResource* resource = CUiResource::instance();
    const QString background = backgroundKey();
    if (!background.isEmpty()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(resource->getColor(background));
        painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    }
    painter.setFont(resource->getFont(QLatin1String(kFontKey)));
    painter.setPen(resource->getColor(m_colors ? m_colors->text : QLatin1String(kTextKey)));
    painter.drawText(rect(), Qt::AlignCenter, text());
}
