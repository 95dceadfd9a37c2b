#include "notifiercore.h"

#include "deferral.h"
#include "trayicon.h"
#include "updatetext.h"

#include "settings/settingsdialog.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTimer>

namespace {
// No balloon this long after a silent start: the session is still settling.
constexpr qint64 StartupQuietPeriodMs = 10000;

QIcon updatesAvailableIcon()
{
    return QIcon::fromTheme(QStringLiteral("updates-available"),
                            QIcon(QStringLiteral(":/icons/categories-updates-available.svg")));
}

QIcon noUpdatesIcon()
{
    return QIcon::fromTheme(QStringLiteral("updates-unavailable"),
                            QIcon(QStringLiteral(":/icons/categories-updates-unavailable.svg")));
}
} // namespace

void NotifierCore::setTrayState(TrayState state)
{
    m_hideTimer->stop();
    switch (state) {
    case Error:
        if (m_trayIcon) {
            m_trayIcon->setIcon(noUpdatesIcon());
            m_trayIcon->setToolTip(tr("Error"));
            m_trayIcon->setVisible(true);
        }
        m_upgradeAction->setEnabled(false);
        removePhoneNotification();
        m_removedCount = 0;
        m_upgradableCount = 0;
        break;
    case UpToDate:
        if (m_trayIcon) {
            m_trayIcon->setIcon(noUpdatesIcon());
            m_trayIcon->setToolTip(tr("%1: system is up-to-date").arg(m_title));
            if (m_trayIcon->isVisible() && m_hideTray)
                m_hideTimer->start();
        }
        removePhoneNotification();
        m_upgradeAction->setEnabled(false);
        break;
    case UpdatesAvailable:
        if (!m_trayIcon) {
            // The start-up re-applies this state before any check: there is nothing to tell yet.
            const bool anything = m_upgradableCount > 0 || m_newCount > 0;
            if (anything && (!isNotificationDeferred() || isSettingsDialogVisible()))
                showPhoneNotification();
        } else {
            m_trayIcon->setIcon(updatesAvailableIcon());
            m_trayIcon->setToolTip(updatesTooltip(m_title, m_upgradableCount, m_newCount, m_removedCount));
            if (isNotificationDeferred() && m_hideTrayDeferred)
                m_trayIcon->setVisible(isSettingsDialogVisible());
            else
                m_trayIcon->setVisible(true);
        }
        m_upgradeAction->setEnabled(true);
        if (m_trayState != UpdatesAvailable)
            showUpdates();
        break;
    }
    m_trayState = state;
}

void NotifierCore::showUpdates()
{
    if (!m_showMessage || m_upgradableCount <= 0 || !m_trayIcon || isNotificationDeferred() ||
        isInStartupQuietPeriod())
        return;
    m_trayIcon->showBalloon(
        m_title,
        tr("There are %n upgradable packages\nClick to run system upgrade", nullptr, m_upgradableCount),
        QSystemTrayIcon::Warning, m_messageTimeout);
}

bool NotifierCore::isInStartupQuietPeriod() const
{
    return m_startupStopwatch.isValid() && m_startupStopwatch.elapsed() < StartupQuietPeriodMs;
}

bool NotifierCore::isNotificationDeferred() const
{
    return isDeferred(m_skipDelay, m_skipSince, QDateTime::currentDateTime());
}

void NotifierCore::onRemindLaterActionTriggered(QAction* action)
{
    m_skipDelay = qint64(action->data().toInt()) * 3600;
    m_skipSince = QDateTime::currentDateTime();
    QSettings settings;
    settings.setValue(QStringLiteral("General/skipNotificationDelay"), m_skipDelay);
    settings.setValue(QStringLiteral("General/skipNotificationSince"), m_skipSince);
    if (m_hideTrayDeferred)
        hideTrayIcon();
}

void NotifierCore::hideTrayIcon()
{
    if (!m_trayIcon || isSettingsDialogVisible())
        return;
    m_trayIcon->hide();
    m_menu->hide();
}

void NotifierCore::onTrayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger && m_upgradableCount >= 1)
        doUpgrade();
}
