#include "magnifierwidget.h"

#include <terminalhost/uiresource.h>

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kButtonSize = 16;
constexpr int kButtonMargin = 8;
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

    // Between the buttons: a track with a knob at the current zoom, then the percentage.
    const CUiResource* resource = CUiResource::instance();
    const QString label = QStringLiteral("%1%").arg(m_percent);
    const QFont font = resource->getFont(QStringLiteral("fnt_default_normal_fix"));
    const int labelWidth = QFontMetrics(font).horizontalAdvance(QStringLiteral("200%"));
    const int trackLeft = minusRect().right() + 6;
    const int trackRight = plusRect().left() - 8 - labelWidth;
    const int y = height() / 2;
    painter.setPen(QPen(resource->getColor(QStringLiteral("clr_border_default")), 2));
    painter.drawLine(trackLeft, y, trackRight, y);
    const int knobX = trackLeft + (trackRight - trackLeft) * (m_percent - kMinPercent) / (kMaxPercent - kMinPercent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(resource->getColor(QStringLiteral("clr_status_bar_text")));
    painter.drawEllipse(QPoint(knobX, y), 3, 3);
    painter.setFont(font);
    painter.setPen(resource->getColor(QStringLiteral("clr_status_bar_text")));
    painter.drawText(QRect(trackRight + 4, 0, labelWidth, height()), Qt::AlignCenter, label);
}

void CMagnifierWidget::mouseReleaseEvent(QMouseEvent* event)
{
    CBaseWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    if (minusRect().contains(event->pos()))
        setFontScale(m_percent - kStepPercent, true);
    else if (plusRect().contains(event->pos()))
        setFontScale(m_percent + kStepPercent, true);
}

void CMagnifierWidget::mouseMoveEvent(QMouseEvent* event)
{
    CBaseWidget::mouseMoveEvent(event);
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
