#pragma once

#include <terminalhost/basewidget.h>

/**
 * @brief The terminal's zoom control: a minus button, the zoom in percent and a plus button.
 *
 * Each click steps the zoom by 10 % between 80 % and 200 % and delivers event type 57 with the new
 * percentage as arg, which the window that owns the UI scale answers. The knob on the track between
 * the buttons can be dragged in the same steps, one for every 10 pixels the pointer travels, and the
 * release delivers the same event once, so that nobody rebuilds anything under a drag still in progress.
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
    /// The track the knob runs along, from the 80 % end to the 200 % end.
    QRect trackRect() const;
    /// The knob's centre for percent.
    QPoint knobCentre(int percent) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    /// A drag is not a click: only a plain click on the track goes on as the toolkit's click.
    void mouseClickEvent(QMouseEvent* event) override;

private:
    void drawButton(QPainter& painter, const QRect& area, bool plus) const;
    int labelWidth() const;
    /// The zoom a drag of dx px from the press leads to: one step per 10 px (at the UI scale).
    int percentAfterDrag(int dx) const;
    int shownPercent() const { return m_dragging ? m_dragPercent : m_percent; }

    int m_percent = 100;
    int m_hovered = 0; ///< -1 minus, 1 plus, 0 none
    bool m_pressedOnTrack = false;
    bool m_dragging = false;    ///< the knob has left its step under a press on the track
    bool m_dragged = false;     ///< the last press dragged, so its release is no click
    int m_dragPercent = 100;    ///< where the knob stands while dragged
    int m_pressX = 0;
};
