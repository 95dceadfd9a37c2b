#include "packagerun.h"

#include "aptconfigvalues.h"
#include "childprocess.h"
#include "privileged/helpercontract.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

using namespace HelperContract;

namespace {

// APT's words (the commands run without a locale) for "another package manager holds the
// lock": the first line decides, the others belong to the same complaint.
bool isLockBusy(const QString& line)
{
    return line.contains(QLatin1String("Could not get lock"));
}

bool isLockComplaint(const QString& line)
{
    return line.startsWith(QLatin1String("E: Unable to lock")) ||
           line.startsWith(QLatin1String("E: Unable to acquire the dpkg frontend lock")) ||
           line.startsWith(QLatin1String("N: Be aware that removing the lock file"));
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
    if (update) {
        sendMessage(UpdatingMessage);
        const Result updated = run(*update, m_settings.updateLimitMs);
        // apt-get update fails when a single repository cannot be reached; the lists APT
        // still has are good enough to upgrade from.
        if (updated == Result::Canceled || updated == Result::FailedToStart)
            return status(updated);
        if (updated != Result::Success)
            sendOutput(QCoreApplication::translate(
                "PackageRun", "Not all package lists could be updated; upgrading with the lists "
                              "APT has."));
    }
    sendMessage(UpgradingMessage);
    Result result = run(upgrade);
    if (result == Result::BrokenPackages && fixBroken) {
        sendMessage(FixingBrokenMessage);
        const Result fixed = run(*fixBroken);
        if (fixed != Result::Success)
            return status(fixed);
        sendMessage(UpgradingMessage);
        result = run(upgrade);
    }
    if (findDpkgInterrupted())
        sendOutput(QCoreApplication::translate(
            "PackageRun", "dpkg was interrupted and left packages half installed. Run \"dpkg "
                          "--configure -a\" as root to finish their setup."));
    return status(result);
}

bool PackageRun::findDpkgInterrupted()
{
    // What APT itself checks: journal entries (names of digits only) in dpkg's "updates".
    QString error;
    const QStringList values = aptConfigValues(m_settings, {QStringLiteral("Dir::State::status/f")}, &error);
    if (!error.isEmpty() || values.at(0).isEmpty())
        return false;
    const QDir updates(QFileInfo(values.at(0)).path() + QLatin1String("/updates"));
    const QStringList entries = updates.entryList(QDir::Files);
    for (const QString& entry : entries) {
        if (std::all_of(entry.cbegin(), entry.cend(), [](QChar c) { return c.isDigit(); }))
            m_dpkgInterrupted = true;
    }
    return m_dpkgInterrupted;
}

PackageRun::Result PackageRun::run(const CheckedCommand& command, int limitMs)
{
    bool waitingReported = false;
    for (;;) {
        // A stop that came between two commands must not let the next one begin.
        if (m_channel.stopRequested())
            return Result::Canceled;
        ChildProcess child(m_settings.binDir + QLatin1Char('/') + command.program, command.arguments,
                           m_settings.childEnvironment());
        if (!child.start()) {
            sendOutput(QCoreApplication::translate("PackageRun", "Unable to start %1: %2")
                           .arg(command.program, child.errorString()));
            return Result::FailedToStart;
        }

        QStringList heldLockLines;
        QString lockLine;
        bool brokenPackages = false;
        const auto onLine = [&](ChildProcess::Channel, const QByteArray& raw) {
            const QString line = QString::fromUtf8(raw);
            if (handleStatusLine(line))
                return;
            if (isLockBusy(line)) {
                lockLine = line;
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

        enum { Running, Interrupted, Terminated, Killed } stop = Running;
        bool overLimit = false;
        bool installingReported = false;
        QElapsedTimer sinceStart;
        sinceStart.start();
        QElapsedTimer sinceStop;
        QElapsedTimer sinceEnd;
        while (child.poll(PollMs, onLine) || (stop != Running && child.groupAlive())) {
            overLimit = overLimit || (limitMs > 0 && sinceStart.elapsed() > limitMs);
            if (stop == Running && (overLimit || m_channel.stopRequested())) {
                stop = Interrupted;
                sinceStop.start();
                sendOutput(
                    overLimit
                        ? QCoreApplication::translate(
                              "PackageRun", "%1 did not finish within %2 seconds and is being stopped.")
                              .arg(command.program)
                              .arg(limitMs / 1000)
                        : QCoreApplication::translate("PackageRun", "Stopping %1...").arg(command.program));
                child.interrupt();
            } else if (stop != Running && child.groupRuns(QByteArrayLiteral("dpkg"))) {
                // dpkg stopped halfway leaves the system for "dpkg --configure -a": never force it.
                // APT stops by itself once this dpkg run has ended.
                if (!installingReported)
                    sendOutput(QCoreApplication::translate(
                                   "PackageRun", "Packages are being installed; they will be finished before "
                                                 "%1 stops.")
                                   .arg(command.program));
                installingReported = true;
                sinceStop.start();
            } else if (stop == Interrupted && sinceStop.elapsed() > m_settings.stopGraceMs) {
                stop = Terminated;
                child.terminateGroup();
            } else if (stop == Terminated &&
                       sinceStop.elapsed() > m_settings.stopGraceMs + m_settings.killGraceMs) {
                stop = Killed;
                child.killGroup();
            }
            if (child.programEnded() && !child.hasEnded()) {
                if (!sinceEnd.isValid())
                    sinceEnd.start();
                else if (sinceEnd.elapsed() > LeftOutputMs)
                    child.closeOutput();
            }
        }

        if (stop != Running) {
            if (stop != Interrupted)
                sendOutput(QCoreApplication::translate("PackageRun",
                                                       "%1 did not stop in time and was ended by force.")
                               .arg(command.program));
            return overLimit ? Result::Failed : Result::Canceled;
        }
        if (child.exitCode() != 0 && !lockLine.isEmpty()) {
            // Another package manager is at work: wait for it instead of failing.
            if (!waitingReported) {
                sendMessage(WaitingMessage);
                sendOutput(lockLine);
                waitingReported = true;
            }
            if (!sleepUnlessStopped(m_settings.lockRetryMs))
                return Result::Canceled;
            continue;
        }
        for (const QString& line : qAsConst(heldLockLines))
            sendOutput(line);
        if (child.exitCode() == 0)
            return Result::Success;
        return brokenPackages ? Result::BrokenPackages : Result::Failed;
    }
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
