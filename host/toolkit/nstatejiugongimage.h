#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QString>

class QPainter;
class QRect;

/**
 * @brief A nine-part image with several states: the corners keep their size, the edges and the centre
 * stretch, so one small SVG frames a rectangle of any size.
 *
 * The states sit side by side (horizontal) or stacked; the four margins are in pixels of one frame
 * and shrink in proportion when the target is smaller than they are.
 */
class TERMINALHOST_EXPORT CNStateJiuGongImage
{
public:
    CNStateJiuGongImage(const QString& imageKey, bool horizontal, int stateCount, int left, int top, int right, int bottom);

    void draw(QPainter* painter, const QRect& target, int state) const;
    QString imageKey() const { return m_imageKey; }
    int stateCount() const { return m_stateCount; }

private:
    QString m_imageKey;
    bool m_horizontal = true;
    int m_stateCount = 1;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
};
