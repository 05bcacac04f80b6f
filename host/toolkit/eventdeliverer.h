#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QString>

#include <functional>

class QWidget;

/// The toolkit's event types; other modules number their own events from 1000 up.
enum EEventType {
    Event_ToolTip = 2,          ///< a tooltip is wanted for the widget
    Event_Activate = 5,         ///< activation by the keyboard, or a button click with the button's id
    Event_Click = 10,           ///< a click on an item (id 0) or on one of its text widgets (its id)
    Event_UiScale = 57,         ///< arg is the new UI scale in percent
    Event_TableCellClick = 233, ///< a click on a clickable table cell; text is the cell key
};

/**
 * @brief The terminal's event bus: a widget hands an event (type, id, arg, text, data) to its
 * ancestors, nearest first, and the first handleEvent() that returns true consumes it.
 *
 * CBaseWidget and CBaseDialog are event deliverers. How toolkit widgets raise the events other
 * modules listen for:
 * - type 2 (tooltip wanted): CBaseWidget turns Qt's ToolTip event into type 2 and offers it to the
 *   widget itself first, then to its ancestors; when nobody consumes it the widget's ordinary Qt
 *   tooltip (setToolTip) shows.
 * - type 10 (click): a left press and release on a CBaseWidget is one click, delivered once, by the
 *   nearest toolkit widget under the pointer. A CSimpleTextWidget delivers type 10 with its id and
 *   text to its ancestors; any other toolkit widget (an item, its icon, the margins and gaps between
 *   its children) offers type 10, id 0, to itself first, then to its ancestors, so a click anywhere
 *   on an item reaches the item's handleEvent(). A widget that answers the press or the release with
 *   an event of its own (an item that acts on press, a button's type 5, the zoom control's type 57)
 *   has had its click: no type 10 follows.
 * - type 5 (activation): Return, Enter or Space on a focused CBaseWidget is offered as type 5, id 0,
 *   to the widget itself first, then to its ancestors. Buttons deliver type 5 with their own id.
 *   The keyboard reaches the items of a row by Tab: a CWidgetList's widgets placed with takeFocus
 *   false are Tab stops that a click does not focus (true lets a click focus them too); the row's
 *   separators are never focused.
 *
 * Mouse events a widget does not use go on to its parent unless the widget keeps them
 * (CBaseWidget::setMouseEventRule(MouseRule_Keep)).
 *
 * An event that no widget consumes reaches the main window's handler (setMainWindowHandler), which
 * is where the terminal opens its views; tests install a recorder there.
 */
class TERMINALHOST_EXPORT CEventDeliverer
{
public:
    using Handler = std::function<bool(int type, int id, int arg, const QString& text, void* data)>;

    explicit CEventDeliverer(QWidget* self);
    virtual ~CEventDeliverer();

    /// Returns true when the event is consumed; the base consumes nothing.
    virtual bool handleEvent(int type, int id, int arg, QString text, void* data);

    /// Offers the event to the ancestors, nearest first, then to the main window's handler.
    bool deliverEvent(int type, int id, int arg, QString text, void* data);

    /// Offers the event to this widget first, then as deliverEvent does.
    bool offerEvent(int type, int id, int arg, QString text, void* data);

    /// Receives every event that no widget consumed. An empty handler drops them.
    static void setMainWindowHandler(Handler handler);

protected:
    /// How many events widgets have delivered or offered so far: a change tells a widget that
    /// something answered the input it is handling.
    static quint64 deliveryCount();

private:
    QWidget* m_self = nullptr;
};
