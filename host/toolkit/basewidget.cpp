#include "basewidget.h"

#include <QKeyEvent>

CBaseWidget::CBaseWidget(const QString& objectName, bool autoFill, QWidget* parent)
    : QWidget(parent)
    , CEventDeliverer(this)
{
    setObjectName(objectName);
    setAutoFillBackground(autoFill);
}

void CBaseWidget::themeChanged()
{
    update();
}

bool CBaseWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && offerEvent(Event_ToolTip, 0, 0, QString(), nullptr))
        return true;
    return QWidget::event(event);
}

void CBaseWidget::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (offerEvent(Event_Activate, 0, 0, QString(), nullptr))
            return;
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void CBaseWidget::paintEvent(QPaintEvent*)
{
    // Toolkit widgets paint themselves; the base leaves the area untouched.
}
