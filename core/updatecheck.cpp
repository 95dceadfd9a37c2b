#include "notifiercore.h"

#include "restart.h"
#include "trayicon.h"

#include "privileged/commands.h"
#include "privileged/messagebox.h"
#include "privileged/systempaths.h"
#include "privileged/updatedialog.h"
#include "settings/settingsdialog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>

namespace {
QString modificationStamp(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? QString::number(info.lastModified().toMSecsSinceEpoch()) : QString();
}
} // namespace

// What the automatic check compares with the state after the last good result.
// Systems that switch APT's binary cache off never have the cache file; the lists
// directory and dpkg's status then tell whether anything changed.
QString NotifierCore::cacheStamp() const
{
    const QString cache = modificationStamp(m_cacheFilePath);
    if (!cache.isEmpty())
        return cache;
    const SystemPaths& paths = SystemPaths::current();
    return QStringLiteral("lists:%1;status:%2")
        .arg(modificationStamp(paths.aptListsDir), modificationStamp(paths.dpkgStatus));
}

// Besides the process and the operation: the upgrade confirmation is open (a check
// ending under it would find the upgrade running), or the settings dialog is waiting
// for the helper (the helper takes one action at a time, and clicks that arrive over
// D-Bus are not held back by the dialog).
bool NotifierCore::isBusy() const
{
    return m_process->state() != QProcess::NotRunning || m_operation != Idle || m_upgradeConfirmationOpen ||
           (m_settingsDialog && m_settingsDialog->isSaving());
}

bool NotifierCore::restartIfProgramChanged()
{
    const QDateTime now = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    if (now == m_programTime)
        return false;
    requestRestart();
    return true;
}

void NotifierCore::checkForUpdates()
{
    if (isBusy())
        return;
    if (restartIfProgramChanged())
        return;
    if (cacheStamp() == m_cacheStamp)
        return;
    startChecker(AutoCheck);
}

void NotifierCore::checkForUpdatesManual()
{
    if (isBusy())
        return;
    if (restartIfProgramChanged())
        return;
    silenceTray();
    UpdateDialog updateDialog;
    if (updateDialog.exec(defaultCommand(UpdateCommandIndex)) == 1) {
        if (m_trayIcon)
            m_trayIcon->setVisible(true);
        startChecker(ManualCheck);
    }
    restoreTray();
}

void NotifierCore::onAptCacheMayBeUpdated()
{
    checkForUpdates();
}

void NotifierCore::startChecker(Operation operation)
{
    m_operation = operation;
    m_process->start(SystemPaths::current().aptCheck, QStringList(), QIODevice::ReadWrite);
}

void NotifierCore::onProcessFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    switch (m_operation) {
    case AutoCheck:
    case ManualCheck:
        handleCheckerFinished(exitCode, exitStatus);
        break;
    case PackageManager:
        if (exitStatus == QProcess::CrashExit) {
            showProcessErrorBox(tr("Unable to run package managment tool"));
            m_operation = Idle;
        } else {
            m_operation = Idle;
            checkForUpdates();
        }
        break;
    case Upgrade:
    case Idle:
        break;
    }
}

void NotifierCore::handleCheckerFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    if (exitCode != 0) {
        showProcessErrorBox(tr("Unable to check for updates"));
        if (m_operation == AutoCheck)
            setTrayState(Error);
        m_operation = Idle;
        return;
    }

    const QString errorText = QString::fromLocal8Bit(m_process->readAllStandardError()).trimmed();
    const QString output = QString::fromLocal8Bit(m_process->readAllStandardOutput()).trimmed();
    if (errorText.startsWith(QLatin1Char('E'))) {
        showCheckError(errorText.mid(2));
        m_operation = Idle;
        setTrayState(Error);
        return;
    }

    static const QRegularExpression countsPattern(
        QRegularExpression::anchoredPattern(QStringLiteral("(\\d+);(\\d+);(\\d+)")));
    const QRegularExpressionMatch match = countsPattern.match(output);
    if (!match.hasMatch()) {
        showCheckError(tr("invalid output from %1").arg(SystemPaths::current().aptCheck));
        m_operation = Idle;
        setTrayState(Error);
        return;
    }

    // A count too large for an int converts to 0.
    m_upgradableCount = match.captured(1).toInt();
    m_newCount = match.captured(2).toInt();
    m_removedCount = match.captured(3).toInt();
    setTrayState(m_upgradableCount >= 1 || m_newCount > 0 ? UpdatesAvailable : UpToDate);

    if (m_operation == ManualCheck && m_upgradableCount == 0 && m_trayIcon) {
        const int duration = m_hideTray ? qMin(m_messageTimeout, m_hideTimer->interval()) : m_messageTimeout;
        m_trayIcon->showBalloon(m_title, tr("No updates are available"), QSystemTrayIcon::Information,
                                duration);
    }
    if (m_settingsDialog)
        m_settingsDialog->setUpgradablePackagesCount(m_upgradableCount);
    m_cacheStamp = cacheStamp();

    if (exitStatus == QProcess::CrashExit)
        showProcessErrorBox(tr("Unable to check for updates"));
    m_operation = Idle;
}

void NotifierCore::onProcessError(QProcess::ProcessError error)
{
    Q_UNUSED(error)
    switch (m_operation) {
    case AutoCheck:
    case ManualCheck:
        setTrayState(Error);
        break;
    case PackageManager:
        showProcessErrorBox(tr("Unable to run package managment tool"));
        break;
    case Upgrade:
    case Idle:
        break;
    }
    m_operation = Idle;
}

void NotifierCore::showProcessErrorBox(const QString& heading)
{
    const QString text =
        heading + QStringLiteral("<br>") +
        tr("Command: %1 %2").arg(m_process->program(), m_process->arguments().join(QLatin1Char(' '))) +
        QStringLiteral("<br>") + tr("Error: %1").arg(m_process->errorString());
    MessageBox::critical(nullptr, m_title, text);
}

void NotifierCore::showCheckError(const QString& text)
{
    if (!m_showMessage || !m_trayIcon || isInStartupQuietPeriod())
        return;
    m_trayIcon->showBalloon(m_title, tr("Error while checking apt cache: %1").arg(text),
                            QSystemTrayIcon::Critical, m_messageTimeout);
}

void NotifierCore::silenceTray()
{
    if (m_trayIcon) {
        m_trayIcon->hideBalloon();
        m_trayIcon->blockSignals(true);
    }
    m_menu->setEnabled(false);
    m_reminderTimer->blockSignals(true);
    m_checkTimer->blockSignals(true);
}

void NotifierCore::restoreTray()
{
    if (m_trayIcon)
        m_trayIcon->blockSignals(false);
    m_menu->setEnabled(true);
    m_reminderTimer->blockSignals(false);
    m_checkTimer->blockSignals(false);
}
