#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

/// Rejects the next modal dialog as soon as the event loop shows it, remembering it in seen, so a
/// test can click something that runs exec() without blocking.
inline void rejectModalDialog(QPointer<QDialog>* seen, int attemptsLeft = 500)
{
    QTimer::singleShot(0, [seen, attemptsLeft] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            *seen = dialog;
            dialog->reject();
        } else if (attemptsLeft > 0) {
            rejectModalDialog(seen, attemptsLeft - 1);
        }
    });
}
