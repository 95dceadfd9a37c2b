#include "safewrite.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// `what` is a QT_TRANSLATE_NOOP text with %1 for the path; errno says why.
QString systemError(const char* what, const QString& path)
{
    const QString reason = QString::fromLocal8Bit(strerror(errno));
    return QCoreApplication::translate("SafeWrite", what).arg(path) + QLatin1String(": ") + reason;
}

bool writeAll(int fd, const QByteArray& data)
{
    const char* from = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, from, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        from += written;
        left -= written;
    }
    return true;
}

void syncDirectory(const QString& directory)
{
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A fresh, hidden name next to `path`; APT and the notifier skip names starting with a dot.
QByteArray temporaryTemplate(const QString& path)
{
    const QFileInfo info(path);
    return QFile::encodeName(info.path() + QLatin1String("/.") + info.fileName() + QLatin1String(".XXXXXX"));
}

// Links the current file under a hidden name in `link`, to become its backup: a hard link needs
// no copy, carries mode and owner, and puts the old file back by one rename.
QString linkBackup(const QString& path, QByteArray* link)
{
    QByteArray name = temporaryTemplate(path);
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return systemError(QT_TRANSLATE_NOOP("SafeWrite", "Cannot create a temporary file for %1"), path);
    ::close(fd);
    ::unlink(name.constData());
    if (::link(QFile::encodeName(path).constData(), name.constData()) != 0)
        return systemError(QT_TRANSLATE_NOOP("SafeWrite", "Cannot keep a backup of %1"), path);
    *link = name;
    return QString();
}

} // namespace

QString backupPath(const QString& path)
{
    return path + QLatin1String(".save");
}

namespace {

struct Prepared
{
    QString path;
    QByteArray temporary; // written and flushed, not yet renamed
    bool exists = false;
    QByteArray original;       // the old file's link: hidden until the end, then the backup
    QByteArray previousBackup; // the backup before this save, hidden while `original` has its name
    bool replaced = false;
    bool backedUp = false; // `original` is the backup
};

// Writes `data` to a flushed temporary file beside `path`, with the mode and owner `path` has.
QString prepare(const QString& path, const QByteArray& data, Prepared* prepared)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat old;
    bool exists = false;
    if (::lstat(target.constData(), &old) == 0) {
        if (!S_ISREG(old.st_mode))
            return QCoreApplication::translate("SafeWrite", "Refused to replace %1: it is not a regular file")
                .arg(path);
        exists = true;
        // A folder cannot be renamed over; found only after other files were replaced, it
        // would cost their backups to put them back.
        struct stat backup;
        if (::lstat(QFile::encodeName(backupPath(path)).constData(), &backup) == 0 && S_ISDIR(backup.st_mode))
            return QCoreApplication::translate("SafeWrite", "Cannot keep a backup of %1: %2 is a folder")
                .arg(path, backupPath(path));
    } else if (errno != ENOENT) {
        return systemError(QT_TRANSLATE_NOOP("SafeWrite", "Cannot examine %1"), path);
    }

    QByteArray temporary = temporaryTemplate(path);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return systemError(QT_TRANSLATE_NOOP("SafeWrite", "Cannot create a temporary file for %1"), path);
    const auto fail = [&](const char* what) {
        const QString error = systemError(what, path);
        ::close(fd);
        ::unlink(temporary.constData());
        return error;
    };
    const mode_t mode = exists ? (old.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0)
        return fail(QT_TRANSLATE_NOOP("SafeWrite", "Cannot set the mode of %1"));
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return fail(QT_TRANSLATE_NOOP("SafeWrite", "Cannot set the owner of %1"));
    if (!writeAll(fd, data))
        return fail(QT_TRANSLATE_NOOP("SafeWrite", "Cannot write %1"));
    if (::fsync(fd) != 0)
        return fail(QT_TRANSLATE_NOOP("SafeWrite", "Cannot flush %1"));
    if (::close(fd) != 0) {
        const QString error = systemError(QT_TRANSLATE_NOOP("SafeWrite", "Cannot write %1"), path);
        ::unlink(temporary.constData());
        return error;
    }
    prepared->path = path;
    prepared->temporary = temporary;
    prepared->exists = exists;
    return QString();
}

// Gives the hidden link `one.original` the backup's name. The backup before it, if any, takes the
// hidden name in the same step, so that it can be put back as well.
bool takeBackupName(Prepared& one)
{
    const QByteArray backup = QFile::encodeName(backupPath(one.path));
    if (::renameat2(AT_FDCWD, one.original.constData(), AT_FDCWD, backup.constData(), RENAME_EXCHANGE) == 0) {
        one.previousBackup = one.original;
    } else if ((errno != ENOENT && errno != EINVAL) ||
               ::rename(one.original.constData(), backup.constData()) != 0) {
        return false;
    }
    one.original = backup;
    one.backedUp = true;
    return true;
}

// Puts the old files (and backups) back after a rename failed, a new file goes again; says so
// in `error`. What cannot be put back is kept under a hidden name, which the error names.
QString undo(QList<Prepared>& prepared, const QString& error)
{
    QStringList lost;
    const auto keptAs = [&](const char* what, const QString& path, const QByteArray& kept) {
        const QString reason = QString::fromLocal8Bit(strerror(errno));
        lost << QCoreApplication::translate("SafeWrite", what).arg(path, QFile::decodeName(kept), reason);
    };
    for (Prepared& one : prepared) {
        if (!one.replaced)
            continue;
        const QByteArray target = QFile::encodeName(one.path);
        if (!one.exists) {
            if (::unlink(target.constData()) != 0) {
                lost << systemError(QT_TRANSLATE_NOOP("SafeWrite", "the new file %1 could not be removed"),
                                    one.path);
                continue;
            }
        } else if (::rename(one.original.constData(), target.constData()) != 0) {
            keptAs(QT_TRANSLATE_NOOP("SafeWrite", "%1 could not be put back, its old file is kept as %2: %3"),
                   one.path, one.original);
            continue;
        }
        one.replaced = false;
        one.original.clear();
        if (!one.previousBackup.isEmpty() &&
            ::rename(one.previousBackup.constData(), QFile::encodeName(backupPath(one.path)).constData()) !=
                0) {
            keptAs(QT_TRANSLATE_NOOP("SafeWrite",
                                     "the backup of %1 could not be put back, it is kept as %2: %3"),
                   one.path, one.previousBackup);
            continue;
        }
        one.previousBackup.clear();
    }
    if (lost.isEmpty())
        lost << QCoreApplication::translate("SafeWrite", "the files already replaced were put back");
    return error + QLatin1String("; ") + lost.join(QLatin1String("; "));
}

} // namespace

QString replaceFile(const QString& path, const QByteArray& data)
{
    return replaceFiles({{path, data}});
}

QString replaceFiles(const QList<QPair<QString, QByteArray>>& files)
{
    // Every file is written and flushed, and every old file linked for its backup, before the
    // first rename, so a failure until then (a bind-mounted file cannot be linked) changes
    // nothing.
    QList<Prepared> prepared;
    QString error;
    for (const auto& file : files) {
        Prepared one;
        error = prepare(file.first, file.second, &one);
        if (error.isEmpty() && one.exists)
            error = linkBackup(one.path, &one.original);
        if (!one.temporary.isEmpty())
            prepared << one;
        if (!error.isEmpty())
            break;
    }
    // The backups take their names last: until then a failure can put every old file back.
    for (Prepared& one : prepared) {
        if (!error.isEmpty())
            break;
        if (::rename(one.temporary.constData(), QFile::encodeName(one.path).constData()) != 0)
            error =
                undo(prepared, systemError(QT_TRANSLATE_NOOP("SafeWrite", "Cannot replace %1"), one.path));
        else
            one.replaced = true;
    }
    for (Prepared& one : prepared) {
        if (error.isEmpty() && one.exists && !takeBackupName(one))
            error = undo(prepared,
                         systemError(QT_TRANSLATE_NOOP("SafeWrite", "Cannot keep a backup of %1"), one.path));
    }
    for (const Prepared& one : qAsConst(prepared)) {
        if (!one.replaced)
            ::unlink(one.temporary.constData());
        // What could not be put back stays under its hidden name, not lost.
        if (!one.original.isEmpty() && !one.replaced && !one.backedUp)
            ::unlink(one.original.constData());
        if (!one.previousBackup.isEmpty() && error.isEmpty())
            ::unlink(one.previousBackup.constData());
        syncDirectory(QFileInfo(one.path).path());
    }
    return error;
}
