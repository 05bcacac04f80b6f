#include "floatwidget.h"

#include <terminalhost/uiresource.h>

#include <QChildEvent>
#include <QPainter>

CFloatWidget::CFloatWidget(QWidget* parent)
    : CBaseWidget(QStringLiteral("float_widget"), false, parent)
{
    // A popup closes by itself when the user clicks anywhere else.
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
}

bool CFloatWidget::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The rows draw no background of their own: the window paints the highlight behind them.
        static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        break;
    case QEvent::ChildRemoved:
        static_cast<QChildEvent*>(event)->child()->removeEventFilter(this);
        if (static_cast<QChildEvent*>(event)->child() == m_hoveredRow)
            setHoveredRow(nullptr);
        break;
    case QEvent::Hide:
        setHoveredRow(nullptr); // it opens again with no row lit
        break;
    default:
        break;
    }
    return CBaseWidget::event(event);
}

bool CFloatWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->isWidgetType() && watched->parent() == this) {
        if (event->type() == QEvent::Enter)
            setHoveredRow(static_cast<QWidget*>(watched));
        else if (event->type() == QEvent::Leave && watched == m_hoveredRow)
            setHoveredRow(nullptr);
    }
    return CBaseWidget::eventFilter(watched, event);
}

void CFloatWidget::setHoveredRow(QWidget* row)
{
    if (row == m_hoveredRow)
        return;
    m_hoveredRow = row;
    update();
}

void CFloatWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    painter.fillRect(rect(), resource->getColor(QStringLiteral("clr_menu_background")));
    if (m_hoveredRow && m_hoveredRow->isVisible() && m_hoveredRow->isEnabled()) {
        // Across the whole window inside the frame, as a menu lights its entries.
        const QRect row = m_hoveredRow->geometry();
        painter.fillRect(QRect(1, row.top(), width() - 2, row.height()),
                         resource->getColor(QStringLiteral("clr_menu_selected_background")));
    }
    painter.setPen(resource->getColor(QStringLiteral("clr_border_default")));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
