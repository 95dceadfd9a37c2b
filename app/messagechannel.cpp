#include "messagechannel.h"

#include <QDataStream>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace MessageChannel {

namespace {
constexpr char Acknowledgement = '\x06';
// A command line, however long, stays far below this; more is no message of ours.
constexpr int LongestMessageBytes = 1 << 20;

// False when the path does not fit into a socket address.
bool fillAddress(const QByteArray& path, sockaddr_un* address)
{
    *address = {};
    address->sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address->sun_path))
        return false;
    std::memcpy(address->sun_path, path.constData(), size_t(path.size()));
    return true;
}

// A blocking socket connected to path whose every call gives up after timeoutMs; -1 when
// nothing there takes the connection in time.
int connectTo(const QString& path, int timeoutMs)
{
    sockaddr_un address;
    if (!fillAddress(QFile::encodeName(path), &address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // A listener whose queue is full keeps connect() waiting for this long too.
    const int limitMs = qMax(timeoutMs, 1);
    const timeval limit = {limitMs / 1000, (limitMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    int result = 0;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno != EISCONN) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool writeAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t count = ::send(fd, data.constData() + done, size_t(data.size() - done), MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += count;
    }
    return true;
}

// One accepted connection: reads its messages, acknowledges each and hands it on.
class Connection : public QObject
{
public:
    Connection(int fd, Listener* listener) : QObject(listener), m_fd(fd), m_listener(listener)
    {
        m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readAvailable(); });
    }
    ~Connection() override { ::close(m_fd); }

private:
    void readAvailable()
    {
        bool ended = false;
        char chunk[4096];
        for (;;) {
            const ssize_t count = ::read(m_fd, chunk, sizeof(chunk));
            if (count > 0) {
                m_buffer.append(chunk, int(count));
                if (m_buffer.size() > LongestMessageBytes)
                    break; // no message of ours; takeMessages() tells
                continue;
            }
            if (count < 0 && errno == EINTR)
                continue;
            // End of stream, or an error: the sender is gone.
            ended = count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
        }
        if (!takeMessages() || ended) {
            m_notifier->setEnabled(false);
            deleteLater();
        }
    }

    // False when the connection carries something other than messages.
    bool takeMessages()
    {
        for (;;) {
            QDataStream stream(m_buffer);
            QString message;
            stream >> message;
            if (stream.status() == QDataStream::ReadPastEnd) {
                if (m_buffer.size() <= LongestMessageBytes)
                    return true; // wait for the rest
                qWarning("Ignored a message of over %d bytes on the single-instance socket",
                         LongestMessageBytes);
                return false;
            }
            if (stream.status() != QDataStream::Ok) {
                qWarning("Ignored a damaged message on the single-instance socket");
                return false;
            }
            m_buffer.remove(0, int(stream.device()->pos()));
            [[maybe_unused]] const ssize_t sent = ::send(m_fd, &Acknowledgement, 1, MSG_NOSIGNAL);
            // Handled from the event loop, so the acknowledgement leaves before any
            // reaction to the message (which may end this process).
            Listener* listener = m_listener;
            QMetaObject::invokeMethod(
                listener, [listener, message] { emit listener->messageReceived(message); },
                Qt::QueuedConnection);
        }
    }

    int m_fd;
    Listener* m_listener;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_buffer;
};
} // namespace

bool answers(const QString& path, int timeoutMs)
{
    const int fd = connectTo(path, timeoutMs);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool send(const QString& path, const QString& message, int timeoutMs)
{
    const int fd = connectTo(path, timeoutMs);
    if (fd < 0)
        return false;
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << message;
    char reply = 0;
    ssize_t count = 0;
    if (writeAll(fd, data)) {
        do {
            count = ::read(fd, &reply, 1);
        } while (count < 0 && errno == EINTR);
    }
    ::close(fd);
    return count == 1 && reply == Acknowledgement;
}

Listener::Listener(QObject* parent) : QObject(parent) {}

Listener::~Listener()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_path.constData());
}

bool Listener::listen(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // Made in a folder of its own (mode 0700) and renamed into place: nobody else can
    // reach the socket before its mode is the user's alone. Both names must fit.
    QByteArray folder = name.left(name.lastIndexOf('/') + 1) + ".tarn-socket-XXXXXX";
    sockaddr_un address;
    if (!fillAddress(name, &address) || !fillAddress(folder + "/s", &address)) {
        m_error = QStringLiteral("the path is too long for a socket");
        return false;
    }
    ::unlink(name.constData());
    if (!::mkdtemp(folder.data())) {
        m_error = qt_error_string(errno);
        return false;
    }
    const QByteArray temporary = folder + "/s";
    fillAddress(temporary, &address); // as long as the name checked above
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const bool listening = fd >= 0 &&
                           ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
                           ::listen(fd, 50) == 0 && ::chmod(temporary.constData(), S_IRWXU) == 0 &&
                           ::rename(temporary.constData(), name.constData()) == 0;
    const int error = errno;
    ::unlink(temporary.constData());
    ::rmdir(folder.constData());
    if (!listening) {
        if (fd >= 0)
            ::close(fd);
        m_error = qt_error_string(error);
        return false;
    }
    m_fd = fd;
    m_path = name;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Listener::acceptConnections);
    return true;
}

void Listener::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0 && errno == EINTR)
            continue;
        if (fd < 0)
            return; // none left, or one that gave up before it was taken
        new Connection(fd, this);
    }
}

} // namespace MessageChannel
