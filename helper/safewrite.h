#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Replaces `path` with `data` so that no reader ever sees a half-written file: a temporary file
// in the same directory is written, flushed to disk and renamed over the old one. The old
// file's mode and owner are kept (0644 and the caller's ids for a new file), and its previous
// version stays beside it as backupPath(path). An existing `path` that is not a regular file
// (a symlink, a directory, ...) is refused. Returns an empty string or why it failed.
QString replaceFile(const QString& path, const QByteArray& data);

// Replaces several files as above, together or not at all: all temporary files are written and
// flushed and all backups linked before the first is renamed, so a failure before then changes
// none of them; a rename that fails after others puts the old files back.
QString replaceFiles(const QList<QPair<QString, QByteArray>>& files);

// APT silently ignores "*.save" files in its configuration and list directories.
QString backupPath(const QString& path);
