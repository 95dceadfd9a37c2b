#include "notifiercore.h"

#include "startcommand.h"
#include "trayicon.h"

#include "privileged/messagebox.h"

void NotifierCore::runPackageManager(QString command)
{
    if (m_process->state() != QProcess::NotRunning || m_operation != Idle)
        return;
    if (m_packageManagerCommand.isEmpty()) {
        MessageBox::critical(nullptr, m_title,
                             tr("NO setting for package managment tool\nPlease verify settings"));
        return;
    }
    m_operation = PackageManager;
    if (m_trayIcon)
        m_trayIcon->setToolTip(tr("%1: runing package managment tool").arg(m_title));
    const QString commandLine = command.isEmpty() ? m_packageManagerCommand : command;
    if (!startCommand(m_process, commandLine, QIODevice::ReadWrite)) {
        // Nothing was started: the process object still names the previous program.
        m_process->setProgram(commandLine);
        m_process->setArguments(QStringList());
        onProcessError(QProcess::FailedToStart);
    }
}

void NotifierCore::doUpgrade()
{
    // The upgrade confirmation and progress dialogs are not wired in yet.
}

void NotifierCore::onNewData(QString data)
{
    if (data == QLatin1String("upgrade"))
        doUpgrade();
}
