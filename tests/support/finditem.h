#pragma once

#include <QWidget>

/// The first descendant of root of type T. Unlike findChild it also finds classes that carry no
/// meta-object of their own (findChild would answer their nearest Q_OBJECT base instead).
template <class T>
T* findItem(const QObject* root)
{
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (auto* item = dynamic_cast<T*>(widget))
            return item;
    }
    return nullptr;
}
