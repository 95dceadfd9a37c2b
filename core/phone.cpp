#include "notifiercore.h"

#include "updatetext.h"

#include "platform/tarnphone.h"

void NotifierCore::showPhoneNotification()
{
    const QString text = phoneNotificationText(m_upgradableCount, m_newCount, m_removedCount);
    if (!m_phoneNotification) {
        const QVariantMap data{
            {QStringLiteral("description"), text},
            {QStringLiteral("caption"), m_title},
            {QStringLiteral("icon"), QStringLiteral("image://ThemeImageProvider/update_for_install")},
            {QStringLiteral("customComponentPath"),
             QStringLiteral("file:///usr/share/tarn-mobile/notifications/UpdateNotification.qml")},
            {QStringLiteral("upgradeAction"), true},
        };
        m_phoneNotification = m_phoneModel->addNotification(5, false, false, data);
        if (m_phoneNotification) {
            connect(m_phoneNotification, &TarnPhone::TarnNotificationDbusNotifier::newData, this,
                    &NotifierCore::onNewData);
        }
    } else {
        m_phoneNotification->updateDataMap({{QStringLiteral("description"), text}});
    }
}

void NotifierCore::removePhoneNotification(TarnPhone::TarnNotificationDbusNotifier*& notification, bool wait)
{
    if (!notification)
        return;
    m_phoneModel->removeNotification(notification->id(), wait);
    notification->deleteLater();
    notification = nullptr;
}
