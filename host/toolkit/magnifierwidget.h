#pragma once

#include <terminalhost/basewidget.h>

/**
 * @brief The terminal's zoom control: a minus button, the zoom in percent and a plus button.
 *
 * Each click steps the zoom by 10 % between 80 % and 200 % and delivers event type 57 with the new
 * percentage as arg, which the window that owns the UI scale answers.
 */
class TERMINALHOST_EXPORT CMagnifierWidget : public CBaseWidget
{
    Q_OBJECT
public:
    static constexpr int kMinPercent = 80;
    static constexpr int kMaxPercent = 200;
    static constexpr int kStepPercent = 10;

    explicit CMagnifierWidget(QWidget* parent);

    /// Shows percent; with notify, also delivers event 57 when the value changed.
    void setFontScale(int percent, bool notify);
    int fontScale() const { return m_percent; }

    /// The click areas, in widget coordinates.
    QRect minusRect() const;
    QRect plusRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void drawButton(QPainter& painter, const QRect& area, bool plus) const;

    int m_percent = 100;
    int m_hovered = 0; ///< -1 minus, 1 plus, 0 none
};
