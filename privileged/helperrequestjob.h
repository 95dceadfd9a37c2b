#pragma once

#include <KAuth/Action>
#include <KJob>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

namespace KAuth {
class ExecuteJob;
}

// One request to the helper, driving KAuth's ExecuteJob inside. KAuth hands every caller of an
// action name the progress and result of whoever runs that name, and a caller the busy helper
// refused never hears back; this job keeps what carries its own request id, ends as
// HelperBusyError when its action did not start in time or another request's result came, and
// stops by its request's secret. Results carry KAuth's error codes.
class HelperRequestJob : public KJob
{
    Q_OBJECT

public:
    explicit HelperRequestJob(const KAuth::Action& action, QObject* parent = nullptr);
    ~HelperRequestJob() override;

    void start() override;
    // The reply data of the finished request.
    QVariantMap data() const { return m_data; }
    // Asks the helper to stop this request, also before it has begun.
    void requestStop() const;

Q_SIGNALS:
    void newData(const QVariantMap& data);

private Q_SLOTS:
    void onRemoteSignal(int type, const QString& action, const QByteArray& blob);

private:
    void onData(const QVariantMap& data);
    void onInnerResult(KJob* inner);
    // Ends as refused by a busy helper; a later start of this request is stopped at once.
    void endBusy();

    KAuth::Action m_action;
    QString m_secret;
    QString m_id;
    QPointer<KAuth::ExecuteJob> m_inner;
    QTimer m_startWait;
    bool m_started = false;
    QVariantMap m_data;
};
