#include "displayprobe.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <xcb/xcb.h>

namespace {
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
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return connected;
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

bool DisplayProbe::reachable()
{
    for (const QByteArray& platform : platforms()) {
        const QByteArray name = platform.trimmed();
        if (name.isEmpty())
            continue;
        if (name.startsWith("xcb") ? x11Reachable() : name.startsWith("wayland") ? waylandReachable() : true)
            return true;
    }
    return false;
}
