#include "widgetcenterscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void widgetCenterScreen(QWidget* reference, QWidget* widget)
{
    if (!widget)
        return;
    const QScreen* screen = reference ? reference->window()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    if (!widget->testAttribute(Qt::WA_Resized))
        widget->adjustSize();
    const QRect area = screen->availableGeometry();
    const QSize size = widget->frameGeometry().size();
    widget->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}
