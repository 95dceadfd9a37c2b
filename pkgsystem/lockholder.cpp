#include "lockholder.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <fcntl.h> // AT_FDCWD
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// Enough of a command line to recognise the program; the rest is left out.
constexpr int MaxCommandLineBytes = 1024;
// The kernel lists every lock of the machine; a busy server may have thousands.
constexpr qint64 MaxLocksBytes = 4 * 1024 * 1024;
constexpr qint64 MaxMountInfoBytes = 4 * 1024 * 1024;

struct FileId
{
    QList<dev_t> devices; // as stat() and as the kernel's lock list may name it
    ino_t inode = 0;
};

// /proc/PID/cmdline with its NULs as spaces and anything unprintable as "?"; the kernel's
// name of the program when the command line is empty (a kernel thread, a zombie).
QString commandLine(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    QByteArray text = file.open(QIODevice::ReadOnly) ? file.read(MaxCommandLineBytes + 1) : QByteArray();
    const bool cut = text.size() > MaxCommandLineBytes;
    text.truncate(MaxCommandLineBytes);
    if (text.trimmed().isEmpty()) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (comm.open(QIODevice::ReadOnly))
            text = '[' + comm.read(64).trimmed() + ']';
    }
    // Its arguments end in NULs.
    QString line = QString::fromUtf8(text.replace('\0', ' ')).trimmed();
    for (QChar& c : line) {
        if (!c.isPrint())
            c = QLatin1Char('?');
    }
    return cut ? line + QStringLiteral("...") : line;
}

// The device of the file system the file's mount belongs to. The lock list names that one,
// which stat() does not always give (btrfs subvolumes report a device of their own).
std::optional<dev_t> mountDevice(const QByteArray& path)
{
    struct statx info = {};
    if (::statx(AT_FDCWD, path.constData(), 0, STATX_MNT_ID, &info) != 0 || !(info.stx_mask & STATX_MNT_ID))
        return std::nullopt;
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (!mounts.open(QIODevice::ReadOnly))
        return std::nullopt;
    // "ID PARENT MAJOR:MINOR ROOT MOUNTPOINT ..."
    while (mounts.pos() < MaxMountInfoBytes) {
        const QByteArray line = mounts.readLine(64 * 1024);
        if (line.isEmpty())
            break;
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || fields.at(0).toULongLong() != info.stx_mnt_id)
            continue;
        const QList<QByteArray> numbers = fields.at(2).split(':');
        bool majorOk = false;
        bool minorOk = false;
        const unsigned major = numbers.value(0).toUInt(&majorOk);
        const unsigned minor = numbers.value(1).toUInt(&minorOk);
        if (numbers.size() == 2 && majorOk && minorOk)
            return makedev(major, minor);
        break;
    }
    return std::nullopt;
}

// "1: POSIX  ADVISORY  WRITE 3404 fe:00:10953140 0 EOF"; waiters are listed as "1: -> POSIX ...".
std::optional<LockHolder> fromLockList(const FileId& id)
{
    QFile list(QStringLiteral("/proc/locks"));
    if (!list.open(QIODevice::ReadOnly))
        return std::nullopt;
    while (list.pos() < MaxLocksBytes) {
        const QByteArray line = list.readLine(4096);
        if (line.isEmpty())
            break;
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 6 || fields.at(1) == "->")
            continue;
        const QList<QByteArray> where = fields.at(5).split(':');
        if (where.size() != 3)
            continue;
        bool ok[3] = {};
        const unsigned major = where.at(0).toUInt(&ok[0], 16);
        const unsigned minor = where.at(1).toUInt(&ok[1], 16);
        const qulonglong inode = where.at(2).toULongLong(&ok[2]);
        if (!ok[0] || !ok[1] || !ok[2] || inode != id.inode || !id.devices.contains(makedev(major, minor)))
            continue;
        LockHolder holder;
        const qint64 pid = fields.at(4).toLongLong();
        if (pid > 0) {
            holder.pid = pid;
            holder.command = commandLine(pid);
        }
        return holder;
    }
    return std::nullopt;
}

} // namespace

std::optional<LockHolder> LockHolder::of(const QString& lockFile)
{
    const QByteArray path = QFile::encodeName(lockFile);
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    FileId id;
    id.inode = info.st_ino;
    id.devices << info.st_dev;
    if (const std::optional<dev_t> device = mountDevice(path))
        id.devices << *device;
    return fromLockList(id);
}
