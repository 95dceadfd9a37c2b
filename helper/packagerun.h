#pragma once

#include "commandpolicy.h"
#include "helpersettings.h"

#include <QString>
#include <QVariantMap>

// How a running action talks back to its caller: progress maps out, stop requests in.
class ActionChannel
{
public:
    virtual ~ActionChannel() = default;
    virtual void send(const QVariantMap& data) = 0;
    virtual bool stopRequested() = 0;
};

// Runs checked APT commands for the "update" and "upgrade" actions and reports their output,
// phases and progress. Both return the reply status: "success", "failed", "canceled" or
// "failed_to_start".
class PackageRun
{
public:
    PackageRun(const HelperSettings& settings, ActionChannel& channel);

    QString update(const CheckedCommand& update);
    // `update` and `fixBroken` may be null: no list update, no repair.
    QString upgrade(const CheckedCommand* update, const CheckedCommand& upgrade,
                    const CheckedCommand* fixBroken);

private:
    enum class Result { Success, Failed, BrokenPackages, Canceled, FailedToStart };

    Result run(const CheckedCommand& command);
    bool handleStatusLine(const QString& line);
    bool sleepUnlessStopped(int ms);
    void sendOutput(const QString& text);
    void sendMessage(const char* message);
    static QString status(Result result);

    HelperSettings m_settings;
    ActionChannel& m_channel;
};
