#include "qtsingleapplication.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char Acknowledgement = '\x06';
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

QString QtSingleApplication::instanceKey(const QString& programPath, uint userId)
{
    // The version is left out on purpose: a replaced binary must still find the running one.
    const QByteArray digest =
        QCryptographicHash::hash(programPath.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("tarn-update-notifier-%1-%2").arg(userId).arg(QString::fromLatin1(digest.left(16)));
}

QtSingleApplication::QtSingleApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    const QString key = instanceKey(QFileInfo(applicationFilePath()).absoluteFilePath(), ::getuid());
    const QString directory = privateDirectory();
    const QString base = directory + QLatin1Char('/') + key;
    m_socketPath = base + QStringLiteral(".socket");
    if (directory.isEmpty() || !absentOrOwn(base + QStringLiteral(".lock")) || !absentOrOwn(m_socketPath)) {
        m_unsafePath = directory.isEmpty() ? fallbackDirectory() : base;
        return;
    }
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
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    if (m_lock && m_lock->isLocked())
        m_lock->unlock();
}

bool QtSingleApplication::primaryAnswers() const
{
    if (!QFileInfo::exists(m_socketPath))
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    return socket.waitForConnected(ProbeTimeoutMs);
}

void QtSingleApplication::becomePrimary()
{
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketPath)) {
        qWarning("Cannot listen on %s: %s", qPrintable(m_socketPath), qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &QtSingleApplication::onNewConnection);
}

void QtSingleApplication::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        readMessage(socket);
    }
}

void QtSingleApplication::readMessage(QLocalSocket* socket)
{
    QDataStream stream(socket);
    stream.startTransaction();
    QString message;
    stream >> message;
    if (!stream.commitTransaction())
        return; // wait for the rest
    socket->write(&Acknowledgement, 1);
    socket->flush();
    // Handled from the event loop, so the acknowledgement leaves before any reaction
    // to the message (which may end this process).
    QMetaObject::invokeMethod(
        this, [this, message] { emit messageReceived(message); }, Qt::QueuedConnection);
}

bool QtSingleApplication::sendMessage(const QString& message, int timeoutMs)
{
    if (!m_running)
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << message;
    socket.write(data);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char reply = 0;
    return socket.read(&reply, 1) == 1 && reply == Acknowledgement;
}
