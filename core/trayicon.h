#pragma once

#include <QSystemTrayIcon>

class OrgFreedesktopNotificationsInterface;

// The notifier's tray icon and its balloons.
//
// Where the desktop hosts tray icons over D-Bus (StatusNotifierItem), Qt shows balloons
// through the notification service and reports a click on ANY application's
// notification as a click on ours. There the balloons are sent here, and only a click
// on one of our own counts. Elsewhere Qt's own balloon window is used.
class TrayIcon : public QSystemTrayIcon
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);

    // What the start-up found: a StatusNotifierHost, whose D-Bus tray Qt then uses (Qt
    // asks once per process, at the first tray icon). Set before the first icon.
    static void setStatusNotifierHost(bool hosted);

    void showBalloon(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon icon, int msecs);
    // Takes a balloon of ours that may still be on screen away.
    void hideBalloon();

signals:
    void balloonShown(const QString& title, const QString& text, int icon, int msecs);
    // The user clicked one of our balloons.
    void balloonClicked();

private:
    // The notification service, reached on the first balloon.
    OrgFreedesktopNotificationsInterface* notifications();
    void onActionInvoked(uint id, const QString& actionKey);
    void onNotificationClosed(uint id, uint reason);

    const bool m_ownBalloons;
    OrgFreedesktopNotificationsInterface* m_notifications = nullptr;
    uint m_balloonId = 0;
};
