#include "nstatejiugongimage.h"

#include <terminalhost/uiresource.h>

#include <QImage>
#include <QPainter>

#include <algorithm>

CNStateJiuGongImage::CNStateJiuGongImage(const QString& imageKey, bool horizontal, int stateCount, int left, int top,
                                         int right, int bottom)
    : m_imageKey(imageKey)
    , m_horizontal(horizontal)
    , m_stateCount(std::max(1, stateCount))
    , m_left(left)
    , m_top(top)
    , m_right(right)
    , m_bottom(bottom)
{
}

void CNStateJiuGongImage::draw(QPainter* painter, const QRect& target, int state) const
{
    const CUiResource* resource = CUiResource::instance();
    const QSize whole = resource->getImageSize(m_imageKey);
    if (whole.isEmpty() || target.width() <= 0 || target.height() <= 0)
        return;
    const QSize frame = m_horizontal ? QSize(whole.width() / m_stateCount, whole.height())
                                     : QSize(whole.width(), whole.height() / m_stateCount);
    QImage strip(whole, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    {
        QPainter stripPainter(&strip);
        stripPainter.setRenderHint(QPainter::Antialiasing);
        resource->drawImage(&stripPainter, m_imageKey, QRectF(QPointF(0, 0), QSizeF(whole)));
    }
    const int clamped = std::clamp(state, 0, m_stateCount - 1);
    const QPoint origin = m_horizontal ? QPoint(clamped * frame.width(), 0) : QPoint(0, clamped * frame.height());

    // Margins never overlap, in the source frame or in the target.
    auto fit = [](int a, int b, int room) {
        if (a + b <= room)
            return std::pair<int, int>(a, b);
        const int first = room * a / std::max(1, a + b);
        return std::pair<int, int>(first, room - first);
    };
    const auto [srcLeft, srcRight] = fit(m_left, m_right, frame.width());
    const auto [srcTop, srcBottom] = fit(m_top, m_bottom, frame.height());
    const auto [dstLeft, dstRight] = fit(srcLeft, srcRight, target.width());
    const auto [dstTop, dstBottom] = fit(srcTop, srcBottom, target.height());

    const int srcX[] = {0, srcLeft, frame.width() - srcRight, frame.width()};
    const int srcY[] = {0, srcTop, frame.height() - srcBottom, frame.height()};
    const int dstX[] = {0, dstLeft, target.width() - dstRight, target.width()};
    const int dstY[] = {0, dstTop, target.height() - dstBottom, target.height()};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect source(origin.x() + srcX[column], origin.y() + srcY[row], srcX[column + 1] - srcX[column],
                               srcY[row + 1] - srcY[row]);
            const QRect destination(target.x() + dstX[column], target.y() + dstY[row], dstX[column + 1] - dstX[column],
                                    dstY[row + 1] - dstY[row]);
            if (!source.isEmpty() && !destination.isEmpty())
                painter->drawImage(destination, strip, source);
        }
    }
}
