#include "floatwidget.h"

#include <terminalhost/uiresource.h>

#include <QPainter>

CFloatWidget::CFloatWidget(QWidget* parent)
    : CBaseWidget(QStringLiteral("float_widget"), false, parent)
{
    // A popup closes by itself when the user clicks anywhere else.
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
}

void CFloatWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    painter.fillRect(rect(), resource->getColor(QStringLiteral("clr_menu_background")));
    painter.setPen(resource->getColor(QStringLiteral("clr_border_default")));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
