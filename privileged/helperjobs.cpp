#include "helperjobs.h"

#include "helperrequestjob.h"

#include <KAuth/ActionReply>

namespace {

class KAuthJobs : public HelperJobs
{
public:
    KJob* execute(KAuth::Action action, QObject* context, const DataHandler& onData) override
    {
        auto* job = new HelperRequestJob(action);
        QObject::connect(job, &HelperRequestJob::newData, context, onData);
        return job;
    }

    QVariantMap replyData(KJob* job) const override
    {
        auto* request = qobject_cast<HelperRequestJob*>(job);
        return request ? request->data() : QVariantMap();
    }

    void kill(KJob* job) override
    {
        if (auto* request = qobject_cast<HelperRequestJob*>(job))
            request->requestStop();
    }
};

HelperJobs*& installedJobs()
{
    static HelperJobs* jobs = nullptr;
    return jobs;
}

} // namespace

QString HelperJobs::failureReason(KJob* job)
{
    if (!job->errorString().isEmpty())
        return job->errorString();
    switch (job->error()) {
    case KAuth::ActionReply::AuthorizationDeniedError:
        return tr("You are not allowed to do this, or the password was not accepted.");
    case KAuth::ActionReply::UserCancelledError:
        return tr("The authentication was cancelled.");
    case KAuth::ActionReply::HelperBusyError:
        return tr("The privileged helper is busy with another action. Try again when it has finished.");
    case KAuth::ActionReply::NoResponderError:
    case KAuth::ActionReply::DBusError:
        return tr("The privileged helper could not be reached (error %1).").arg(job->error());
    default:
        return tr("The privileged helper could not be used (error %1).").arg(job->error());
    }
}

HelperJobs& HelperJobs::current()
{
    static KAuthJobs kauth;
    return installedJobs() ? *installedJobs() : kauth;
}

void HelperJobs::setCurrent(HelperJobs* jobs)
{
    installedJobs() = jobs;
}
