#include "tooltipwidget.h"

#include <terminalhost/simpletext.h>
#include <terminalhost/uiresource.h>

#include <QPainter>

#include <algorithm>

namespace {
const char kToolTipObjectName[] = "status_bar_tooltip";
constexpr int kPadding = 10; // px added to the widest line and to the lines' height
}

ToolTipWidget::ToolTipWidget(QWidget* parent)
    : CBaseWidget(QLatin1String(kToolTipObjectName), false, parent)
{
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
}

void ToolTipWidget::relayout()
{
    int widest = 0;
    int heights = 0;
    for (const QString& line : qAsConst(m_texts)) {
        const QSize size = CSimpleText::getSize(line, m_fontKey);
        heights += size.height();
        widest = std::max(widest, size.width());
    }
    m_totalHeight = m_lineSpacing * m_texts.size() + kPadding + heights;
    resize(m_texts.isEmpty() ? kPadding : widest + kPadding, m_totalHeight);
    update();
}

void ToolTipWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    const QRect frame(0, 0, width() - 2, height() - 2);
    painter.fillRect(frame, resource->getColor(m_backgroundKey));
    painter.drawRect(frame);
    painter.setFont(resource->getFont(m_fontKey));
    int y = m_topMargin;
    for (int i = 0; i < m_texts.size(); ++i) {
        painter.setPen(resource->getColor(m_colorKeys.value(i)));
        const QSize size = CSimpleText::getSize(m_texts.at(i), m_fontKey);
        painter.drawText(QRect(m_leftMargin, y, size.width(), size.height()), Qt::AlignLeft | Qt::AlignVCenter, m_texts.at(i));
        y += size.height() + m_lineSpacing;
    }
}

void ToolTipWidget::enterEvent(QEvent*)
{
    update();
}

void ToolTipWidget::leaveEvent(QEvent*)
{
    update();
}

void ToolTipWidget::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
}
