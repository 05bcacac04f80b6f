#include "magnifierwidget.h"

#include <terminalhost/uiresource.h>

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int kButtonSize = 16;
constexpr int kButtonMargin = 8;
constexpr int kTrackGap = 6;       // px between the minus button and the track
constexpr int kLabelGap = 8;       // px between the track and the percentage, and the percentage and the plus button
constexpr int kKnobRadius = 3;
constexpr int kDragStartPx = 3;    // a press that moves less is still a click
}

CMagnifierWidget::CMagnifierWidget(QWidget* parent)
    : CBaseWidget(QStringLiteral("magnifier_widget"), false, parent)
{
    setMouseTracking(true);
    setToolTip(QStringLiteral("界面缩放"));
    resize(147, 24);
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
    return {kButtonMargin, (height() - kButtonSize) / 2, kButtonSize, kButtonSize};
}

QRect CMagnifierWidget::plusRect() const
{
    return {width() - kButtonMargin - kButtonSize, (height() - kButtonSize) / 2, kButtonSize, kButtonSize};
}

int CMagnifierWidget::labelWidth() const
{
    const QFont font = CUiResource::instance()->getFont(QStringLiteral("fnt_default_normal_fix"));
    return QFontMetrics(font).horizontalAdvance(QStringLiteral("200%"));
}

QRect CMagnifierWidget::trackRect() const
{
    const int left = minusRect().right() + kTrackGap;
    const int right = plusRect().left() - kLabelGap - labelWidth();
    return {QPoint(left, 0), QPoint(right, height() - 1)};
}

QPoint CMagnifierWidget::knobCentre(int percent) const
{
    const QRect track = trackRect();
    return {track.left() + (track.right() - track.left()) * (percent - kMinPercent) / (kMaxPercent - kMinPercent), height() / 2};
}

int CMagnifierWidget::percentAt(int x) const
{
    const QRect track = trackRect();
    const double share = double(x - track.left()) / std::max(1, track.right() - track.left());
    const int steps = static_cast<int>(std::lround(share * (kMaxPercent - kMinPercent) / kStepPercent));
    return std::clamp(kMinPercent + steps * kStepPercent, kMinPercent, kMaxPercent);
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
    painter.setPen(QPen(resource->getColor(QStringLiteral("clr_status_bar_text")), 1.5));
    const QPointF centre = QRectF(area).center();
    painter.drawLine(QPointF(centre.x() - 4, centre.y()), QPointF(centre.x() + 4, centre.y()));
    if (plus)
        painter.drawLine(QPointF(centre.x(), centre.y() - 4), QPointF(centre.x(), centre.y() + 4));
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
    painter.setPen(QPen(resource->getColor(QStringLiteral("clr_border_default")), 2));
    painter.drawLine(track.left(), y, track.right(), y);
    painter.setPen(Qt::NoPen);
    painter.setBrush(resource->getColor(QStringLiteral("clr_status_bar_text")));
    painter.drawEllipse(knobCentre(percent), kKnobRadius, kKnobRadius);
    painter.setFont(resource->getFont(QStringLiteral("fnt_default_normal_fix")));
    painter.setPen(resource->getColor(QStringLiteral("clr_status_bar_text")));
    painter.drawText(QRect(track.right() + kLabelGap / 2, 0, labelWidth(), height()), Qt::AlignCenter,
                     QStringLiteral("%1%").arg(percent));
}

void CMagnifierWidget::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
    m_dragged = false;
    m_pressedOnTrack = event->button() == Qt::LeftButton
        && trackRect().adjusted(-kKnobRadius, 0, kKnobRadius, 0).contains(event->pos());
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
        if (!m_dragging && std::abs(event->pos().x() - m_pressX) >= kDragStartPx) {
            m_dragging = true;
            m_dragPercent = m_percent;
        }
        if (m_dragging) {
            const int percent = percentAt(event->pos().x());
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
