#pragma once

#include <statusbar/statusbar_export.h>

#include <terminalhost/widgetlist.h>

#include <memory>

class CStatusBarPrivate;

/**
 * @brief The terminal's status bar: the 24-pixel row of items along the bottom of the main window.
 *
 * The constructor reads the host configuration once and builds the items that apply, left to right;
 * whenever the width changes, the fitting pass switches items to their compact form from the
 * right-hand end until the row fits. The main window drives it through the public commands below
 * and the bus events of handleEvent().
 */
class STATUSBAR_EXPORT CStatusBar : public CWidgetList
{
    Q_OBJECT
public:
    explicit CStatusBar(QWidget* parent);
    ~CStatusBar() override;

    /// Starts the index and announcement subscriptions of the tickers that exist.
    void request();
    /// Ends the mini quote client once the user has woken it; the resident client stays.
    void killProcesses();
    /// Starts a feedback report with a screen capture, if the feedback item exists.
    void showClientFeedBack();
    /// Shows the step of delayMs on the latency indicator and writes the debug line.
    void setNetSpeed(double delayMs);
    /// Number of connected quote sources, for the quote source item.
    void setNetStatus(int count);
    /// Shows count on the running orders item until its next refresh.
    void setRunningOrders(int count);
    /// Shows count on the running tasks item until its next refresh.
    void setRunningTasks(int count);
    /// Puts the minimal trading launcher's starting tip back on the launcher after the window moved.
    void updateMoveWidget();
    /// The fitting pass for a bar width in pixels.
    void adjustWidgetWidth(int width);
    /// Shows text as a tooltip for widget, just above the status bar.
    static void showToolTip(QWidget* widget, QString text);

    /// Opens the latency chart (type 5, id 1144), sets the UI scale (type 57) and shows or hides the
    /// trade account popup (type 1282); everything else goes to the widget list.
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;
    void themeChanged() override;

protected:
    void resizeLayout(QSize size);
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

protected slots:
    void slotUpdateNetSpeed();
    void slotLoadNetSpeedData();
    void slotResizeRunningSize();

private:
    friend class CStatusBarPrivate;
    std::unique_ptr<CStatusBarPrivate> d;
};
