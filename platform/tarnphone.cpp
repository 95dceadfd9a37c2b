#include "tarnphone.h"

#include "notificationsinterface.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QPointer>
#include <QRegularExpression>

namespace TarnPhone {

namespace {
const QString ServiceName = QStringLiteral("org.freedesktop.Notifications");
const QString ServicePath = QStringLiteral("/org/freedesktop/Notifications");
const QString UpgradeAction = QStringLiteral("upgrade");
const QString SettingsAction = QStringLiteral("settings");
const QString DesktopEntry = QStringLiteral("tarn-update-notifier");
// No call waits on the GUI thread; an unanswered one gives up after this.
const int CallTimeout = 5000;

// The shell's own images named by the notifier, as icon names every theme has: the
// program installs them into hicolor, the fallback of all themes.
QString iconName(const QString& icon)
{
    static const QString shellImage = QStringLiteral("image://ThemeImageProvider/");
    static const QHash<QString, QString> shellImages{
        {QStringLiteral("update_for_install"), QStringLiteral("updates-available")},
    };
    if (icon.startsWith(shellImage))
        return shellImages.value(icon.mid(shellImage.size()), DesktopEntry);
    // Icon names and file URLs are what the service itself takes.
    if (icon.isEmpty() || (icon.contains(QLatin1Char(':')) && !icon.startsWith(QLatin1String("file://"))))
        return DesktopEntry;
    return icon;
}

// The body as plain text for servers that would show markup literally.
QString withoutMarkup(const QString& text)
{
    QString plain = text;
    plain.replace(QRegularExpression(QStringLiteral("<br\\s*/?>"), QRegularExpression::CaseInsensitiveOption),
                  QStringLiteral("\n"));
    plain.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    plain.replace(QLatin1String("&lt;"), QLatin1String("<"));
    plain.replace(QLatin1String("&gt;"), QLatin1String(">"));
    plain.replace(QLatin1String("&quot;"), QLatin1String("\""));
    plain.replace(QLatin1String("&apos;"), QLatin1String("'"));
    plain.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    plain.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return plain;
}
} // namespace

TarnNotificationDbusNotifier::TarnNotificationDbusNotifier(const QVariantMap& data, bool sound,
                                                           TarnNotificationsModelDbusNotifier* model)
    : QObject(model), m_model(model), m_data(data), m_sound(sound)
{
}

void TarnNotificationDbusNotifier::updateDataMap(const QVariantMap& data)
{
    for (auto it = data.cbegin(); it != data.cend(); ++it)
        m_data.insert(it.key(), it.value());
    show();
}

void TarnNotificationDbusNotifier::show()
{
    if (m_sending) {
        m_sendAgain = true;
        return;
    }
    m_sending = true;
    m_model->notify(this);
}

// On failure the shown notification, if any, keeps its id so that the next update
// still replaces it.
void TarnNotificationDbusNotifier::onShown(uint id, const QString& owner)
{
    m_sending = false;
    if (id != 0) {
        m_id = id;
        m_owner = owner;
    }
    if (m_sendAgain) {
        m_sendAgain = false;
        show();
    }
}

TarnNotificationsModelDbusNotifier::TarnNotificationsModelDbusNotifier(QObject* parent) : QObject(parent) {}

TarnNotificationsModelDbusNotifier::~TarnNotificationsModelDbusNotifier() = default;

TarnNotificationDbusNotifier* TarnNotificationsModelDbusNotifier::addNotification(const int& type,
                                                                                  const bool& persistent,
                                                                                  const bool& sound,
                                                                                  const QVariantMap& data)
{
    Q_UNUSED(type)
    Q_UNUSED(persistent)
    auto* notification = new TarnNotificationDbusNotifier(data, sound, this);
    notification->show();
    return notification;
}

void TarnNotificationsModelDbusNotifier::removeNotification(const int& id, bool wait)
{
    if (id == 0)
        return;
    for (TarnNotificationDbusNotifier* notification : notifications()) {
        if (notification->m_id != static_cast<uint>(id))
            continue;
        notification->forget();
        QDBusPendingReply<> reply = service()->CloseNotification(static_cast<uint>(id));
        if (wait)
            reply.waitForFinished();
        return;
    }
}

OrgFreedesktopNotificationsInterface* TarnNotificationsModelDbusNotifier::service()
{
    if (m_service)
        return m_service;
    // Made on first use only: in desktop mode the notifier never talks to the service.
    QDBusConnection bus = QDBusConnection::sessionBus();
    m_watcher = new QDBusServiceWatcher(ServiceName, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &TarnNotificationsModelDbusNotifier::onServiceOwnerChanged);
    m_service = new OrgFreedesktopNotificationsInterface(ServiceName, ServicePath, bus, this);
    m_service->setTimeout(CallTimeout);
    // Subscribed before the first Notify, so no answer to it can be missed.
    connect(m_service, &OrgFreedesktopNotificationsInterface::ActionInvoked, this,
            &TarnNotificationsModelDbusNotifier::onActionInvoked);
    connect(m_service, &OrgFreedesktopNotificationsInterface::NotificationClosed, this,
            &TarnNotificationsModelDbusNotifier::onNotificationClosed);
    return m_service;
}

void TarnNotificationsModelDbusNotifier::notify(TarnNotificationDbusNotifier* notification)
{
    if (!m_capabilitiesOwner.isEmpty()) {
        sendNotify(notification);
        return;
    }
    // Also starts a server that the bus activates, before anything is shown.
    auto* call = new QDBusPendingCallWatcher(service()->GetCapabilities(), this);
    QPointer<TarnNotificationDbusNotifier> target = notification;
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, target](QDBusPendingCallWatcher* watcher) {
        watcher->deleteLater();
        const QDBusPendingReply<QStringList> reply = *watcher;
        if (!target)
            return;
        if (reply.isError()) { // no server, or none that answers
            target->onShown(0, QString());
            return;
        }
        m_capabilities = reply.value();
        m_capabilitiesOwner = reply.reply().service();
        sendNotify(target);
    });
}

void TarnNotificationsModelDbusNotifier::sendNotify(TarnNotificationDbusNotifier* notification)
{
    const QVariantMap& data = notification->m_data;
    const bool markup = m_capabilities.contains(QStringLiteral("body-markup"));
    QString caption = data.value(QStringLiteral("caption")).toString();
    if (caption.isEmpty())
        caption = QCoreApplication::applicationName();
    const QString description = data.value(QStringLiteral("description")).toString();
    // Only where the upgrade is what the notification is about: on another, the button would do nothing.
    QStringList actions;
    if (data.value(QStringLiteral("upgradeAction")).toBool())
        actions << UpgradeAction << tr("Upgrade");
    if (data.value(QStringLiteral("settingsAction")).toBool())
        actions << SettingsAction << tr("Settings");
    QVariantMap hints{
        // Kept in the shell's list after the action was used, until withdrawn.
        {QStringLiteral("resident"), true},
        {QStringLiteral("desktop-entry"), DesktopEntry},
    };
    if (!notification->m_sound)
        hints.insert(QStringLiteral("suppress-sound"), true);
    const QString component = data.value(QStringLiteral("customComponentPath")).toString();
    if (!component.isEmpty())
        hints.insert(QStringLiteral("x-tarn-custom-component-path"), component);

    auto* call = new QDBusPendingCallWatcher(
        service()->Notify(
            caption, notification->m_id, iconName(data.value(QStringLiteral("icon")).toString()), caption,
            markup ? description : withoutMarkup(description), actions, hints, 0 /* never expires */),
        this);
    QPointer<TarnNotificationDbusNotifier> target = notification;
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, target](QDBusPendingCallWatcher* watcher) {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        const uint id = reply.isError() ? 0 : reply.value();
        if (target)
            target->onShown(id, reply.isError() ? QString() : reply.reply().service());
        else if (id != 0)
            service()->CloseNotification(id); // withdrawn while on its way
    });
}

QList<TarnNotificationDbusNotifier*> TarnNotificationsModelDbusNotifier::notifications() const
{
    return findChildren<TarnNotificationDbusNotifier*>(QString(), Qt::FindDirectChildrenOnly);
}

void TarnNotificationsModelDbusNotifier::onActionInvoked(uint id, const QString& actionKey)
{
    if (id == 0 || (actionKey != UpgradeAction && actionKey != SettingsAction))
        return;
    for (TarnNotificationDbusNotifier* notification : notifications()) {
        if (notification->m_id == id) {
            // The receiver may run a dialog and delete objects meanwhile: nothing is
            // touched after this.
            emit notification->newData(actionKey);
            return;
        }
    }
}

void TarnNotificationsModelDbusNotifier::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason) // expired, dismissed or closed: gone all the same
    if (id == 0)
        return;
    for (TarnNotificationDbusNotifier* notification : notifications()) {
        if (notification->m_id == id)
            notification->forget();
    }
}

void TarnNotificationsModelDbusNotifier::onServiceOwnerChanged(const QString& service,
                                                               const QString& oldOwner,
                                                               const QString& newOwner)
{
    Q_UNUSED(service)
    Q_UNUSED(oldOwner)
    // The change may be reported after the new server already answered us; what
    // came from it stays.
    if (m_capabilitiesOwner != newOwner) {
        m_capabilities.clear();
        m_capabilitiesOwner.clear();
    }
    for (TarnNotificationDbusNotifier* notification : notifications()) {
        if (notification->m_owner == newOwner)
            continue;
        notification->forget();
        // A new or restarted server knows nothing of ours: they are shown again.
        if (!newOwner.isEmpty())
            notification->show();
    }
}

} // namespace TarnPhone
