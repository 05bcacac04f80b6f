#pragma once

#include <statusbar/itemframe.h>

#include <terminalhost/basewidget.h>

#include <QString>

#include <memory>

class CFloatServiceSwitchWidget;
class CImageWidget;

/**
 * @brief The order service switch: an icon that shows whether the order service runs, shows the
 * service's status text on hover and opens a small menu of the available order services. A choice
 * asks the main window to open that service (event 1080); the item starts and stops nothing.
 */
class COrderStrategyWidget : public CBaseWidget
{
    Q_OBJECT
public:
    explicit COrderStrategyWidget(QWidget* parent = nullptr);
    ~COrderStrategyWidget() override;

    bool isRunning() const { return m_running; }
    const CItemFrame& frame() const { return m_frame; }
    /// The menu, once a press has opened it; null before.
    CFloatServiceSwitchWidget* menu() const { return m_menu.get(); }

    /// The event arg that asks the main window to open a service; 0 for an unknown service id.
    static int eventArgForService(int serviceId);

public slots:
    void slotSetStatus(bool bRunning);
    void slotServiceSelected(int id);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenu();
    void showMenu();

    CImageWidget* m_icon = nullptr;
    std::unique_ptr<CFloatServiceSwitchWidget> m_menu; ///< a top-level window, so the item deletes it
    bool m_running = false;
    CItemFrame m_frame{this};
};
