#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>

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

/// Hands the next modal dialog to inspect as soon as the event loop shows it, then rejects it, so a
/// test can look into a dialog that is gone once it closes.
inline void inspectModalDialog(std::function<void(QDialog*)> inspect, int attemptsLeft = 500)
{
    QTimer::singleShot(0, [inspect = std::move(inspect), attemptsLeft]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            inspect(dialog);
            dialog->reject();
        } else if (attemptsLeft > 0) {
            inspectModalDialog(std::move(inspect), attemptsLeft - 1);
        }
    });
}
