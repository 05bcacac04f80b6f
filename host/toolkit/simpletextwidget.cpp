#include "simpletextwidget.h"

#include <terminalhost/simpletext.h>
#include <terminalhost/uiresource.h>

#include <QPainter>

#include <algorithm>

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

void CSimpleTextWidget::themeChanged()
{
    fitToText();
    update();
}

QSize CSimpleTextWidget::sizeHint() const
{
    const QSize size = CSimpleText::getSize(m_text, m_fontKey);
    return {std::min(size.width(), m_maxWidth), size.height()};
}

void CSimpleTextWidget::fitToText()
{
    resize(sizeHint());
}

void CSimpleTextWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(CUiResource::instance()->getFont(m_fontKey));
    painter.setPen(CUiResource::instance()->getColor(m_colorKey));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

void CSimpleTextWidget::mouseClickEvent(QMouseEvent*)
{
    deliverEvent(Event_Click, m_id, 0, m_text, nullptr);
}
