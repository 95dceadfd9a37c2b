#pragma once

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <functional>

namespace DialogTesting {

// Runs `exec` (which enters the dialog's modal loop) and calls `whileOpen` from inside that
// loop. A dialog still open after ten seconds is closed with -1, so a fault ends the test
// instead of hanging it.
inline int runWhileOpen(QDialog& dialog, const std::function<int()>& exec,
                        const std::function<void()>& whileOpen)
{
    QTimer::singleShot(0, &dialog, whileOpen);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] { dialog.done(-1); });
    guard.start(10000);
    return exec();
}

inline QTextBrowser* log(QDialog& dialog)
{
    return dialog.findChild<QTextBrowser*>(QStringLiteral("textBrowser"));
}

inline QProgressBar* bar(QDialog& dialog)
{
    return dialog.findChild<QProgressBar*>(QStringLiteral("progressBar"));
}

inline QDialogButtonBox* buttons(QDialog& dialog)
{
    return dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
}

// The log a text browser shows after the given texts were appended to it: what the dialog's
// log must look like.
inline QString logOf(const QStringList& appended)
{
    QTextBrowser reference;
    for (const QString& text : appended)
        reference.append(text);
    return reference.toHtml();
}

// The dialog's F1 action, or null.
inline QAction* helpAction(QWidget& dialog)
{
    for (QAction* action : dialog.actions()) {
        if (action->shortcut() == QKeySequence(QKeySequence::HelpContents))
            return action;
    }
    return nullptr;
}

} // namespace DialogTesting
