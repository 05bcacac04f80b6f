#include "simpletext.h"

#include <terminalhost/uiresource.h>

#include <QFontMetrics>
#include <QPainter>

QSize CSimpleText::measure(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    return {text.isEmpty() ? 0 : metrics.horizontalAdvance(text), metrics.height()};
}

QSize CSimpleText::getSize() const
{
    return measure(m_text, m_font);
}

QSize CSimpleText::getSize(const QString& text, const QString& fontKey)
{
    return measure(text, CUiResource::instance()->getFont(fontKey));
}

void CSimpleText::draw(QPainter* painter, const QRect& rect, int alignment) const
{
    painter->save();
    painter->setFont(m_font);
    painter->setPen(m_color);
    painter->drawText(rect, alignment, m_text);
    painter->restore();
}
