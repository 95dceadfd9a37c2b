#pragma once

#include "coretypes.h"
#include "updatefacts.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QSystemTrayIcon>

class BoundedProcess;
class LockWatch;
class NotifierWindows;
class QAction;
class QMenu;
class QTimer;
class QDialog;
class TrayIcon;

namespace TarnPhone {
class TarnNotificationsModelDbusNotifier;
class TarnNotificationDbusNotifier;
} // namespace TarnPhone

// The running notifier: settings, update checks, the tray icon (or one notification where
// there is no tray), reminders and the user's actions.
class NotifierCore : public QObject
{
    Q_OBJECT
public:
    NotifierCore(bool silent, Presentation presentation, QObject* parent);
    ~NotifierCore() override;

public slots:
    void showSettings();
    void readSettings();
    void runPackageManager(QString command = QString());
    void checkForUpdates();
    void checkForUpdatesManual();
    void doUpgrade();
    void repairPackageSystem();
    void onProcessFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void onProcessError(QProcess::ProcessError error);
    void onTrayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void onAptCacheMayBeUpdated();
    void hideTrayIcon();
    void showUpdates();
    void onNewData(QString data);
    void onRemindLaterActionTriggered(QAction* action);

private:
    void createMenu();
    void setTrayState(TrayState state);
    bool isNotificationDeferred() const;
    void showPhoneNotification();
    // Withdraws a notification of ours and forgets it; with wait, blocks until the server
    // has the request (for the exit).
    void removePhoneNotification(TarnPhone::TarnNotificationDbusNotifier*& notification, bool wait = false);
    void showCheckError(const QString& text);
    void showProcessErrorBox(const QString& heading);
    void showErrorBox(const QString& text);
    bool isProgramChanged() const;
    bool restartIfProgramChanged(bool openSettings = false);
    static bool isWindowOpen();
    bool isBusy() const;
    static QString modificationStamp(const QString& path);
    QString cacheStamp() const;
    bool isInStartupQuietPeriod() const;
    bool isSettingsDialogVisible() const;
    void startChecker(Operation operation);
    void handleCheckerFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void finishCheck();
    // The last count found something to upgrade or to install.
    bool hasPendingChanges() const { return m_upgradableCount > 0 || m_newCount > 0; }
    void failCheck(const QString& failure);
    void onCheckerTimedOut();
    void scheduleDeferralEnd();
    bool reviewDeferral();
    bool refreshRestartNotice();
    void announceRestart();
    QString withRestartNotice(const QString& tooltip) const;
    // The tray's tooltip, with a line naming whoever uses the package system meanwhile.
    void setToolTip(const QString& tooltip);
    void onDeferralEnded();
    void silenceTray();
    // The windows of the helper's actions, loaded on first use; null, after telling the
    // user, when they cannot be, or when the program restarts instead (forSettings: the new
    // copy opens the settings).
    NotifierWindows* windows(bool forSettings = false);
    void restoreTray();
    // After the upgrade window or the repair window: the tray as before, and a check.
    void endPackageRun();

    QMenu* m_menu = nullptr;
    QMenu* m_remindLaterMenu = nullptr;
    TrayIcon* m_trayIcon = nullptr;
    QPointer<QDialog> m_settingsDialog;
    // Set once the windows are loaded; they are whenever the settings dialog exists.
    NotifierWindows* m_windows = nullptr;
    int m_messageTimeout = 15000;
    qint64 m_skipDelay = -1;
    bool m_hideTray = false;
    bool m_showMessage = false;
    bool m_hideTrayDeferred = false;
    QElapsedTimer m_startupStopwatch;
    TrayState m_trayState = UpdatesAvailable;
    QString m_packageManagerCommand;
    QString m_upgradeCommand;
    QString m_fixBrokenCommand;
    QString m_title;
    QString m_cacheFilePath;
    QString m_programPath;
    QString m_programStamp;
    QString m_modulePath;
    QString m_moduleStamp;
    // Retries a restart that waits for our windows to close.
    QTimer* m_restartTimer = nullptr;
    QString m_cacheStamp;
    QString m_checkStartStamp;
    // Why the last check failed; empty after a good one.
    QString m_checkError;
    bool m_checkTimedOut = false;
    bool m_updateDialogOpen = false;
    // The restart an upgrade asked for: its text while the flag file is there, and
    // whether the user was told.
    QString m_restartText;
    LockWatch* m_lockWatch = nullptr;
    QString m_toolTip; // without the lock line
    bool m_restartAnnounced = false;
    QDateTime m_skipSince;
    BoundedProcess* m_process = nullptr;
    QAction* m_packageManagerAction = nullptr;
    QAction* m_upgradeAction = nullptr;
    QAction* m_repairAction = nullptr;
    Operation m_operation = Idle;
    int m_upgradableCount = 0;
    int m_newCount = 0;
    int m_removedCount = 0;
    // Found by the last check that counted.
    bool m_dpkgInterrupted = false;
    // Asked after a count with updates; the facts stay unknown after any other.
    UpdateFactsReader* m_factsReader = nullptr;
    UpdateFacts m_facts;
    QTimer* m_checkTimer = nullptr;
    QTimer* m_reminderTimer = nullptr;
    QTimer* m_hideTimer = nullptr;
    QTimer* m_checkerTimeout = nullptr;
    // Armed while a deferral runs.
    QTimer* m_deferralEndTimer = nullptr;
    TarnPhone::TarnNotificationsModelDbusNotifier* m_phoneModel = nullptr;
    TarnPhone::TarnNotificationDbusNotifier* m_phoneNotification = nullptr;
    bool m_phoneShell = false;
    TarnPhone::TarnNotificationDbusNotifier* m_restartPhoneNotification = nullptr;
    bool m_upgradeConfirmationOpen = false;
    bool m_errorBoxOpen = false;
};
