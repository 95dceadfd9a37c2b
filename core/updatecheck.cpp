#include "notifiercore.h"

#include "lockwatch.h"
#include "notifierwindows.h"
#include "restart.h"
#include "trayicon.h"

#include "base/boundedprocess.h"
#include "base/commands.h"
#include "base/messagebox.h"
#include "base/systempaths.h"
#include "pkgsystem/dpkgstate.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <optional>

namespace {
constexpr int DefaultCheckerTimeoutMs = 10 * 60 * 1000;

// Long enough for a slow machine to build APT's cache. TARN_CHECKER_TIMEOUT_MS, read
// once, shortens it for tests.
int checkerTimeoutMs()
{
    static const int limit = [] {
        bool ok = false;
        const int value = qEnvironmentVariableIntValue("TARN_CHECKER_TIMEOUT_MS", &ok);
        return ok && value > 0 ? value : DefaultCheckerTimeoutMs;
    }();
    return limit;
}

// APT's first error line ("E: ..."), without its prefix; empty when there is none.
QString firstAptError(const QString& errors)
{
    const QStringList lines = errors.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("E:")))
            return line.mid(2).trimmed();
    }
    return QString();
}

// A failure as the tray tells it: its first line, cut to a length a balloon can show (a
// checker may print anything, a megabyte on one line included).
QString failureSummary(const QString& reason)
{
    constexpr int LongestSummary = 200;
    const QString line = reason.section(QLatin1Char('\n'), 0, 0).trimmed();
    return line.size() > LongestSummary ? line.left(LongestSummary) + QChar(0x2026) : line;
}

// The checker's answer "N;N;N" (ASCII digits) as three counts; nothing for anything else.
// Parsed by hand: a regular expression would load and compile PCRE2 for this alone.
std::optional<std::array<int, 3>> parseCounts(const QString& output)
{
    const QVector<QStringRef> parts = output.splitRef(QLatin1Char(';'));
    if (parts.size() != 3)
        return std::nullopt;
    std::array<int, 3> counts = {};
    for (int i = 0; i < 3; ++i) {
        const QStringRef& part = parts.at(i);
        const bool digits = !part.isEmpty() && std::all_of(part.begin(), part.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
        if (!digits)
            return std::nullopt;
        counts[size_t(i)] = part.toInt(); // a count too large for an int converts to 0
    }
    return counts;
}
} // namespace

// One stat call: QFileInfo would add an access call and, for its local time, stats of
// /etc/localtime, on every automatic check.
QString NotifierCore::modificationStamp(const QString& path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QString();
    return QStringLiteral("%1.%2").arg(status.st_mtim.tv_sec).arg(status.st_mtim.tv_nsec);
}

// What the automatic check compares with the state after the last good result: all
// that APT reads. A cache file alone is not enough: where APT's configuration switches
// the cache off (or moves it), an old file lies around unchanged however the system changes.
QString NotifierCore::cacheStamp() const
{
    const SystemPaths& paths = SystemPaths::current();
    return QStringLiteral("cache:%1;lists:%2;status:%3;journal:%4")
        .arg(modificationStamp(m_cacheFilePath), modificationStamp(paths.aptListsDir),
             modificationStamp(paths.dpkgStatus), modificationStamp(paths.dpkgJournalDir));
}

// Besides the process and the operation: the package-list update or the upgrade
// confirmation is open (a check ending under it would find the helper at work), or the
// settings dialog is waiting for the helper (the helper takes one action at a time, and
// clicks that arrive over D-Bus are not held back by the dialog).
bool NotifierCore::isBusy() const
{
    return m_process->state() != QProcess::NotRunning || m_operation != Idle || m_upgradeConfirmationOpen ||
           m_updateDialogOpen || (m_settingsDialog && m_windows->isSaving(m_settingsDialog));
}

bool NotifierCore::isProgramChanged() const
{
    return modificationStamp(m_programPath) != m_programStamp ||
           modificationStamp(m_modulePath) != m_moduleStamp;
}

bool NotifierCore::isWindowOpen()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    return std::any_of(widgets.begin(), widgets.end(), [](const QWidget* widget) {
        return widget->isVisible() && qobject_cast<const QDialog*>(widget);
    });
}

// An upgrade replaced the program or its windows' module: the new copy takes over, but only
// while no window of ours is open (the user's edits would be lost; the timer tries again
// until they are closed), and only once it runs (dpkg may still be unpacking it: the next
// check tries again).
bool NotifierCore::restartIfProgramChanged(bool openSettings)
{
    if (!isProgramChanged())
        return false;
    if (isWindowOpen()) {
        m_restartTimer->start();
        return false;
    }
    m_restartTimer->stop();
    if (!programRuns(m_programPath))
        return false;
    requestRestart(openSettings);
    return true;
}

void NotifierCore::checkForUpdates()
{
    if (refreshRestartNotice())
        setTrayState(m_trayState);
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
    NotifierWindows* const windows = this->windows();
    if (!windows)
        return;
    silenceTray();
    // Busy meanwhile: APT's hook reports the update's end, and a check started by it
    // would leave the manual one nothing to do.
    m_updateDialogOpen = true;
    const int updated = windows->runUpdate(defaultCommand(UpdateCommandIndex));
    m_updateDialogOpen = false;
    if (updated == 1) {
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
    // Taken now: a change while the checker runs is seen by the next check.
    m_checkStartStamp = cacheStamp();
    m_checkTimedOut = false;
    // Between checks the lock folders' events keep the lock line current.
    m_lockWatch->refresh();
    m_checkerTimeout->start(checkerTimeoutMs());
    // The package manager's output went nowhere; the checker's answer is read.
    m_process->setStandardOutputFile(QString());
    m_process->setStandardErrorFile(QString());
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
        m_operation = Idle;
        if (exitStatus == QProcess::CrashExit) {
            showProcessErrorBox(tr("Unable to run package management tool"));
        } else {
            setTrayState(m_trayState); // its tooltip goes, whatever the check finds
            checkForUpdates();
        }
        break;
    case Upgrade:
    case Idle:
        break;
    }
}

void NotifierCore::onCheckerTimedOut()
{
    m_checkTimedOut = true;
    m_process->killGroup();
}

void NotifierCore::handleCheckerFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    m_checkerTimeout->stop();
    const QString program = SystemPaths::current().aptCheck;
    const QString errors = QString::fromLocal8Bit(m_process->errors());
    const QString output = QString::fromLocal8Bit(m_process->output()).trimmed();
    const QString aptError = firstAptError(errors);
    if (m_checkTimedOut) {
        failCheck(
            tr("%1 gave no answer within %n second(s)", nullptr, checkerTimeoutMs() / 1000).arg(program));
        return;
    }
    if (m_process->overflowed()) {
        failCheck(tr("%1 printed more than expected").arg(program));
        return;
    }
    // APT's own words first: its failures also end with a non-zero status.
    if (!aptError.isEmpty()) {
        failCheck(aptError);
        return;
    }
    if (exitStatus == QProcess::CrashExit) {
        failCheck(tr("%1 crashed").arg(program));
        return;
    }
    if (exitCode != 0) {
        failCheck(tr("%1 ended with status %2").arg(program).arg(exitCode));
        return;
    }

    const std::optional<std::array<int, 3>> counts = parseCounts(output);
    if (!counts) {
        failCheck(tr("invalid output from %1").arg(program));
        return;
    }
    m_upgradableCount = counts->at(0);
    m_newCount = counts->at(1);
    m_removedCount = counts->at(2);
    m_checkError.clear();
    m_facts = UpdateFacts();
    // The check stays busy until the facts are in; they come before the balloon that tells them.
    if (hasPendingChanges())
        m_factsReader->start(checkerTimeoutMs());
    else
        finishCheck();
}

void NotifierCore::finishCheck()
{
    refreshRestartNotice();
    m_dpkgInterrupted =
        DpkgState::isInterrupted(SystemPaths::current().dpkgStatus, SystemPaths::current().dpkgJournalDir);
    if (m_dpkgInterrupted)
        setTrayState(RepairNeeded);
    else
        setTrayState(hasPendingChanges() ? UpdatesAvailable : UpToDate);

    if (m_operation == ManualCheck && m_upgradableCount == 0 && m_trayIcon) {
        const int duration = m_hideTray ? qMin(m_messageTimeout, m_hideTimer->interval()) : m_messageTimeout;
        m_trayIcon->showBalloon(m_title, tr("No updates are available"), QSystemTrayIcon::Information,
                                duration);
    }
    if (m_settingsDialog)
        m_windows->setUpgradablePackagesCount(m_settingsDialog, m_upgradableCount);
    m_cacheStamp = m_checkStartStamp;
    m_operation = Idle;
}

// The tray shows the failure; an automatic check tells it once (the same failure
// again stays quiet), a manual one always, and the next tick tries again.
void NotifierCore::failCheck(const QString& failure)
{
    const QString reason = failureSummary(failure);
    const bool manual = m_operation == ManualCheck;
    const bool repeated = reason == m_checkError;
    m_operation = Idle;
    m_cacheStamp.clear();
    m_checkError = reason;
    setTrayState(Error);
    if (manual)
        showErrorBox(tr("Unable to check for updates: %1").arg(reason));
    else if (!repeated)
        showCheckError(reason);
}

void NotifierCore::onProcessError(QProcess::ProcessError error)
{
    switch (m_operation) {
    case AutoCheck:
    case ManualCheck:
        // Other errors end in finished(), which tells them.
        if (error == QProcess::FailedToStart) {
            m_checkerTimeout->stop();
            failCheck(m_process->errorString());
        }
        return;
    case PackageManager:
        m_operation = Idle;
        setTrayState(m_trayState);
        showProcessErrorBox(tr("Unable to run package management tool"));
        return;
    case Upgrade:
    case Idle:
        break;
    }
    m_operation = Idle;
}

void NotifierCore::showProcessErrorBox(const QString& heading)
{
    const QString text =
        heading + QLatin1Char('\n') +
        tr("Command: %1 %2").arg(m_process->program(), m_process->arguments().join(QLatin1Char(' '))) +
        QLatin1Char('\n') + tr("Error: %1").arg(m_process->errorString());
    showErrorBox(text);
}

// One box at a time: a click on the icon under an open box would stack another on it.
void NotifierCore::showErrorBox(const QString& text)
{
    if (m_errorBoxOpen)
        return;
    m_errorBoxOpen = true;
    MessageBox::critical(nullptr, m_title, text);
    m_errorBoxOpen = false;
}

void NotifierCore::showCheckError(const QString& text)
{
    if (!m_showMessage || !m_trayIcon || isInStartupQuietPeriod())
        return;
    // Notification servers read the body as markup.
    m_trayIcon->showBalloon(m_title, tr("Error while checking apt cache: %1").arg(text.toHtmlEscaped()),
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
