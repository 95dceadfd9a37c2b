#include "tarnphone.h"

#include "notificationsinterface.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QRegularExpression>

namespace TarnPhone {

namespace {
const QString ServiceName = QStringLiteral("org.freedesktop.Notifications");
const QString ServicePath = QStringLiteral("/org/freedesktop/Notifications");
const QString UpgradeAction = QStringLiteral("upgrade");
const QString DesktopEntry = QStringLiteral("tarn-update-notifier");
// Calls wait for the server on the GUI thread: a hung server must not freeze the
// notifier for libdbus's 25 s.
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
    QString owner;
    const uint id = m_model->notify(m_id, m_data, m_sound, &owner);
    // On failure the shown notification, if any, keeps its id so that the next
    // update still replaces it.
    if (id != 0) {
        m_id = id;
        m_owner = owner;
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
    if (notification->m_id == 0) {
        delete notification;
        return nullptr;
    }
    return notification;
}

void TarnNotificationsModelDbusNotifier::removeNotification(const int& id)
{
    if (id == 0)
        return;
    for (TarnNotificationDbusNotifier* notification : notifications()) {
        if (notification->m_id != static_cast<uint>(id))
            continue;
        notification->forget();
        // Waited for: the notifier may be on its way out, and an unsent call would
        // leave the notification behind.
        QDBusPendingReply<> reply = service()->CloseNotification(static_cast<uint>(id));
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

bool TarnNotificationsModelDbusNotifier::bodyMarkupSupported()
{
    if (m_capabilitiesOwner.isEmpty()) {
        // Also starts a server that the bus activates, before anything is shown.
        QDBusPendingReply<QStringList> reply = service()->GetCapabilities();
        reply.waitForFinished();
        if (reply.isError())
            return false;
        m_capabilities = reply.value();
        m_capabilitiesOwner = reply.reply().service();
    }
    return m_capabilities.contains(QStringLiteral("body-markup"));
}

uint TarnNotificationsModelDbusNotifier::notify(uint replacesId, const QVariantMap& data, bool sound,
                                                QString* owner)
{
    const bool markup = bodyMarkupSupported();
    if (m_capabilitiesOwner.isEmpty())
        return 0; // no server, or none that answers

    QString caption = data.value(QStringLiteral("caption")).toString();
    if (caption.isEmpty())
        caption = QCoreApplication::applicationName();
    const QString description = data.value(QStringLiteral("description")).toString();
    const QStringList actions{UpgradeAction, tr("Upgrade")};
    QVariantMap hints{
        // Kept in the shell's list after the action was used, until withdrawn.
        {QStringLiteral("resident"), true},
        {QStringLiteral("desktop-entry"), DesktopEntry},
    };
    if (!sound)
        hints.insert(QStringLiteral("suppress-sound"), true);
    const QString component = data.value(QStringLiteral("customComponentPath")).toString();
    if (!component.isEmpty())
        hints.insert(QStringLiteral("x-tarn-custom-component-path"), component);

    QDBusPendingReply<uint> reply = service()->Notify(
        caption, replacesId, iconName(data.value(QStringLiteral("icon")).toString()), caption,
        markup ? description : withoutMarkup(description), actions, hints, 0 /* never expires */);
    reply.waitForFinished();
    if (reply.isError())
        return 0;
    *owner = reply.reply().service();
    return reply.value();
}

QList<TarnNotificationDbusNotifier*> TarnNotificationsModelDbusNotifier::notifications() const
{
    return findChildren<TarnNotificationDbusNotifier*>(QString(), Qt::FindDirectChildrenOnly);
}

void TarnNotificationsModelDbusNotifier::onActionInvoked(uint id, const QString& actionKey)
{
    if (id == 0 || actionKey != UpgradeAction)
        return;
    for (TarnNotificationDbusNotifier* notification : notifications()) {
        if (notification->m_id == id) {
            // The receiver may run a dialog and delete objects meanwhile: nothing is
            // touched after this.
            emit notification->newData(UpgradeAction);
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
        if (notification->m_owner != newOwner)
            notification->forget();
    }
}

} // namespace TarnPhone
