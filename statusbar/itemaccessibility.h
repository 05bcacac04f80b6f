#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

/**
 * @brief What a screen reader learns of the bar's items: each item's name and what it shows now,
 * answered through QAccessible by one interface for every item, and a value change event whenever
 * what it shows changes.
 *
 * Every CItemBaseWidget gets the interface; a widget of the row built on another base gets it by
 * describe(). An item without a name of its own is named by its tooltip. An item reports what it
 * shows through setValue() wherever that changes; the call compares first, so an item may call it
 * on every redraw and a screen reader hears only real changes.
 */
namespace ItemAccessibility {
/// Registers the item interface with QAccessible; later calls do nothing.
void install();
/// Names item and gives it its first value.
void describe(QWidget* item, const QString& name, const QString& value = QString());
/// Stores what item shows now, raising QAccessibleValueChangeEvent when it changed.
void setValue(QWidget* item, const QString& value);
/// What item shows now, as a screen reader reads it; empty for items that show no value.
QString value(const QWidget* item);
/// Drops item's interface, if it has one, while item is being destroyed. Qt drops it on the item's
/// destroyed() signal, which an item that disconnects all its signals first no longer sends.
void release(QWidget* item);
/// Sends the value change events to handler instead of QAccessible::updateAccessibility(), which
/// passes them on only while the platform has a screen reader listening; returns the one before.
QAccessible::UpdateHandler installUpdateHandler(QAccessible::UpdateHandler handler);
}
