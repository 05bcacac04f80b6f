#pragma once

#include <statusbar/itemframe.h>

#include <terminalhost/basewidget.h>

class CImageWidget;

/**
 * @brief The network latency indicator: a four-step signal icon. Hovering lists the servers and the
 * current delay; a left click delivers event type 5, id 1144, which opens the latency chart.
 */
class CStatusNetSpeed : public CBaseWidget
{
    Q_OBJECT
public:
    explicit CStatusNetSpeed(QWidget* parent);

    /// The image key of the step that a delay in milliseconds falls in.
    static QString imageKeyForDelay(double delayMs);
    /// Shows the step of delayMs.
    void setDelay(double delayMs);
    QString imageKey() const;
    const CItemFrame& frame() const { return m_frame; }
    /// The tooltip text that hovering shows, from the current host state.
    static QString serverToolTipText();

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CItemFrame m_frame{this};
    CImageWidget* m_signalImage = nullptr;
};
