#pragma once

#include <QObject>
#include <QVariantMap>

// The phone shell's notification service, as the notifier uses it.
namespace TarnPhone {

class TarnNotificationDbusNotifier : public QObject
{
    Q_OBJECT
public:
    explicit TarnNotificationDbusNotifier(int id, QObject* parent = nullptr);

    int id() const { return m_id; }
    // Replaces the entries of the shown notification that the map holds.
    void updateDataMap(const QVariantMap& data);

signals:
    // "upgrade" when the user asks for the upgrade from the notification.
    void newData(const QString& data);

private:
    int m_id;
};

class TarnNotificationsModelDbusNotifier : public QObject
{
    Q_OBJECT
public:
    explicit TarnNotificationsModelDbusNotifier(QObject* parent = nullptr);

    // Shows a notification; null when no notification service takes it.
    TarnNotificationDbusNotifier* addNotification(const int& type, const bool& persistent, const bool& sound,
                                                  const QVariantMap& data);
    void removeNotification(const int& id);
};

} // namespace TarnPhone
