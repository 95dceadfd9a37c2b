#include "notifiercore.h"

#include "notifierwindows.h"
#include "startcommand.h"
#include "trayicon.h"

#include "base/boundedprocess.h"
#include "base/commands.h"

#include <QDialog>
#include <QMenu>

void NotifierCore::runPackageManager(QString command)
{
    if (m_process->state() != QProcess::NotRunning || m_operation != Idle)
        return;
    if (m_packageManagerCommand.isEmpty()) {
        showErrorBox(tr("NO setting for package management tool\nPlease verify settings"));
        return;
    }
    m_operation = PackageManager;
    if (m_trayIcon)
        setToolTip(tr("%1: running package management tool").arg(m_title));
    const QString commandLine = command.isEmpty() ? m_packageManagerCommand : command;
    // Nobody reads what it prints, and it may print without end.
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    if (!startCommand(m_process, commandLine, QIODevice::ReadWrite)) {
        // Nothing was started: the process object still names the previous program.
        m_process->setProgram(commandLine);
        m_process->setArguments(QStringList());
        onProcessError(QProcess::FailedToStart);
    }
}

void NotifierCore::doUpgrade()
{
    // No upgrade can run until dpkg has finished its work: whatever asks for one (the icon, a
    // balloon, the notification's action) gets the repair.
    if (m_dpkgInterrupted) {
        repairPackageSystem();
        return;
    }
    if (isBusy() || (m_upgradableCount == 0 && m_newCount == 0))
        return;
    if (m_upgradeCommand.isEmpty()) {
        showErrorBox(tr("Upgrade command does not set\nPlease verify settings"));
        return;
    }
    NotifierWindows* const windows = this->windows();
    if (!windows)
        return;
    silenceTray();

    // While the confirmation is open the core counts as busy: no check starts, so
    // none can end while the upgrade runs.
    m_upgradeConfirmationOpen = true;
    const int confirmed = windows->confirmUpgrade(!m_trayIcon);
    m_upgradeConfirmationOpen = false;
    if (confirmed != QDialog::Accepted) {
        restoreTray();
        return;
    }

    m_operation = Upgrade;
    windows->runUpgrade(defaultCommand(UpdateCommandIndex), m_upgradeCommand, m_fixBrokenCommand);
    endPackageRun();
}

void NotifierCore::endPackageRun()
{
    m_operation = Idle;
    restoreTray();
    // Whatever the files' times say: the tray must not keep the count or the repair state
    // from before.
    m_cacheStamp.clear();
    checkForUpdates();
}

void NotifierCore::repairPackageSystem()
{
    if (isBusy() || !m_dpkgInterrupted)
        return;
    NotifierWindows* const windows = this->windows();
    if (!windows)
        return;
    silenceTray();
    m_operation = Upgrade;
    windows->runRepair(m_fixBrokenCommand);
    endPackageRun();
}

void NotifierCore::onNewData(QString data)
{
    if (data == QLatin1String("upgrade"))
        doUpgrade();
    else if (data == QLatin1String("settings") && m_menu->isEnabled()) // as the tray menu's entry
        showSettings();
}
