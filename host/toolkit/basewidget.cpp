#include "basewidget.h"

#include <terminalhost/widgetlist.h>

#include <QKeyEvent>
#include <QMouseEvent>

namespace {
// One left press on its way from the deepest toolkit widget under the pointer up to its ancestors,
// and on to the release that ends it. GUI thread only, like every mouse event.
struct PressRound {
    quint64 serial = 0;
    QPointer<QWidget> first;    ///< the deepest toolkit widget the press reached
    ulong timestamp = 0;        ///< the press's, which Qt copies onto what it passes up
    quint64 deliveriesAtStart = 0;
    bool answered = false;      ///< a widget delivered an event of its own while handling the press
};

PressRound& pressRound()
{
    static PressRound round;
    return round;
}

bool within(const QWidget* widget, const QWidget* descendant)
{
    return descendant && (descendant == widget || widget->isAncestorOf(descendant));
}
}

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

void CBaseWidget::onActive()
{
}

void CBaseWidget::setMouseEventRule(int rule)
{
    m_mouseEventRule = rule == MouseRule_Keep ? MouseRule_Keep : MouseRule_PassOn;
    setAttribute(Qt::WA_NoMousePropagation, m_mouseEventRule == MouseRule_Keep);
}

bool CBaseWidget::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        if (offerEvent(Event_ToolTip, 0, 0, QString(), nullptr))
            return true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (isEnabled())
            return pressEvent(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseButtonRelease:
        if (isEnabled())
            return releaseEvent(static_cast<QMouseEvent*>(event));
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool CBaseWidget::pressEvent(QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    PressRound& round = pressRound();
    if (left) {
        // The same press passed up from a child carries the child's timestamp; anything else starts anew.
        const bool passedUp = round.first && round.first != this && isAncestorOf(round.first)
            && round.timestamp == event->timestamp();
        if (!passedUp)
            round = PressRound{round.serial + 1, this, event->timestamp(), deliveryCount(), false};
    }
    const quint64 serial = round.serial;
    const bool result = QWidget::event(event);
    // A handler may have run a modal loop in which other presses began: only this round is marked.
    if (left && round.serial == serial && deliveryCount() != round.deliveriesAtStart)
        round.answered = true;
    return result;
}

bool CBaseWidget::releaseEvent(QMouseEvent* event)
{
    const quint64 before = deliveryCount();
    const QPointer<CBaseWidget> self(this);
    const bool result = QWidget::event(event);
    PressRound& round = pressRound();
    if (!self || event->button() != Qt::LeftButton || !within(this, round.first))
        return result;
    // The nearest toolkit widget of the press takes its release, clicked or not: no ancestor sees it.
    const bool answered = round.answered || deliveryCount() != before;
    round.first = nullptr;
    event->accept();
    if (!answered && rect().contains(event->pos()))
        mouseClickEvent(event);
    return true;
}

void CBaseWidget::mouseClickEvent(QMouseEvent*)
{
    offerEvent(Event_Click, 0, 0, QString(), nullptr);
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
