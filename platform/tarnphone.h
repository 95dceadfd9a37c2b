#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

class OrgFreedesktopNotificationsInterface;
class QDBusServiceWatcher;

// The phone shell's notification service, as the notifier uses it: notifications on
// the desktop notification service (org.freedesktop.Notifications) of the session bus,
// which Phosh, Plasma Mobile and the desktops all run.
namespace TarnPhone {

class TarnNotificationsModelDbusNotifier;

// One notification handed out by the model, which owns it.
class TarnNotificationDbusNotifier : public QObject
{
    Q_OBJECT
public:
    // The server's id of the shown notification; 0 while none is shown (the server
    // closed it, or it could not be shown).
    int id() const { return static_cast<int>(m_id); }

    // Replaces the entries of the notification that the map holds and shows the result,
    // in place of the shown notification or, if the server closed it, as a new one.
    void updateDataMap(const QVariantMap& data);

signals:
    // "upgrade" or "settings": the action the user chose on the notification.
    void newData(const QString& data);

private:
    friend class TarnNotificationsModelDbusNotifier;
    TarnNotificationDbusNotifier(const QVariantMap& data, bool sound,
                                 TarnNotificationsModelDbusNotifier* model);
    // Sends the notification without waiting; a change made while one is on its way
    // is sent once the server has answered.
    void show();
    void onShown(uint id, const QString& owner);
    void forget() { m_id = 0; }

    TarnNotificationsModelDbusNotifier* m_model;
    QVariantMap m_data;
    bool m_sound;
    bool m_sending = false;
    bool m_sendAgain = false;
    uint m_id = 0;
    // The server connection that gave out m_id: ids mean nothing to another server.
    QString m_owner;
};

class TarnNotificationsModelDbusNotifier : public QObject
{
    Q_OBJECT
public:
    explicit TarnNotificationsModelDbusNotifier(QObject* parent = nullptr);
    ~TarnNotificationsModelDbusNotifier() override;

    // Shows a notification built from data: "caption" (the summary), "description"
    // (the body, rich text), "icon" (an icon name, a file URL or one of the shell's
    // image://ThemeImageProvider/ images), "customComponentPath" (the shell's QML
    // component), "upgradeAction" and "settingsAction" (true: it offers the upgrade, the
    // settings). type and persistent have no counterpart on this service: the notification
    // always stays until it is removed. Returns the notification, owned by the model; it is
    // sent without waiting, and shown again when a (new) server appears.
    TarnNotificationDbusNotifier* addNotification(const int& type, const bool& persistent, const bool& sound,
                                                  const QVariantMap& data);
    // Withdraws the notification of ours that has this id; other ids are left alone.
    // Only with wait does it block, until the server has the request (for the exit).
    void removeNotification(const int& id, bool wait = false);

private:
    friend class TarnNotificationDbusNotifier;
    OrgFreedesktopNotificationsInterface* service();
    // Sends Notify for the notification, after the server's capabilities when they are
    // unknown; its answer goes to the notification's onShown(), if it still exists.
    void notify(TarnNotificationDbusNotifier* notification);
    void sendNotify(TarnNotificationDbusNotifier* notification);
    QList<TarnNotificationDbusNotifier*> notifications() const;
    void onActionInvoked(uint id, const QString& actionKey);
    void onNotificationClosed(uint id, uint reason);
    void onServiceOwnerChanged(const QString& service, const QString& oldOwner, const QString& newOwner);

    OrgFreedesktopNotificationsInterface* m_service = nullptr;
    QDBusServiceWatcher* m_watcher = nullptr;
    QStringList m_capabilities;
    // The server connection m_capabilities came from; empty while they are unknown.
    QString m_capabilitiesOwner;
};

} // namespace TarnPhone
