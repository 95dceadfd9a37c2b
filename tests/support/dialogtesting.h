#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace DialogTesting {

// Calls `open`, which enters a modal dialog's loop, and `whileOpen` on that dialog from inside
// the loop; returns what `open` returns. A dialog still open after 30 s is closed with -1, so
// a fault fails the test instead of hanging it.
inline int runWhileOpen(const std::function<int()>& open, const std::function<void(QDialog*)>& whileOpen)
{
    QObject guard; // ends both timers with this call
    QTimer::singleShot(0, &guard, [whileOpen] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            whileOpen(dialog);
    });
    QTimer::singleShot(30000, &guard, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->done(-1);
    });
    return open();
}

} // namespace DialogTesting
