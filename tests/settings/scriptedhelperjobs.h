#pragma once

#include "privileged/helperjobs.h"

#include <KAuth/Action>
#include <KJob>
#include <QTimer>
#include <functional>

// How one scripted helper action ends.
struct ScriptedOutcome
{
    int error = 0;
    QString errorText;
    // Runs while the action is in flight, before it ends.
    std::function<void()> whileRunning;
};

class ScriptedHelperJobs;

// Ends from the event loop, as a D-Bus reply would, so a caller that does not wait for it
// sees it still running.
class ScriptedJob : public KJob
{
    Q_OBJECT

public:
    ScriptedJob(const ScriptedOutcome& outcome, int* running, int* finished)
        : m_outcome(outcome), m_running(running), m_finished(finished)
    {
    }

    void start() override
    {
        ++*m_running;
        QTimer::singleShot(0, this, [this] {
            if (m_outcome.whileRunning)
                m_outcome.whileRunning();
            --*m_running;
            ++*m_finished;
            setError(m_outcome.error);
            setErrorText(m_outcome.errorText);
            emitResult();
        });
    }

private:
    ScriptedOutcome m_outcome;
    int* m_running;
    int* m_finished;
};

// Records every action it is given and ends each with the next queued outcome (success
// when none is queued). Installed for as long as it lives.
class ScriptedHelperJobs : public HelperJobs
{
public:
    ScriptedHelperJobs() { HelperJobs::setCurrent(this); }
    ~ScriptedHelperJobs() override { HelperJobs::setCurrent(nullptr); }

    KJob* execute(KAuth::Action action, QObject*, const DataHandler&) override
    {
        actions.append(action);
        runningAtStart.append(running);
        const ScriptedOutcome outcome = outcomes.isEmpty() ? ScriptedOutcome() : outcomes.takeFirst();
        return new ScriptedJob(outcome, &running, &finished);
    }
    QVariantMap replyData(KJob*) const override { return {}; }
    void kill(KJob*) override {}

    // The action names without the helper id.
    QStringList names() const
    {
        QStringList result;
        for (const KAuth::Action& action : actions)
            result.append(action.name().section(QLatin1Char('.'), -1));
        return result;
    }
    QVariantMap arguments(const QString& name) const
    {
        for (const KAuth::Action& action : actions) {
            if (action.name().endsWith(QLatin1Char('.') + name))
                return action.arguments();
        }
        return {};
    }

    QList<KAuth::Action> actions;
    QList<int> runningAtStart; // jobs still running when each action was created
    QList<ScriptedOutcome> outcomes;
    int running = 0;
    int finished = 0;
};
