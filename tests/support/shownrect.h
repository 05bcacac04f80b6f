#pragma once

#include <QRegion>
#include <QWidget>

/// The part of a widget that shows, in its parent's coordinates: its geometry inside the parent,
/// cut to its mask when it has one (a widget list masks away what a too long row has no room for).
inline QRect shownRect(const QWidget* widget)
{
    QRect shown = widget->geometry();
    if (const QWidget* parent = widget->parentWidget())
        shown = shown.intersected(parent->rect());
    if (widget->mask().isEmpty())
        return shown;
    return shown.intersected(widget->mask().boundingRect().translated(widget->pos()));
}
