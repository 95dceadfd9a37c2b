#include "tarnphone.h"

namespace TarnPhone {

TarnNotificationDbusNotifier::TarnNotificationDbusNotifier(int id, QObject* parent) : QObject(parent), m_id(id)
{
}

void TarnNotificationDbusNotifier::updateDataMap(const QVariantMap& data)
{
    Q_UNUSED(data)
}

TarnNotificationsModelDbusNotifier::TarnNotificationsModelDbusNotifier(QObject* parent) : QObject(parent)
{
}

TarnNotificationDbusNotifier* TarnNotificationsModelDbusNotifier::addNotification(const int& type,
                                                                                  const bool& persistent,
                                                                                  const bool& sound,
                                                                                  const QVariantMap& data)
{
    // No notification service is talked to yet: nothing is shown.
    Q_UNUSED(type)
    Q_UNUSED(persistent)
    Q_UNUSED(sound)
    Q_UNUSED(data)
    return nullptr;
}

void TarnNotificationsModelDbusNotifier::removeNotification(const int& id)
{
    Q_UNUSED(id)
}

} // namespace TarnPhone
