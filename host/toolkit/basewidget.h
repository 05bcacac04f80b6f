#pragma once

#include <terminalhost/eventdeliverer.h>
#include <terminalhost/terminalhost_export.h>
#include <terminalhost/uiresourcechangehandler.h>

#include <QPointer>
#include <QWidget>

class QMouseEvent;

/// What a toolkit widget does with the mouse events it does not use itself (setMouseEventRule).
enum EMouseEventRule {
    MouseRule_Keep = 0,   ///< they end at the widget: its parent and the window behind never see them
    MouseRule_PassOn = 1, ///< they go on to its parent, as a plain Qt widget's do (the default)
};

/**
 * @brief Base of every toolkit widget: a QWidget on the event bus that follows theme changes.
 *
 * The flag asks Qt to fill the background with the palette before painting; the status bar's
 * widgets paint everything themselves and pass false.
 *
 * Mouse and keyboard become bus events here (eventdeliverer.h lists the routes): a left click raises
 * type 10 through mouseClickEvent(), Return, Enter or Space on the focused widget raises type 5, and
 * a tooltip request raises type 2.
 */
class TERMINALHOST_EXPORT CBaseWidget : public QWidget, public CEventDeliverer, public CUiResourceChangeHandler
{
    Q_OBJECT
public:
    CBaseWidget(const QString& objectName, bool autoFill, QWidget* parent);

    /// Repaints; widgets whose size depends on fonts re-measure first.
    void themeChanged() override;

    /// Called by the container that shows this widget as one of its pages (a tab control) each
    /// time the page becomes the one the user sees. The base does nothing.
    virtual void onActive();

    /// Whether mouse events this widget does not use go on to its parent (EMouseEventRule).
    void setMouseEventRule(int rule);
    int mouseEventRule() const { return m_mouseEventRule; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    /**
     * Called once for a left click on the widget (pressed and released inside it, on it or on a
     * child that does not take clicks), unless the widget or an ancestor already answered the press
     * or the release with an event of its own. The base delivers type 10, id 0, to the widget itself
     * first, then to its ancestors; widgets with an id of their own deliver that instead.
     */
    virtual void mouseClickEvent(QMouseEvent* event);

public:
    /// False for widgets that only decorate a row (separators) or bring their own focus (tables): a
    /// widget list never makes them Tab stops.
    virtual bool isTabStopInList() const { return true; }

private:
    bool pressEvent(QMouseEvent* event);
    bool releaseEvent(QMouseEvent* event);

    int m_mouseEventRule = MouseRule_PassOn;
};
