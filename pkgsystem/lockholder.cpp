#include "lockholder.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>

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

// The mount of each path, by statx's mount id.
std::optional<quint64> mountId(const QByteArray& path)
{
    struct statx info = {};
    if (::statx(AT_FDCWD, path.constData(), 0, STATX_MNT_ID, &info) != 0 || !(info.stx_mask & STATX_MNT_ID))
        return std::nullopt;
    return quint64(info.stx_mnt_id);
}

// The devices of the file systems of the mounts asked for, by mount id. The lock list names
// these, which stat() does not always give (btrfs subvolumes report a device of their own).
QHash<quint64, dev_t> mountDevices(const QSet<quint64>& mounts)
{
    QHash<quint64, dev_t> devices;
    QFile info(QStringLiteral("/proc/self/mountinfo"));
    if (mounts.isEmpty() || !info.open(QIODevice::ReadOnly))
        return devices;
    // "ID PARENT MAJOR:MINOR ROOT MOUNTPOINT ..."
    while (info.pos() < MaxMountInfoBytes && devices.size() < mounts.size()) {
        const QByteArray line = info.readLine(64 * 1024);
        if (line.isEmpty())
            break;
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || !mounts.contains(fields.at(0).toULongLong()))
            continue;
        const QList<QByteArray> numbers = fields.at(2).split(':');
        bool majorOk = false;
        bool minorOk = false;
        const unsigned major = numbers.value(0).toUInt(&majorOk);
        const unsigned minor = numbers.value(1).toUInt(&minorOk);
        if (numbers.size() == 2 && majorOk && minorOk)
            devices.insert(fields.at(0).toULongLong(), makedev(major, minor));
    }
    return devices;
}

// "1: POSIX  ADVISORY  WRITE 3404 fe:00:10953140 0 EOF"; waiters are listed as "1: -> POSIX ...".
// Fills the holders of the files whose lock is listed.
void readLockList(const QVector<FileId>& ids, QVector<std::optional<LockHolder>>& holders)
{
    QFile list(QStringLiteral("/proc/locks"));
    if (!list.open(QIODevice::ReadOnly))
        return;
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
        if (!ok[0] || !ok[1] || !ok[2])
            continue;
        for (int i = 0; i < ids.size(); ++i) {
            if (holders.at(i) || ids.at(i).inode != inode ||
                !ids.at(i).devices.contains(makedev(major, minor)))
                continue;
            LockHolder holder;
            const qint64 pid = fields.at(4).toLongLong();
            if (pid > 0) {
                holder.pid = pid;
                holder.command = commandLine(pid);
            }
            holders[i] = holder;
        }
    }
}

} // namespace

QVector<std::optional<LockHolder>> LockHolder::of(const QStringList& lockFiles)
{
    QVector<std::optional<LockHolder>> holders(lockFiles.size());
    QVector<FileId> ids(lockFiles.size());
    QVector<std::optional<quint64>> mounts(lockFiles.size());
    bool anyFile = false;
    for (int i = 0; i < lockFiles.size(); ++i) {
        const QByteArray path = QFile::encodeName(lockFiles.at(i));
        struct stat info = {};
        // A missing file has no lock: its empty list of devices matches nothing.
        if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        ids[i].inode = info.st_ino;
        ids[i].devices << info.st_dev;
        mounts[i] = mountId(path);
        anyFile = true;
    }
    if (!anyFile)
        return holders;
    QSet<quint64> wanted;
    for (const std::optional<quint64>& mount : qAsConst(mounts)) {
        if (mount)
            wanted.insert(*mount);
    }
    const QHash<quint64, dev_t> devices = mountDevices(wanted);
    for (int i = 0; i < ids.size(); ++i) {
        if (mounts.at(i) && devices.contains(*mounts.at(i)))
            ids[i].devices << devices.value(*mounts.at(i));
    }
    readLockList(ids, holders);
    return holders;
}
