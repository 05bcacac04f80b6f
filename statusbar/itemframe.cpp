#include "itemframe.h"

#include <terminalhost/uiresource.h>

#include <QPainter>
#include <QWidget>

namespace {
const char kRestBackground[] = "clr_statusbar_item_default_bg";
const char kRestBorder[] = "clr_statusbar_item_default_border";
const char kHoverBackground[] = "clr_statusbar_item_enter_bg";
const char kHoverBorder[] = "clr_statusbar_item_enter_border";
}

CItemFrame::CItemFrame(QWidget* owner)
    : m_owner(owner)
{
}

void CItemFrame::setLook(Look look)
{
    if (look == m_look)
        return;
    m_look = look;
    m_owner->update();
}

QString CItemFrame::backgroundKey() const
{
    return QLatin1String(m_look == Hover ? kHoverBackground : kRestBackground);
}

QString CItemFrame::borderKey() const
{
    return QLatin1String(m_look == Rest ? kRestBorder : kHoverBorder);
}

void CItemFrame::paint(QPainter& painter) const
{
    const CUiResource* resource = CUiResource::instance();
    const int width = m_owner->width();
    const int height = m_owner->height();
    painter.save();
    painter.fillRect(QRect(1, 0, width - 2, height), resource->getColor(backgroundKey()));
    painter.setPen(resource->getColor(borderKey()));
    painter.drawRect(QRect(0, -1, width - 1, height + 1));
    painter.restore();
}
