#include "displayprobe.h"

#include <QByteArray>
#include <QList>
#include <QLoggingCategory>
#include <QString>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <xcb/xcb.h>

namespace {
constexpr char AttemptVariable[] = "TARN_DISPLAY_ATTEMPT";
constexpr int Attempts = 10;
constexpr useconds_t RetryDelayUs = 300000;
char** guardedArgv = nullptr;
QtMessageHandler previousHandler = nullptr;

int attempt()
{
    return qEnvironmentVariableIntValue(AttemptVariable);
}

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (guardedArgv && qstrcmp(context.category, "qt.qpa.xcb") == 0 &&
        message.startsWith(QLatin1String("could not connect to display"))) {
        // The next start tries again, the last one says that there is no display.
        ::usleep(RetryDelayUs);
        qputenv(AttemptVariable, QByteArray::number(attempt() + 1));
        ::execv("/proc/self/exe", guardedArgv);
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

// The platforms Qt tries, in its order: QT_QPA_PLATFORM's list, else X11, after Wayland
// in a Wayland session outside GNOME.
QList<QByteArray> platforms()
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty())
        return chosen.split(';');
    const QByteArray desktops =
        qgetenv("XDG_CURRENT_DESKTOP").toLower() + qgetenv("XDG_SESSION_DESKTOP").toLower();
    if (qgetenv("XDG_SESSION_TYPE") == "wayland" && !desktops.contains("gnome"))
        return {QByteArrayLiteral("wayland"), QByteArrayLiteral("xcb")};
    return {QByteArrayLiteral("xcb")};
}

bool x11Reachable()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    // A refusal for the moment (the server's queue of new connections is full) is asked
    // again; a display without a server is not.
    for (int tries = 1;; ++tries) {
        errno = 0;
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        const bool connected = xcb_connection_has_error(connection) == 0;
        const int error = errno;
        xcb_disconnect(connection);
        if (connected)
            return true;
        if (tries == Attempts || (error != EAGAIN && error != ECONNRESET && error != EINTR))
            return false;
        ::usleep(RetryDelayUs);
    }
}

// As libwayland finds the compositor: WAYLAND_SOCKET, or WAYLAND_DISPLAY (wayland-0 when
// unset) under XDG_RUNTIME_DIR unless it is a path.
bool waylandReachable()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;
    QByteArray path = qgetenv("WAYLAND_DISPLAY");
    if (path.isEmpty())
        path = QByteArrayLiteral("wayland-0");
    if (!path.startsWith('/')) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return false;
        path = runtime + '/' + path;
    }
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return connected;
}
} // namespace

void DisplayProbe::guardConnection(char** argv)
{
    guardedArgv = argv;
    previousHandler = qInstallMessageHandler(onMessage);
}

void DisplayProbe::release()
{
    qInstallMessageHandler(previousHandler);
    guardedArgv = nullptr;
    qunsetenv(AttemptVariable);
}

bool DisplayProbe::reachable()
{
    if (attempt() >= Attempts - 1)
        return false;
    for (const QByteArray& platform : platforms()) {
        const QByteArray name = platform.trimmed();
        if (name.isEmpty())
            continue;
        if (name.startsWith("xcb") ? x11Reachable() : name.startsWith("wayland") ? waylandReachable() : true)
            return true;
    }
    return false;
}
