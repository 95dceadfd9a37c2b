#pragma once

#include "privileged/helperjobs.h"

#include <KJob>
#include <QPointer>
#include <QVariantMap>

// A helper job that does nothing until the test makes it finish. No Q_OBJECT: a test may include
// this header without listing it among its sources.
class FakeJob : public KJob
{
public:
    explicit FakeJob(QObject* owner) : KJob(owner) {}
    void start() override { started = true; }
    void finish(int error, const QVariantMap& reply = {}, const QString& errorText = {})
    {
        setError(error);
        setErrorText(errorText);
        replyData = reply;
        emitResult();
    }

    bool started = false;
    QVariantMap replyData;
};

// Installed for as long as it lives: hands out FakeJobs and records the actions and the stop
// requests it was given.
class FakeHelperJobs : public HelperJobs
{
public:
    FakeHelperJobs() { HelperJobs::setCurrent(this); }
    ~FakeHelperJobs() override { HelperJobs::setCurrent(nullptr); }

    KJob* execute(KAuth::Action action, QObject*, const DataHandler& handler) override
    {
        actions.append(action);
        onData = handler;
        job = new FakeJob(&m_owner);
        return job;
    }
    QVariantMap replyData(KJob* done) const override { return static_cast<FakeJob*>(done)->replyData; }
    void kill(KJob* killed) override { killedJobs.append(killed); }

    QList<KAuth::Action> actions;
    QPointer<FakeJob> job; // the latest
    QList<KJob*> killedJobs;
    DataHandler onData; // the latest job's progress maps go here

private:
    QObject m_owner; // deletes the jobs a test left running; finished ones delete themselves
};
