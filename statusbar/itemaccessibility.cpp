#include "itemaccessibility.h"

#include <statusbar/itembasewidget.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>

#include <utility>

namespace {
// Kept on the widget itself, so that items of any base carry it and it dies with them.
const char kValueProperty[] = "statusBarItemValue";
const char kHasInterfaceProperty[] = "statusBarItemHasInterface";

QAccessible::UpdateHandler g_updateHandler = &QAccessible::updateAccessibility; // GUI thread only

bool isItem(const QObject* object)
{
    return object->isWidgetType() && (qobject_cast<const CItemBaseWidget*>(object) || object->property(kValueProperty).isValid());
}

/// One interface for every item: its name, what it shows, and no parts of its own, since the texts
/// and icons inside an item only repeat its name and value.
class CItemAccessible : public QAccessibleWidget
{
public:
    explicit CItemAccessible(QWidget* item)
        : QAccessibleWidget(item, QAccessible::StaticText)
    {
        item->setProperty(kHasInterfaceProperty, true);
    }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? widget()->toolTip() : widget()->accessibleName();
        case QAccessible::Value:
            return ItemAccessibility::value(widget());
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface* itemInterface(const QString&, QObject* object)
{
    return object && isItem(object) ? new CItemAccessible(static_cast<QWidget*>(object)) : nullptr;
}
}

void ItemAccessibility::install()
{
    static const bool installed = (QAccessible::installFactory(&itemInterface), true);
    Q_UNUSED(installed);
}

void ItemAccessibility::describe(QWidget* item, const QString& name, const QString& value)
{
    install();
    // The value first: naming the item may already ask for its interface.
    item->setProperty(kValueProperty, value);
    item->setAccessibleName(name);
}

void ItemAccessibility::setValue(QWidget* item, const QString& value)
{
    if (item->property(kValueProperty).toString() == value)
        return;
    item->setProperty(kValueProperty, value);
    QAccessibleValueChangeEvent event(item, value);
    g_updateHandler(&event);
}

QString ItemAccessibility::value(const QWidget* item)
{
    return item->property(kValueProperty).toString();
}

void ItemAccessibility::release(QWidget* item)
{
    if (!item->property(kHasInterfaceProperty).toBool())
        return;
    // Answered from Qt's cache, where the interface still stands.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(item)));
}

QAccessible::UpdateHandler ItemAccessibility::installUpdateHandler(QAccessible::UpdateHandler handler)
{
    return std::exchange(g_updateHandler, handler ? handler : &QAccessible::updateAccessibility);
}
