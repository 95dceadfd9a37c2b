#pragma once

#include <QString>
#include <QStringList>

// The notifier restarts itself when its program file was replaced. The running copy
// only asks for it and leaves its event loop; main() then replaces the process by the
// new copy once the old one has given up its single-instance lock, so the new copy never
// forwards its command line to the dying one.

// True when the program file runs: it answers --version as a notifier does. While dpkg
// unpacks it, or when it is not executable, it does not, and the running copy stays.
bool programRuns(const QString& program);
// With openSettings the new copy starts as a plain start does, opening its settings:
// what the user had asked the old one for.
void requestRestart(bool openSettings);
bool isRestartRequested();
// Replaces this process by `program`; returns only when that failed.
void execRestart(const QString& program, QStringList arguments);
