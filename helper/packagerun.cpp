#include "packagerun.h"

#include "aptconfigvalues.h"
#include "aptlocks.h"
#include "childprocess.h"
#include "pkgsystem/dpkgstate.h"
#include "privileged/helpercontract.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <memory>

using namespace HelperContract;

namespace {

// APT's words (the commands run without a locale) for "another package manager holds the
// lock": the first line decides, the others belong to the same complaint.
bool isLockBusy(const QString& line)
{
    return line.contains(QLatin1String("Could not get lock")) ||
           (line.startsWith(QLatin1String("dpkg: error: ")) &&
            line.contains(QLatin1String(" locked by another process")));
}

bool isLockComplaint(const QString& line)
{
    return line.startsWith(QLatin1String("E: Unable to lock")) ||
           line.startsWith(QLatin1String("E: Unable to acquire the dpkg frontend lock")) ||
           line.startsWith(QLatin1String("N: Be aware that removing the lock file")) ||
           line.startsWith(QLatin1String("Note: removing the lock file")) ||
           line.contains(QLatin1String("Teams/Dpkg/FAQ#db-lock"));
}

// APT's advice when an upgrade fails on unmet dependencies.
bool isBrokenPackagesHint(const QString& line)
{
    return line.contains(QLatin1String("Unmet dependencies")) || line.contains(QLatin1String("-f install")) ||
           line.contains(QLatin1String("--fix-broken install"));
}

// How long output may stay open after the program itself has ended: a daemon started by a
// maintainer script can keep it forever.
constexpr int LeftOutputMs = 2000;
constexpr int PollMs = 100;

} // namespace

PackageRun::PackageRun(const HelperSettings& settings, ActionChannel& channel)
    : m_settings(settings), m_channel(channel)
{
}

QString PackageRun::update(const CheckedCommand& update)
{
    sendMessage(UpdatingMessage);
    return status(run(update, m_settings.updateLimitMs));
}

QString PackageRun::upgrade(const CheckedCommand* update, const CheckedCommand& upgrade,
                            const CheckedCommand* fixBroken)
{
    // Whatever ended the steps, dpkg may have been left half done before they began or during them.
    const Result result = upgradeSteps(update, upgrade, fixBroken);
    if (findDpkgInterrupted())
        sendOutput(QCoreApplication::translate(
            "PackageRun", "dpkg was interrupted and left packages half installed. Run \"dpkg "
                          "--configure -a\" as root to finish their setup."));
    return status(result);
}

PackageRun::Result PackageRun::upgradeSteps(const CheckedCommand* update, const CheckedCommand& upgrade,
                                            const CheckedCommand* fixBroken)
{
    if (update) {
        sendMessage(UpdatingMessage);
        const Result updated = run(*update, m_settings.updateLimitMs);
        // apt-get update fails when a single repository cannot be reached; the lists APT
        // still has are good enough to upgrade from.
        if (updated == Result::Canceled || updated == Result::FailedToStart)
            return updated;
        if (updated != Result::Success)
            sendOutput(QCoreApplication::translate(
                "PackageRun", "Not all package lists could be updated; upgrading with the lists "
                              "APT has."));
    }
    sendMessage(UpgradingMessage);
    const Result result = run(upgrade);
    if (result != Result::BrokenPackages || !fixBroken)
        return result;
    sendMessage(FixingBrokenMessage);
    const Result fixed = run(*fixBroken);
    if (fixed != Result::Success)
        return fixed;
    sendMessage(UpgradingMessage);
    return run(upgrade);
}

QString PackageRun::repair(const CheckedCommand* fixBroken)
{
    const Result result = repairSteps(fixBroken);
    findDpkgInterrupted();
    return status(result);
}

PackageRun::Result PackageRun::repairSteps(const CheckedCommand* fixBroken)
{
    CheckedCommand configure;
    if (!pendingConfigureCommand(&configure))
        return Result::FailedToStart;
    sendMessage(RepairingMessage);
    const Result configured = run(configure);
    // APT's repair may still mend what dpkg could not configure for want of a dependency.
    if (!fixBroken || configured == Result::Canceled || configured == Result::FailedToStart)
        return configured;
    sendMessage(FixingBrokenMessage);
    return run(*fixBroken);
}

bool PackageRun::pendingConfigureCommand(CheckedCommand* command)
{
    QString error;
    const QString status = dpkgStatusFile(&error);
    const QStringList options =
        error.isEmpty() ? aptConfigList(m_settings, QStringLiteral("DPkg::Options"), &error) : QStringList();
    if (error.isEmpty() && status.isEmpty())
        error = QCoreApplication::translate("PackageRun",
                                            "Cannot read the package database's location from APT's "
                                            "configuration");
    if (!error.isEmpty()) {
        sendOutput(error);
        return false;
    }
    command->program = QStringLiteral("dpkg");
    // Config files the administrator changed are kept, as the upgrade keeps them: nobody is there
    // to answer dpkg's question.
    command->arguments = QStringList{QStringLiteral("--force-confdef"), QStringLiteral("--force-confold")};
    // APT hands these to every dpkg it runs; they may move dpkg's root and database. Without
    // them, dpkg uses the database whose status file APT reads.
    const bool placed = std::any_of(options.cbegin(), options.cend(), [](const QString& option) {
        return option.startsWith(QLatin1String("--admindir")) || option.startsWith(QLatin1String("--root"));
    });
    if (!placed)
        command->arguments << QLatin1String("--admindir=") + QFileInfo(status).path();
    command->arguments << options << QStringLiteral("--configure") << QStringLiteral("-a");
    return true;
}

bool PackageRun::findDpkgInterrupted()
{
    // What APT itself checks: journal entries (names of digits only) in dpkg's "updates".
    QString error;
    const QString status = dpkgStatusFile(&error);
    if (!error.isEmpty() || status.isEmpty())
        return false;
    m_dpkgInterrupted = DpkgState::hasJournalEntries(QFileInfo(status).path() + QLatin1String("/updates"));
    return m_dpkgInterrupted;
}

QString PackageRun::dpkgStatusFile(QString* error)
{
    // Read once a run: a repair looks for dpkg's journal where it told dpkg to work.
    if (!m_dpkgStatusFile) {
        const QStringList values =
            aptConfigValues(m_settings, {QStringLiteral("Dir::State::status/f")}, error);
        if (!error->isEmpty())
            return QString();
        m_dpkgStatusFile = values.at(0);
    }
    return *m_dpkgStatusFile;
}

PackageRun::Result PackageRun::run(const CheckedCommand& command, int limitMs)
{
    // One deadline for the command, lock waits included, and one for the lock waits of a
    // command without a limit: another package manager that never lets go must not hold the
    // helper for ever.
    QElapsedTimer sinceFirstStart;
    sinceFirstStart.start();
    bool waitingReported = false;
    std::unique_ptr<AptLocks> locks; // read once, at the first wait
    QStringList holdersReported;
    for (;;) {
        // A stop that came between two commands must not let the next one begin.
        if (m_channel.stopRequested())
            return Result::Canceled;
        QString lockLine;
        const Result result = attempt(command, limitMs, sinceFirstStart, &lockLine);
        if (lockLine.isEmpty())
            return result;
        // Another package manager is at work: wait for it instead of failing.
        if (!waitingReported) {
            sendMessage(WaitingMessage);
            sendOutput(lockLine);
            waitingReported = true;
        }
        if (!locks)
            locks = std::make_unique<AptLocks>(m_settings);
        const QStringList holders = locks->holders();
        if (holders != holdersReported) {
            for (const QString& holder : holders)
                sendOutput(holder);
            holdersReported = holders;
        }
        const int boundMs = limitMs > 0 ? limitMs : m_settings.lockWaitLimitMs;
        const qint64 leftMs = boundMs - sinceFirstStart.elapsed();
        if (leftMs <= 0) {
            const int seconds = boundMs / 1000;
            sendOutput(QCoreApplication::translate(
                           "PackageRun",
                           "The package system was still locked after %n second(s); %1 gives up.", nullptr,
                           seconds)
                           .arg(command.program));
            return Result::Failed;
        }
        if (!sleepUnlessStopped(int(std::min<qint64>(leftMs, m_settings.lockRetryMs))))
            return Result::Canceled;
    }
}

PackageRun::Result PackageRun::attempt(const CheckedCommand& command, int limitMs,
                                       const QElapsedTimer& sinceFirstStart, QString* lockLine)
{
    // Options go before the operation; a Status-Fd of the command's own comes later and wins.
    // The status lines say when dpkg's phase begins, also for a command that does not ask for them.
    // dpkg run directly takes no APT options, and all of its run is dpkg's phase.
    const bool dpkgItself = command.program == QLatin1String("dpkg");
    const QStringList arguments =
        dpkgItself
            ? command.arguments
            : QStringList{QStringLiteral("-o"), QStringLiteral("APT::Status-Fd=2")} + command.arguments;
    ChildProcess child(m_settings.binDir + QLatin1Char('/') + command.program, arguments,
                       m_settings.childEnvironment());
    if (!child.start()) {
        sendOutput(QCoreApplication::translate("PackageRun", "Unable to start %1: %2")
                       .arg(command.program, child.errorString()));
        return Result::FailedToStart;
    }

    QStringList heldLockLines;
    QString busyLine;
    bool brokenPackages = false;
    // dpkg's phase has begun: from then on nothing of the run is signalled.
    bool installing = dpkgItself;
    const auto onLine = [&](ChildProcess::Channel, const QByteArray& raw) {
        const QString line = QString::fromUtf8(raw);
        // APT writes its first "pmstatus:" line before it starts dpkg.
        installing = installing || line.startsWith(QLatin1String("pmstatus:"));
        if (handleStatusLine(line))
            return;
        if (isLockBusy(line)) {
            busyLine = line;
            heldLockLines << line;
            return;
        }
        if (isLockComplaint(line)) {
            heldLockLines << line;
            return;
        }
        brokenPackages = brokenPackages || isBrokenPackagesHint(line);
        sendOutput(line);
    };
    // APT writes "pmstatus:dpkg-exec" before it starts dpkg, so the output waiting now tells;
    // the processes are asked too, in case the line was lost. APT's own quick dpkg queries
    // ("--assert-multi-arch") do not count: it installs with dpkg on a pseudo-terminal, in a
    // session of its own.
    const auto dpkgBegun = [&] {
        child.readPending(onLine);
        const QList<ChildProcess::Descendant> running =
            installing ? QList<ChildProcess::Descendant>() : child.runningDescendants();
        for (const ChildProcess::Descendant& process : running)
            installing = installing || (process.name == "dpkg" && process.ownSession);
        return installing;
    };

    bool stopAsked = false;
    bool overLimit = false;
    bool installingReported = false;
    int signalsSent = 0;
    QElapsedTimer sinceStop;
    QElapsedTimer sinceEnd;
    for (;;) {
        const bool outputOpen = child.poll(PollMs, onLine);
        overLimit = overLimit || (limitMs > 0 && sinceFirstStart.elapsed() > limitMs);
        if (!stopAsked && (overLimit || m_channel.stopRequested())) {
            stopAsked = true;
            sinceStop.start();
            const int seconds = int(limitMs / 1000);
            const QString text =
                overLimit ? QCoreApplication::translate(
                                "PackageRun", "%1 did not finish within %n second(s) and is being stopped.",
                                nullptr, seconds)
                          : QCoreApplication::translate("PackageRun", "Stopping %1...");
            sendOutput(text.arg(command.program));
        }
        if (stopAsked && !child.programEnded() && signalsSent < 3) {
            // A signal is sent only while dpkg's phase has not begun, checked right before each:
            // dpkg stopped halfway leaves packages for "dpkg --configure -a", and APT stopped
            // between two dpkg runs leaves them unpacked but not set up.
            const qint64 dueMs = signalsSent == 0   ? 0
                                 : signalsSent == 1 ? m_settings.stopGraceMs
                                                    : qint64(m_settings.stopGraceMs) + m_settings.killGraceMs;
            // The processes are looked at only when a signal is due; the status lines tell at once.
            const bool due = sinceStop.elapsed() >= dueMs;
            if (installing || (due && dpkgBegun())) {
                if (!installingReported)
                    sendOutput(QCoreApplication::translate("PackageRun",
                                                           "Packages are being installed, which must not be "
                                                           "interrupted: %1 finishes all its work first.")
                                   .arg(command.program));
                installingReported = true;
            } else if (due) {
                if (signalsSent == 0)
                    child.interrupt();
                else if (signalsSent == 1)
                    child.terminateGroup();
                else
                    child.killGroup();
                ++signalsSent;
            }
        }
        if (child.programEnded()) {
            if (!sinceEnd.isValid())
                sinceEnd.start();
            const bool late = sinceEnd.elapsed() > LeftOutputMs;
            if (late && outputOpen)
                child.closeOutput();
            // Everything the run started is waited for: dpkg (orphaned if APT died) whatever it
            // takes, anything else (a daemon) only a while.
            if (!outputOpen || late) {
                const QList<ChildProcess::Descendant> left = child.runningDescendants();
                const bool dpkgLeft =
                    std::any_of(left.cbegin(), left.cend(),
                                [](const ChildProcess::Descendant& p) { return p.name == "dpkg"; });
                if (left.isEmpty() || (late && !dpkgLeft))
                    break;
            }
        }
    }

    if (signalsSent > 0) {
        if (signalsSent > 1)
            sendOutput(
                QCoreApplication::translate("PackageRun", "%1 did not stop in time and was ended by force.")
                    .arg(command.program));
        return overLimit ? Result::Failed : Result::Canceled;
    }
    // Asked to stop but never signalled: the run ended as it would have, so it says what happened.
    if (stopAsked && installing)
        sendOutput(QCoreApplication::translate(
                       "PackageRun", "The stop came too late to leave anything out: %1 has finished.")
                       .arg(command.program));
    if (child.exitCode() != 0 && !busyLine.isEmpty()) {
        *lockLine = busyLine;
        return Result::Failed;
    }
    for (const QString& line : qAsConst(heldLockLines))
        sendOutput(line);
    if (child.exitCode() == 0)
        return Result::Success;
    return brokenPackages ? Result::BrokenPackages : Result::Failed;
}

bool PackageRun::handleStatusLine(const QString& line)
{
    // APT's status lines: "pmstatus:<package>:<percent>:<text>", "dlstatus:<id>:<percent>:<text>",
    // "pmerror:<package>:<percent>:<text>", "pmconffile:...", "media-change:...".
    const bool install = line.startsWith(QLatin1String("pmstatus:"));
    const bool download = line.startsWith(QLatin1String("dlstatus:"));
    if (install || download) {
        bool ok = false;
        const double percent = line.section(QLatin1Char(':'), 2, 2).toDouble(&ok);
        if (ok)
            m_channel.send({{QLatin1String(TypeKey), QLatin1String(ProgressType)},
                            {QLatin1String(ProgressKey), percent}});
        return true;
    }
    if (line.startsWith(QLatin1String("pmerror:"))) {
        sendOutput(QStringLiteral("%1: %2").arg(line.section(QLatin1Char(':'), 1, 1),
                                                line.section(QLatin1Char(':'), 3)));
        return true;
    }
    return line.startsWith(QLatin1String("pmconffile:"));
}

bool PackageRun::sleepUnlessStopped(int ms)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms) {
        if (m_channel.stopRequested())
            return false;
        QThread::msleep(50);
    }
    return !m_channel.stopRequested();
}

void PackageRun::sendOutput(const QString& text)
{
    m_channel.send({{QLatin1String(TypeKey), QLatin1String(OutputType)}, {QLatin1String(OutputKey), text}});
}

void PackageRun::sendMessage(const char* message)
{
    m_channel.send({{QLatin1String(TypeKey), QLatin1String(MessageType)},
                    {QLatin1String(MessageKey), QLatin1String(message)}});
}

QString PackageRun::status(Result result)
{
    switch (result) {
    case Result::Success:
        return QLatin1String(SuccessStatus);
    case Result::Failed:
    case Result::BrokenPackages:
        return QLatin1String(FailedStatus);
    case Result::Canceled:
        return QLatin1String(CanceledStatus);
    case Result::FailedToStart:
        return QLatin1String(FailedToStartStatus);
    }
    return QLatin1String(FailedStatus);
}
