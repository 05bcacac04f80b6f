#include "simpletextwidget.h"

#include <terminalhost/simpletext.h>
#include <terminalhost/uiresource.h>

#include <QPainter>

#include <algorithm>

namespace {
constexpr int kRowPadding = 4;       // px the text of a list row is set in from the left and right
constexpr int kRowExtraHeight = 6;   // px a list row is taller than its text
const char kHoverKey[] = "clr_table_hover_background";
}

CSimpleTextWidget::CSimpleTextWidget(bool autoFill, int id, const QString& text, QWidget* parent)
    : CBaseWidget(QStringLiteral("simple_text_widget"), autoFill, parent)
    , m_id(id)
    , m_text(text)
{
    fitToText();
}

void CSimpleTextWidget::setText(const QString& text, int maxWidth)
{
    if (text == m_text && maxWidth == m_maxWidth)
        return;
    m_text = text;
    m_maxWidth = maxWidth;
    fitToText();
    update();
}

void CSimpleTextWidget::setColorKey(const QString& key)
{
    if (key == m_colorKey)
        return;
    m_colorKey = key;
    update();
}

void CSimpleTextWidget::setFontKey(const QString& key)
{
    if (key == m_fontKey)
        return;
    m_fontKey = key;
    fitToText();
    update();
}

void CSimpleTextWidget::setFlag(int flags)
{
    if (flags == m_flags)
        return;
    m_flags = flags;
    fitToText();
    update();
}

void CSimpleTextWidget::themeChanged()
{
    fitToText();
    update();
}

QSize CSimpleTextWidget::sizeHint() const
{
    QSize size = CSimpleText::getSize(m_text, m_fontKey);
    if (m_flags & TextFlag_HoverBackground)
        size += QSize(2 * kRowPadding, kRowExtraHeight);
    return {std::min(size.width(), m_maxWidth), size.height()};
}

void CSimpleTextWidget::fitToText()
{
    resize(sizeHint());
}

void CSimpleTextWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    QRect textRect = rect();
    if (m_flags & TextFlag_HoverBackground) {
        if (m_hovered)
            painter.fillRect(rect(), resource->getColor(QLatin1String(kHoverKey)));
        textRect.adjust(kRowPadding, 0, -kRowPadding, 0);
    }
    const QFont font = resource->getFont(m_fontKey);
    painter.setFont(font);
    painter.setPen(resource->getColor(m_colorKey));
    const QString text = (m_flags & TextFlag_ElideRight) ? QFontMetrics(font).elidedText(m_text, Qt::ElideRight, textRect.width()) : m_text;
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void CSimpleTextWidget::enterEvent(QEvent* event)
{
    CBaseWidget::enterEvent(event);
    m_hovered = true;
    if (m_flags & TextFlag_HoverBackground)
        update();
}

void CSimpleTextWidget::leaveEvent(QEvent* event)
{
    CBaseWidget::leaveEvent(event);
    m_hovered = false;
    if (m_flags & TextFlag_HoverBackground)
        update();
}

void CSimpleTextWidget::mouseClickEvent(QMouseEvent*)
{
    deliverEvent(Event_Click, m_id, 0, m_text, nullptr);
}
