#pragma once

#include <KAuth/Action>
#include <QCoreApplication>
#include <QVariantMap>
#include <functional>

class KJob;
class QObject;

// How the dialogs run a helper action. The default goes through KAuth; tests install a fake
// so the dialogs can be driven without a bus or polkit.
class HelperJobs
{
    Q_DECLARE_TR_FUNCTIONS(HelperJobs)

public:
    using DataHandler = std::function<void(const QVariantMap&)>;

    virtual ~HelperJobs() = default;

    // Creates the job that executes `action` (execute mode, not authorize-only, made by
    // HelperContract::makeAction) and routes the progress maps of this request alone to `onData`
    // for as long as `context` lives. The job is not started; it deletes itself after emitting
    // result(). When the helper is busy with another action, it ends with HelperBusyError.
    virtual KJob* execute(KAuth::Action action, QObject* context, const DataHandler& onData) = 0;
    // The reply data of a finished job; empty for a job that is not a helper job.
    virtual QVariantMap replyData(KJob* job) const = 0;
    // Asks the helper to stop this request, also one that has not begun yet; the job still ends
    // through result().
    virtual void kill(KJob* job) = 0;

    // Why a job that ended with an error did nothing, in words for the user: the helper's own
    // message, or what the framework's error code means.
    static QString failureReason(KJob* job);

    static HelperJobs& current();
    // nullptr restores KAuth. The caller keeps ownership.
    static void setCurrent(HelperJobs* jobs);
};
