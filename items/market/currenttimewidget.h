#pragma once

#include <statusbar/itembasewidget.h>

#include <terminalhost/simpletext.h>

#include <memory>

class CMenu;
class CNStateJiuGongImage;
class QAction;

/**
 * @brief The clock: the date "yyyy/MM/dd" and the time "HH:mm:ss" of the host time service on a
 * background that follows hover and press. In lite form only the time shows. A click opens a menu
 * with the "使用网络标准时间" choice.
 */
class CCurrentTimeWidget : public CItemBaseWidget
{
    Q_OBJECT
public:
    explicit CCurrentTimeWidget(QWidget* parent);
    ~CCurrentTimeWidget() override;

    void switchToLite(bool lite) override;
    int getMaxWidth() override;
    int getMinWidth() override;
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

    QString dateText() const { return m_dateText.text(); }
    QString timeText() const { return m_timeText.text(); }
    bool isLite() const { return m_lite; }
    /// Where the time is drawn: right of the date, or from the left in the compact form.
    QRect timeArea() const;
    int mouseState() const { return m_mouseState; }
    CMenu* menu() const { return m_menu.get(); }
    QAction* networkTimeAction() const { return m_action; }

public slots:
    void slotSetTime(int seconds);
    void slotTriggered(bool bChecked);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CSimpleText m_timeText;
    CSimpleText m_dateText;
    int m_timeWidth = 0; ///< px, measured at each update, so that width queries measure nothing
    int m_dateWidth = 0;
    std::unique_ptr<CMenu> m_menu;
    QAction* m_action = nullptr;
    std::unique_ptr<CNStateJiuGongImage> m_background;
    bool m_useNetworkTime = false;
    int m_mouseState = 0; ///< 0 normal, 1 hover, 2 pressed
    bool m_lite = false;
};
