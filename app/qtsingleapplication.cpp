#include "qtsingleapplication.h"

#include "messagechannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int ProbeTimeoutMs = 1000;

// True when path is missing, or is ours and no symbolic link.
bool absentOrOwn(const QString& path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT;
    return info.st_uid == ::getuid() && !S_ISLNK(info.st_mode);
}

QString fallbackDirectory()
{
    return QDir::tempPath() + QStringLiteral("/tarn-update-notifier-%1").arg(::getuid());
}

// The user's runtime folder, which only the user can reach; without one, a folder of
// the user's own (mode 0700) in the temporary folder, where any user could have put
// something under a predictable name first. Empty when that folder is not ours alone.
QString privateDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return runtime;
    const QString folder = fallbackDirectory();
    const QByteArray name = QFile::encodeName(folder);
    ::mkdir(name.constData(), 0700);
    struct stat info = {};
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & 077) != 0)
        return QString();
    return folder;
}
} // namespace

namespace {
struct InstancePaths
{
    QString base;       // of the lock and the socket
    QString unsafePath; // set when what lies there is not ours alone
};

InstancePaths instancePaths()
{
    const QString programPath = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
    const QString directory = privateDirectory();
    const QString base =
        directory + QLatin1Char('/') + QtSingleApplication::instanceKey(programPath, ::getuid());
    if (directory.isEmpty())
        return {base, fallbackDirectory()};
    if (!absentOrOwn(base + QStringLiteral(".lock")) || !absentOrOwn(base + QStringLiteral(".socket")))
        return {base, base};
    return {base, QString()};
}
} // namespace

QString QtSingleApplication::instanceKey(const QString& programPath, uint userId)
{
    // The version is left out on purpose: a replaced binary must still find the running one.
    const QByteArray digest =
        QCryptographicHash::hash(programPath.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("tarn-update-notifier-%1-%2").arg(userId).arg(QString::fromLatin1(digest.left(16)));
}

QtSingleApplication::QtSingleApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    const InstancePaths paths = instancePaths();
    m_socketPath = paths.base + QStringLiteral(".socket");
    m_unsafePath = paths.unsafePath;
    if (!m_unsafePath.isEmpty())
        return;
    const QString base = paths.base;
    m_lock = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    // Never stale by age: only a lock whose owner is gone is taken over.
    m_lock->setStaleLockTime(0);

    if (!m_lock->tryLock(0)) {
        m_running = true;
        return;
    }
    // The lock was free, but an instance whose binary was replaced under it may not
    // be recognised as the lock's owner any more: ask the socket too.
    if (primaryAnswers()) {
        m_lock->unlock();
        m_running = true;
        return;
    }
    becomePrimary();
}

QtSingleApplication::~QtSingleApplication()
{
    delete m_listener;
    m_listener = nullptr;
    if (m_lock && m_lock->isLocked())
        m_lock->unlock();
}

bool QtSingleApplication::primaryAnswers() const
{
    return QFileInfo::exists(m_socketPath) && MessageChannel::answers(m_socketPath, ProbeTimeoutMs);
}

void QtSingleApplication::becomePrimary()
{
    m_listener = new MessageChannel::Listener();
    if (!m_listener->listen(m_socketPath)) {
        qWarning("Cannot listen on %s: %s", qPrintable(m_socketPath), qPrintable(m_listener->errorString()));
        return;
    }
    connect(m_listener, &MessageChannel::Listener::messageReceived, this,
            &QtSingleApplication::messageReceived);
}

bool QtSingleApplication::sendToRunning(const QString& message, int timeoutMs)
{
    const InstancePaths paths = instancePaths();
    const QString socketPath = paths.base + QStringLiteral(".socket");
    return paths.unsafePath.isEmpty() && QFileInfo::exists(socketPath) &&
           MessageChannel::send(socketPath, message, timeoutMs);
}

bool QtSingleApplication::sendMessage(const QString& message, int timeoutMs)
{
    return m_running && MessageChannel::send(m_socketPath, message, timeoutMs);
}
