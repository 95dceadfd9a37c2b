#include "trayicon.h"

#include "notificationsinterface.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>

namespace {
const QString NotificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString DefaultAction = QStringLiteral("default");

bool statusNotifierHost = false;

QString iconName(QSystemTrayIcon::MessageIcon icon)
{
    switch (icon) {
    case QSystemTrayIcon::Information:
        return QStringLiteral("dialog-information");
    case QSystemTrayIcon::Warning:
        return QStringLiteral("dialog-warning");
    case QSystemTrayIcon::Critical:
        return QStringLiteral("dialog-error");
    case QSystemTrayIcon::NoIcon:
        break;
    }
    return QString();
}
} // namespace

TrayIcon::TrayIcon(QObject* parent) : QSystemTrayIcon(parent), m_ownBalloons(statusNotifierHost)
{
    if (!m_ownBalloons)
        connect(this, &QSystemTrayIcon::messageClicked, this, &TrayIcon::balloonClicked);
}

void TrayIcon::setStatusNotifierHost(bool hosted)
{
    statusNotifierHost = hosted;
}

OrgFreedesktopNotificationsInterface* TrayIcon::notifications()
{
    if (m_notifications)
        return m_notifications;
    m_notifications = new OrgFreedesktopNotificationsInterface(NotificationsService, NotificationsPath,
                                                               QDBusConnection::sessionBus(), this);
    // Subscribed before the first balloon is sent, so no answer to it can be missed.
    connect(m_notifications, &OrgFreedesktopNotificationsInterface::ActionInvoked, this,
            &TrayIcon::onActionInvoked);
    connect(m_notifications, &OrgFreedesktopNotificationsInterface::NotificationClosed, this,
            &TrayIcon::onNotificationClosed);
    return m_notifications;
}

void TrayIcon::showBalloon(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon icon,
                           int msecs)
{
    if (!m_ownBalloons) {
        showMessage(title, text, icon, msecs);
    } else {
        const QVariantMap hints{
            {QStringLiteral("urgency"),
             QVariant::fromValue<uchar>(icon == QSystemTrayIcon::Critical ? 2 : 1)},
            {QStringLiteral("desktop-entry"), QStringLiteral("tarn-update-notifier")},
        };
        // A new balloon replaces our previous one, as Qt's own balloon window does.
        auto* watcher = new QDBusPendingCallWatcher(
            notifications()->Notify(QGuiApplication::applicationDisplayName(), m_balloonId, iconName(icon),
                                    title, text, {DefaultAction, QString()}, hints, msecs),
            this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
            const QDBusPendingReply<uint> reply = *call;
            if (!reply.isError())
                m_balloonId = reply.value();
            call->deleteLater();
        });
    }
    emit balloonShown(title, text, int(icon), msecs);
}

void TrayIcon::hideBalloon()
{
    if (!m_ownBalloons) {
        // An empty balloon replaces one still on screen.
        showMessage(QString(), QString(), QSystemTrayIcon::Information, 0);
        return;
    }
    if (m_balloonId != 0)
        notifications()->CloseNotification(m_balloonId);
    m_balloonId = 0;
}

void TrayIcon::onActionInvoked(uint id, const QString& actionKey)
{
    if (id != 0 && id == m_balloonId && actionKey == DefaultAction)
        emit balloonClicked();
}

void TrayIcon::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason)
    if (id == m_balloonId)
        m_balloonId = 0;
}
