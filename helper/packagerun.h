#pragma once

#include "helpersettings.h"
#include "policy/commandpolicy.h"

#include <QElapsedTimer>
#include <QString>
#include <QVariantMap>

#include <optional>

// How a running action talks back to its caller: progress maps out, stop requests in.
class ActionChannel
{
public:
    virtual ~ActionChannel() = default;
    virtual void send(const QVariantMap& data) = 0;
    virtual bool stopRequested() = 0;
    // Called when an action begins, with its request's secret and public id (empty: none):
    // from now on only stops for that secret count, also one that came before.
    virtual void beginAction(const QString& secret, const QString& requestId)
    {
        Q_UNUSED(secret)
        Q_UNUSED(requestId)
    }
};

// Runs checked APT commands for the "update", "upgrade" and "repair" actions and reports their
// output, phases and progress. Each returns the reply status: "success", "failed", "canceled" or
// "failed_to_start". A stop interrupts the package tool only before dpkg's phase has begun; a
// stop that comes later lets the command finish, and the status is then what really happened.
class PackageRun
{
public:
    PackageRun(const HelperSettings& settings, ActionChannel& channel);

    QString update(const CheckedCommand& update);
    // `update` and `fixBroken` may be null: no list update, no repair.
    QString upgrade(const CheckedCommand* update, const CheckedCommand& upgrade,
                    const CheckedCommand* fixBroken);
    // "dpkg --configure -a" on the package database APT uses, then `fixBroken` unless it is null.
    QString repair(const CheckedCommand* fixBroken);

    // After upgrade() or repair(): dpkg's journal holds unfinished work ("dpkg was interrupted"), which
    // "dpkg --configure -a" finishes. Every later APT run fails until then.
    bool dpkgInterrupted() const { return m_dpkgInterrupted; }

private:
    enum class Result { Success, Failed, BrokenPackages, Canceled, FailedToStart };

    Result upgradeSteps(const CheckedCommand* update, const CheckedCommand& upgrade,
                        const CheckedCommand* fixBroken);
    // `limitMs` > 0: the command, waits for a lock included, is interrupted like a stop after
    // that long, and fails.
    Result run(const CheckedCommand& command, int limitMs = 0);
    // One start of the command. *lockLine: APT's complaint when another program held its lock.
    Result attempt(const CheckedCommand& command, int limitMs, const QElapsedTimer& sinceFirstStart,
                   QString* lockLine);
    Result repairSteps(const CheckedCommand* fixBroken);
    // dpkg with the options APT gives it, so that it works on APT's package database.
    bool pendingConfigureCommand(CheckedCommand* command);
    bool findDpkgInterrupted();
    // dpkg's status file as APT's configuration names it; empty when it names none. *error
    // says why apt-config could not tell.
    QString dpkgStatusFile(QString* error);
    bool handleStatusLine(const QString& line);
    bool sleepUnlessStopped(int ms);
    void sendOutput(const QString& text);
    void sendMessage(const char* message);
    static QString status(Result result);

    HelperSettings m_settings;
    ActionChannel& m_channel;
    bool m_dpkgInterrupted = false;
    std::optional<QString> m_dpkgStatusFile;
};
