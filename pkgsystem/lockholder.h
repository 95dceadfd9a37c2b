#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The process that holds a lock on one of the files APT and dpkg lock with fcntl(), from the
// kernel's list of locks: it answers any user, while the lock files themselves are readable
// by root only.
struct LockHolder
{
    // 0 when the lock names no process visible from here (another pid namespace, or a lock
    // of an open file description).
    qint64 pid = 0;
    // Its command line, shortened: enough to recognise the program.
    QString command;

    // For each file, in order, its holder; nothing where the file is missing or free. The
    // kernel's lists are read once for all of them.
    static QVector<std::optional<LockHolder>> of(const QStringList& lockFiles);
};
