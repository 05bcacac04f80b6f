#include "magnifierwidget.h"

#include <terminalhost/uiresource.h>

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// Sizes and gaps are px at 100 %, taken at the UI scale like the percentage's font.
constexpr int kWidth = 147;
constexpr int kHeight = 24;
constexpr int kButtonSize = 16;
constexpr int kButtonMargin = 8;
constexpr int kTrackGap = 6;       // px between the minus button and the track
constexpr int kLabelGap = 8;       // px between the track and the percentage, and the percentage and the plus button
constexpr int kKnobRadius = 3;
constexpr int kGlyphHalf = 4;      // px from the centre of a button to the ends of its sign
constexpr double kGlyphPen = 1.5;
constexpr double kTrackPen = 2.0;
constexpr int kDragStartPx = 3;    // a press that moves less is still a click
// px of pointer travel per 10 % step. The track is some 56 px long: were the knob to stay under
// the pointer, a step would take under 5 px, and a small drag would rebuild the window at nearly
// twice its size.
constexpr int kDragStepPx = 10;

int px(int designPx)
{
    return CUiResource::instance()->scaledPx(designPx);
}
}

CMagnifierWidget::CMagnifierWidget(QWidget* parent)
    : CBaseWidget(QStringLiteral("magnifier_widget"), false, parent)
{
    setMouseTracking(true);
    setToolTip(QStringLiteral("界面缩放"));
    resize(px(kWidth), px(kHeight));
}

void CMagnifierWidget::setFontScale(int percent, bool notify)
{
    percent = std::clamp(percent, kMinPercent, kMaxPercent);
    if (percent == m_percent)
        return;
    m_percent = percent;
    update();
    if (notify)
        deliverEvent(Event_UiScale, 0, m_percent, QString(), nullptr);
}

QRect CMagnifierWidget::minusRect() const
{
    const int size = px(kButtonSize);
    return {px(kButtonMargin), (height() - size) / 2, size, size};
}

QRect CMagnifierWidget::plusRect() const
{
    const int size = px(kButtonSize);
    return {width() - px(kButtonMargin) - size, (height() - size) / 2, size, size};
}

int CMagnifierWidget::labelWidth() const
{
    const QFont font = CUiResource::instance()->getFont(QStringLiteral("fnt_default_normal_fix"));
    return QFontMetrics(font).horizontalAdvance(QStringLiteral("200%"));
}

QRect CMagnifierWidget::trackRect() const
{
    const int left = minusRect().right() + px(kTrackGap);
    const int right = plusRect().left() - px(kLabelGap) - labelWidth();
    return {QPoint(left, 0), QPoint(right, height() - 1)};
}

QPoint CMagnifierWidget::knobCentre(int percent) const
{
    const QRect track = trackRect();
    return {track.left() + (track.right() - track.left()) * (percent - kMinPercent) / (kMaxPercent - kMinPercent), height() / 2};
}

int CMagnifierWidget::percentAfterDrag(int dx) const
{
    const int steps = static_cast<int>(std::lround(dx / double(px(kDragStepPx))));
    return std::clamp(m_percent + steps * kStepPercent, kMinPercent, kMaxPercent);
}

void CMagnifierWidget::drawButton(QPainter& painter, const QRect& area, bool plus) const
{
    const CUiResource* resource = CUiResource::instance();
    const bool hovered = m_hovered == (plus ? 1 : -1);
    painter.setPen(resource->getColor(hovered ? QStringLiteral("clr_statusbar_item_enter_border")
                                              : QStringLiteral("clr_statusbar_item_default_border")));
    painter.setBrush(resource->getColor(hovered ? QStringLiteral("clr_statusbar_item_enter_bg")
                                                : QStringLiteral("clr_statusbar_item_default_bg")));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(resource->getColor(QStringLiteral("clr_status_bar_text")), kGlyphPen * resource->getUIScale()));
    const QPointF centre = QRectF(area).center();
    const int half = px(kGlyphHalf);
    painter.drawLine(QPointF(centre.x() - half, centre.y()), QPointF(centre.x() + half, centre.y()));
    if (plus)
        painter.drawLine(QPointF(centre.x(), centre.y() - half), QPointF(centre.x(), centre.y() + half));
}

void CMagnifierWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawButton(painter, minusRect(), false);
    drawButton(painter, plusRect(), true);

    // Between the buttons: a track with a knob at the zoom (the dragged one while dragging), then the percentage.
    const CUiResource* resource = CUiResource::instance();
    const int percent = shownPercent();
    const QRect track = trackRect();
    const int y = height() / 2;
    painter.setPen(QPen(resource->getColor(QStringLiteral("clr_border_default")), kTrackPen * resource->getUIScale()));
    painter.drawLine(track.left(), y, track.right(), y);
    painter.setPen(Qt::NoPen);
    painter.setBrush(resource->getColor(QStringLiteral("clr_status_bar_text")));
    painter.drawEllipse(knobCentre(percent), px(kKnobRadius), px(kKnobRadius));
    painter.setFont(resource->getFont(QStringLiteral("fnt_default_normal_fix")));
    painter.setPen(resource->getColor(QStringLiteral("clr_status_bar_text")));
    painter.drawText(QRect(track.right() + px(kLabelGap) / 2, 0, labelWidth(), height()), Qt::AlignCenter,
                     QStringLiteral("%1%").arg(percent));
}

void CMagnifierWidget::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
    m_dragged = false;
    m_pressedOnTrack = event->button() == Qt::LeftButton
        && trackRect().adjusted(-px(kKnobRadius), 0, px(kKnobRadius), 0).contains(event->pos());
    m_pressX = event->pos().x();
}

void CMagnifierWidget::mouseReleaseEvent(QMouseEvent* event)
{
    CBaseWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_pressedOnTrack = false;
    if (m_dragging) {
        m_dragging = false;
        m_dragged = true;
        update();
        setFontScale(m_dragPercent, true);
        return;
    }
    if (minusRect().contains(event->pos()))
        setFontScale(m_percent - kStepPercent, true);
    else if (plusRect().contains(event->pos()))
        setFontScale(m_percent + kStepPercent, true);
}

void CMagnifierWidget::mouseMoveEvent(QMouseEvent* event)
{
    CBaseWidget::mouseMoveEvent(event);
    if (m_pressedOnTrack && (event->buttons() & Qt::LeftButton)) {
        if (!m_dragging && std::abs(event->pos().x() - m_pressX) >= px(kDragStartPx)) {
            m_dragging = true;
            m_dragPercent = m_percent;
        }
        if (m_dragging) {
            const int percent = percentAfterDrag(event->pos().x() - m_pressX);
            if (percent != m_dragPercent) {
                m_dragPercent = percent;
                update();
            }
            return;
        }
    }
    const int hovered = minusRect().contains(event->pos()) ? -1 : plusRect().contains(event->pos()) ? 1 : 0;
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
}

void CMagnifierWidget::leaveEvent(QEvent* event)
{
    CBaseWidget::leaveEvent(event);
    m_hovered = 0;
    update();
}

void CMagnifierWidget::mouseClickEvent(QMouseEvent* event)
{
    if (!m_dragged)
        CBaseWidget::mouseClickEvent(event);
}
