#include "aptlocks.h"

#include "aptconfigvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Enough of a command line to recognise the program; the rest is left out.
constexpr int MaxCommandLineBytes = 1024;

// /proc/PID/cmdline with its NULs as spaces and anything unprintable as "?"; the kernel's
// name of the program when the command line is empty (a kernel thread, a zombie).
QString commandLine(pid_t pid)
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

} // namespace

AptLocks::AptLocks(const HelperSettings& settings)
{
    QString error;
    const QStringList values =
        aptConfigValues(settings,
                        {QStringLiteral("Dir::State::status/f"), QStringLiteral("Dir::State::Lists/d"),
                         QStringLiteral("Dir::Cache::Archives/d")},
                        &error);
    if (!error.isEmpty())
        return;
    if (!values.at(0).isEmpty()) {
        const QString dpkgDir = QFileInfo(values.at(0)).path();
        m_files << dpkgDir + QLatin1String("/lock-frontend") << dpkgDir + QLatin1String("/lock");
    }
    for (int i = 1; i < values.size(); ++i) {
        if (!values.at(i).isEmpty())
            m_files << values.at(i) + QLatin1String("/lock");
    }
}

QStringList AptLocks::holders() const
{
    QStringList lines;
    for (const QString& file : m_files) {
        const QString holder = describeHolder(file);
        if (!holder.isEmpty())
            lines << holder;
    }
    return lines;
}

QString AptLocks::describeHolder(const QString& lockFile)
{
    // Opened for reading only and never created: asking must not change anything.
    const int fd = ::open(QFile::encodeName(lockFile).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return QString();
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool asked = ::fcntl(fd, F_GETLK, &lock) == 0;
    ::close(fd);
    if (!asked || lock.l_type == F_UNLCK)
        return QString();
    const QString file = QDir::cleanPath(lockFile);
    // No pid: the holder is outside our view (another pid namespace) or holds an open file
    // description's lock.
    if (lock.l_pid <= 0)
        return QCoreApplication::translate("AptLocks", "%1 is locked by a program the helper cannot name.")
            .arg(file);
    return QCoreApplication::translate("AptLocks", "%1 is locked by process %2: %3")
        .arg(file)
        .arg(lock.l_pid)
        .arg(commandLine(lock.l_pid));
}
