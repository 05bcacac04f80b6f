#pragma once

#include <QString>

class QPainter;
class QWidget;

/**
 * @brief The frame that status bar items draw behind their content: a fill with a one-pixel line
 * at the left and right edges, in the item colours of the theme, lit while the pointer is over the
 * item. The keyboard focus is marked over every kind of item alike, by CItemFocusFrame.
 *
 * An item owns one (`CItemFrame m_frame{this};`), reports the pointer from its own handlers and
 * paints the frame before anything else:
 *
 *     void enterEvent(QEvent* e) override { CItemBaseWidget::enterEvent(e); m_frame.setLook(CItemFrame::Hover); }
 *     void leaveEvent(QEvent* e) override { CItemBaseWidget::leaveEvent(e); m_frame.setLook(CItemFrame::Rest); }
 *     // a left press: m_frame.setLook(CItemFrame::Pressed);
 *     void paintEvent(QPaintEvent*) override { QPainter painter(this); m_frame.paint(painter); ... }
 *
 * setLook() compares, stores and repaints the item only on a change.
 */
class CItemFrame
{
public:
    enum Look {
        Rest,    ///< the pointer is elsewhere: the default background and border
        Hover,   ///< the pointer is over the item: the enter background and border
        Pressed, ///< pressed: the default background with the enter border, until the pointer leaves
    };

    explicit CItemFrame(QWidget* owner);

    void setLook(Look look);
    Look look() const { return m_look; }
    /// Colour key of the fill for the current look.
    QString backgroundKey() const;
    /// Colour key of the side lines for the current look.
    QString borderKey() const;

    /// Fills (1, 0, width - 2, height) and outlines (0, -1, width - 1, height + 1), so that only the
    /// side lines of the outline show.
    void paint(QPainter& painter) const;

private:
    QWidget* m_owner = nullptr;
    Look m_look = Rest;
};
