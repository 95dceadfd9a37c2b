#include "notifiercore.h"

#include "deferral.h"
#include "lockwatch.h"
#include "restartnotice.h"
#include "trayicon.h"
#include "updatetext.h"

#include "base/systempaths.h"
#include "platform/tarnphone.h"

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

QIcon repairNeededIcon()
{
    return QIcon::fromTheme(QStringLiteral("dialog-warning"), updatesAvailableIcon());
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
    m_repairAction->setEnabled(state == RepairNeeded);
    switch (state) {
    case Error:
        if (m_trayIcon) {
            m_trayIcon->setIcon(noUpdatesIcon());
            setToolTip(
                tr("%1: unable to check for updates<br>%2").arg(m_title, m_checkError.toHtmlEscaped()));
            m_trayIcon->setVisible(true);
        }
        m_upgradeAction->setEnabled(false);
        removePhoneNotification(m_phoneNotification);
        m_removedCount = 0;
        m_upgradableCount = 0;
        break;
    case UpToDate:
        if (m_trayIcon) {
            m_trayIcon->setIcon(noUpdatesIcon());
            setToolTip(withRestartNotice(tr("%1: system is up-to-date").arg(m_title)));
            if (m_trayIcon->isVisible() && m_hideTray)
                m_hideTimer->start();
        }
        removePhoneNotification(m_phoneNotification);
        m_upgradeAction->setEnabled(false);
        break;
    case UpdatesAvailable:
        if (!m_trayIcon) {
            // The start-up re-applies this state before any check: there is nothing to tell yet.
            if (hasPendingChanges() && (!isNotificationDeferred() || isSettingsDialogVisible()))
                showPhoneNotification();
        } else {
            m_trayIcon->setIcon(updatesAvailableIcon());
            setToolTip(withRestartNotice(
                updatesTooltip(m_title, m_upgradableCount, m_newCount, m_removedCount, m_facts)));
            if (isNotificationDeferred() && m_hideTrayDeferred)
                m_trayIcon->setVisible(isSettingsDialogVisible());
            else
                m_trayIcon->setVisible(true);
        }
        m_upgradeAction->setEnabled(true);
        // Without a tray the notification shown above is the news itself.
        if (m_trayIcon && m_trayState != UpdatesAvailable)
            showUpdates();
        break;
    case RepairNeeded:
        // Shown whatever the hiding and the reminders say: until dpkg has finished, no
        // upgrade can run.
        if (m_trayIcon) {
            m_trayIcon->setIcon(repairNeededIcon());
            setToolTip(withRestartNotice(
                tr("%1: dpkg was interrupted, the package system needs a repair").arg(m_title)));
            m_trayIcon->setVisible(true);
        } else {
            showPhoneNotification();
        }
        m_upgradeAction->setEnabled(false);
        break;
    }
    m_trayState = state;
}

void NotifierCore::showUpdates()
{
    if (reviewDeferral())
        return;
    if (!m_trayIcon) {
        // Shown again, also after the user closed it.
        if (m_showMessage && m_trayState == UpdatesAvailable && hasPendingChanges() &&
            !isNotificationDeferred())
            showPhoneNotification();
        return;
    }
    if (!m_showMessage || m_upgradableCount <= 0 || isNotificationDeferred() || isInStartupQuietPeriod())
        return;
    const QString text =
        m_facts.security > 0
            ? tr("There are %n upgradable packages (security updates: %1)\nClick to run system upgrade",
                 nullptr, m_upgradableCount)
                  .arg(m_facts.security)
            : tr("There are %n upgradable packages\nClick to run system upgrade", nullptr, m_upgradableCount);
    m_trayIcon->showBalloon(m_title, text, QSystemTrayIcon::Warning, m_messageTimeout);
}

bool NotifierCore::isInStartupQuietPeriod() const
{
    return m_startupStopwatch.isValid() && m_startupStopwatch.elapsed() < StartupQuietPeriodMs;
}

bool NotifierCore::isNotificationDeferred() const
{
    return isDeferred(m_skipDelay, m_skipSince, SystemPaths::current().now());
}

void NotifierCore::onRemindLaterActionTriggered(QAction* action)
{
    m_skipDelay = qint64(action->data().toInt()) * 3600;
    m_skipSince = SystemPaths::current().now();
    QSettings settings;
    settings.setValue(QStringLiteral("General/skipNotificationDelay"), m_skipDelay);
    settings.setValue(QStringLiteral("General/skipNotificationSince"), m_skipSince);
    if (m_hideTrayDeferred)
        hideTrayIcon();
    scheduleDeferralEnd();
}

void NotifierCore::scheduleDeferralEnd()
{
    // QTimer takes an int: a month is re-armed on the way. Never at 0 ms: that would
    // keep a core busy if the end were somehow never reached.
    constexpr qint64 LongestWaitMs = 24LL * 3600 * 1000;
    constexpr qint64 ShortestWaitMs = 1000;
    m_deferralEndTimer->stop();
    const QDateTime now = SystemPaths::current().now();
    if (m_skipSince.isValid() && m_skipSince > now) {
        // Chosen while the clock was ahead: counted from now, and kept so.
        m_skipSince = now;
        QSettings().setValue(QStringLiteral("General/skipNotificationSince"), m_skipSince);
    }
    if (!isNotificationDeferred())
        return;
    const qint64 remainingMs =
        m_skipSince.isValid() ? now.msecsTo(m_skipSince.addSecs(m_skipDelay)) : LongestWaitMs;
    m_deferralEndTimer->start(int(qBound(ShortestWaitMs, remainingMs, LongestWaitMs)));
}

// On every tick, by the wall clock: the deferral's timer stands still while the machine
// sleeps, and the clock may have been set back since the deferral began. True when the
// deferral ended here (and the tray was told).
bool NotifierCore::reviewDeferral()
{
    if (m_skipSince.isValid() && m_skipSince > SystemPaths::current().now())
        scheduleDeferralEnd();
    if (!m_deferralEndTimer->isActive() || isNotificationDeferred())
        return false;
    m_deferralEndTimer->stop();
    onDeferralEnded();
    return true;
}

// The icon hidden for the deferral comes back, and with it the reminders.
void NotifierCore::onDeferralEnded()
{
    if (isNotificationDeferred()) {
        scheduleDeferralEnd();
        return;
    }
    setTrayState(m_trayState);
    if (m_trayIcon)
        showUpdates();
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
    if (reason == QSystemTrayIcon::Trigger && (m_upgradableCount >= 1 || m_dpkgInterrupted))
        doUpgrade();
}

void NotifierCore::setToolTip(const QString& tooltip)
{
    m_toolTip = tooltip;
    const QString lockLine = m_lockWatch->text();
    m_trayIcon->setToolTip(lockLine.isEmpty() ? tooltip
                                              : tooltip + QStringLiteral("<br>") + lockLine.toHtmlEscaped());
}

QString NotifierCore::withRestartNotice(const QString& tooltip) const
{
    return m_restartText.isEmpty() ? tooltip
                                   : tooltip + QStringLiteral("<br>") + m_restartText.toHtmlEscaped();
}

// True when the restart notice changed; it is told once, and withdrawn when the flag goes.
bool NotifierCore::refreshRestartNotice()
{
    const RestartNotice notice = RestartNotice::read();
    const QString text = notice.needed ? notice.text() : QString();
    const bool changed = text != m_restartText;
    m_restartText = text;
    if (text.isEmpty()) {
        m_restartAnnounced = false;
        removePhoneNotification(m_restartPhoneNotification);
    }
    announceRestart();
    return changed;
}

void NotifierCore::announceRestart()
{
    if (m_restartText.isEmpty() || m_restartAnnounced)
        return;
    if (m_trayIcon) {
        if (!m_showMessage || isInStartupQuietPeriod())
            return;
        m_trayIcon->showBalloon(m_title, m_restartText, QSystemTrayIcon::Information, m_messageTimeout);
    } else {
        m_restartPhoneNotification =
            m_phoneModel->addNotification(5, false, false,
                                          {{QStringLiteral("caption"), m_title},
                                           {QStringLiteral("description"), m_restartText},
                                           {QStringLiteral("icon"), QStringLiteral("system-reboot")}});
        if (!m_restartPhoneNotification)
            return;
    }
    m_restartAnnounced = true;
}
