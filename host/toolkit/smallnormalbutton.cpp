#include "smallnormalbutton.h"

#include <terminalhost/simpletext.h>
#include <terminalhost/uiresource.h>

#include <QPainter>

namespace {
constexpr int kHorizontalPadding = 8; // px each side of the text
constexpr int kDefaultHeight = 20;
const char kFontKey[] = "fnt_default_normal_fix";
}

CSmallNormalButton::CSmallNormalButton(int id, bool checkable, int style, QWidget* parent)
    : CBaseButton(QStringLiteral("small_normal_button"), id, parent)
    , m_checkable(checkable)
    , m_style(style)
{
    resize(sizeHint());
}

void CSmallNormalButton::textChanged()
{
    resize(sizeHint().width(), height());
    updateGeometry();
}

int CSmallNormalButton::clicked()
{
    if (m_checkable)
        m_checked = !m_checked;
    return m_checked ? 1 : 0;
}

QString CSmallNormalButton::backgroundKey() const
{
    if (isPressed() || m_checked)
        return QStringLiteral("clr_button_pressed_background");
    return isHovered() ? QStringLiteral("clr_button_hover_background") : QStringLiteral("clr_button_background");
}

QSize CSmallNormalButton::sizeHint() const
{
    return {CSimpleText::getSize(text(), QLatin1String(kFontKey)).width() + 2 * kHorizontalPadding, kDefaultHeight};
}

void CSmallNormalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const CUiResource* resource = CUiResource::instance();
    painter.setBrush(resource->getColor(backgroundKey()));
    painter.setPen(m_style == 0 ? Qt::NoPen : QPen(resource->getColor(QStringLiteral("clr_button_border"))));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter.setFont(resource->getFont(QLatin1String(kFontKey)));
    painter.setPen(resource->getColor(QStringLiteral("clr_button_text")));
    painter.drawText(rect(), Qt::AlignCenter, text());
}
