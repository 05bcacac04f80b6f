#include "basebutton.h"

#include <QMouseEvent>

CBaseButton::CBaseButton(const QString& objectName, int id, QWidget* parent)
    : CBaseWidget(objectName, false, parent)
    , m_id(id)
{
    setCursor(Qt::PointingHandCursor);
}

void CBaseButton::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    textChanged();
    update();
}

void CBaseButton::enterEvent(QEvent* event)
{
    CBaseWidget::enterEvent(event);
    m_hovered = true;
    update();
}

void CBaseButton::leaveEvent(QEvent* event)
{
    CBaseWidget::leaveEvent(event);
    m_hovered = false;
    m_pressed = false;
    update();
}

void CBaseButton::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    update();
}

void CBaseButton::mouseReleaseEvent(QMouseEvent* event)
{
    CBaseWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    update();
    if (rect().contains(event->pos()))
        deliverEvent(Event_Activate, m_id, clicked(), m_text, nullptr);
}

void CBaseButton::changeEvent(QEvent* event)
{
    CBaseWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}
