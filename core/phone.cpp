#include "notifiercore.h"

#include "updatetext.h"

#include "platform/tarnphone.h"

void NotifierCore::showPhoneNotification()
{
    const QString text =
        m_dpkgInterrupted ? tr("dpkg was interrupted, the package system needs a repair. Click to repair it")
                          : phoneNotificationText(m_upgradableCount, m_newCount, m_removedCount);
    if (!m_phoneNotification) {
        QVariantMap data{
            {QStringLiteral("description"), text},
            {QStringLiteral("caption"), m_title},
            {QStringLiteral("icon"), QStringLiteral("image://ThemeImageProvider/update_for_install")},
            {QStringLiteral("upgradeAction"), true},
            // Without a tray the settings have no menu entry to open them from.
            {QStringLiteral("settingsAction"), true},
        };
        // Only the phone shell has it; a desktop's server would not know what to make of it.
        if (m_phoneShell) {
            data.insert(QStringLiteral("customComponentPath"),
                        QStringLiteral("file:///usr/share/tarn-mobile/notifications/UpdateNotification.qml"));
        }
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
