#pragma once

#include "privileged/helperjobs.h"

#include <KJob>
#include <QPointer>
#include <QVariantMap>

// A job that does nothing until the test makes it report or finish.
class FakeJob : public KJob
{
    Q_OBJECT

public:
    void start() override { started = true; }
    void finish(int error, const QVariantMap& reply = {})
    {
        setError(error);
        replyData = reply;
        emitResult();
    }

    bool started = false;
    QVariantMap replyData;

Q_SIGNALS:
    void newData(const QVariantMap& data);
};

// Hands out FakeJobs and remembers the actions and kill requests it was given.
class FakeHelperJobs : public HelperJobs
{
public:
    FakeHelperJobs() { HelperJobs::setCurrent(this); }
    ~FakeHelperJobs() override
    {
        HelperJobs::setCurrent(nullptr);
        // Finished jobs deleted themselves; the rest were left running by the test.
        for (const QPointer<FakeJob>& pending : qAsConst(jobs))
            delete pending.data();
    }

    KJob* execute(KAuth::Action action, QObject* context, const DataHandler& onData) override
    {
        actions.append(action);
        auto* fake = new FakeJob;
        QObject::connect(fake, &FakeJob::newData, context, onData);
        job = fake;
        jobs.append(fake);
        return fake;
    }
    QVariantMap replyData(KJob* finished) const override
    {
        auto* fake = qobject_cast<FakeJob*>(finished);
        return fake ? fake->replyData : QVariantMap();
    }
    void kill(KJob* killed) override { killedJobs.append(killed); }

    QList<KAuth::Action> actions;
    QPointer<FakeJob> job; // the latest
    QList<QPointer<FakeJob>> jobs;
    QList<KJob*> killedJobs;
};
