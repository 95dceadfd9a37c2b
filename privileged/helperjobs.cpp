#include "helperjobs.h"

#include <KAuth/ExecuteJob>

namespace {

class KAuthJobs : public HelperJobs
{
public:
    KJob* execute(KAuth::Action action, QObject* context, const DataHandler& onData) override
    {
        KAuth::ExecuteJob* job = action.execute(KAuth::Action::ExecuteMode);
        QObject::connect(job, &KAuth::ExecuteJob::newData, context, onData);
        return job;
    }

    QVariantMap replyData(KJob* job) const override
    {
        auto* executeJob = qobject_cast<KAuth::ExecuteJob*>(job);
        return executeJob ? executeJob->data() : QVariantMap();
    }

    void kill(KJob* job) override
    {
        // KJob::kill() is not virtual and does nothing for an ExecuteJob: it has to be called
        // on the ExecuteJob itself to reach the helper.
        if (auto* executeJob = qobject_cast<KAuth::ExecuteJob*>(job))
            executeJob->kill(KJob::Quietly);
    }
};

HelperJobs*& installedJobs()
{
    static HelperJobs* jobs = nullptr;
    return jobs;
}

} // namespace

HelperJobs& HelperJobs::current()
{
    static KAuthJobs kauth;
    return installedJobs() ? *installedJobs() : kauth;
}

void HelperJobs::setCurrent(HelperJobs* jobs)
{
    installedJobs() = jobs;
}
