#include "traywaiter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {
const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
// A hung watcher is asked again after this, so a late answer is not missed for long.
constexpr int WatcherAnswerMs = 2000;
constexpr int PollMs = 1000;
} // namespace

TrayWaiter::TrayWaiter(int waitMs, QObject* parent) : QObject(parent)
{
    // An XEmbed tray exists only on X11; Qt's own connection is not public, so one of ours
    // for the wait.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        int screen = 0;
        m_x11 = xcb_connect(nullptr, &screen);
        const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            m_x11, xcb_intern_atom(m_x11, 0, uint16_t(name.size()), name.constData()), nullptr);
        if (atom)
            m_selection = atom->atom;
        std::free(atom);
    }
    auto* registrations = new QDBusServiceWatcher(WatcherService, QDBusConnection::sessionBus(),
                                                  QDBusServiceWatcher::WatchForRegistration, this);
    connect(registrations, &QDBusServiceWatcher::serviceRegistered, this, &TrayWaiter::askWatcher);
    m_poll = new QTimer(this);
    m_poll->setInterval(PollMs);
    connect(m_poll, &QTimer::timeout, this, &TrayWaiter::askWatcher);
    m_deadline = new QTimer(this);
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] {
        m_done = true;
        m_poll->stop();
        emit timedOut();
    });
    m_poll->start();
    m_deadline->start(waitMs);
    QTimer::singleShot(0, this, &TrayWaiter::askWatcher);
}

TrayWaiter::~TrayWaiter()
{
    if (m_x11)
        xcb_disconnect(m_x11);
}

// The watcher decides first: where it has a host, Qt uses the D-Bus tray even when an
// XEmbed tray is there too. The XEmbed tray is taken once the watcher has answered no
// (or is missing, or does not answer in time).
void TrayWaiter::askWatcher()
{
    if (m_asking || m_done)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (hasXEmbedTray())
            finish(false);
        return;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        WatcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << WatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    // A watcher that is not running is not started for this question.
    get.setAutoStartService(false);
    m_asking = true;
    auto* call = new QDBusPendingCallWatcher(bus.asyncCall(get, WatcherAnswerMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        m_asking = false;
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (m_done)
            return;
        if (!reply.isError() && reply.value().variant().toBool())
            finish(true);
        else if (hasXEmbedTray())
            finish(false);
    });
}

bool TrayWaiter::hasXEmbedTray()
{
    if (!m_x11 || m_selection == 0 || xcb_connection_has_error(m_x11))
        return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(m_x11, xcb_get_selection_owner(m_x11, m_selection), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
}

void TrayWaiter::finish(bool statusNotifierHost)
{
    m_done = true;
    m_poll->stop();
    m_deadline->stop();
    emit found(statusNotifierHost);
}
