#include "helperrequestjob.h"

#include "helpercontract.h"

#include <KAuth/ActionReply>
#include <KAuth/ExecuteJob>
#include <QDBusConnection>
#include <QDBusMessage>

using namespace HelperContract;
using KAuth::ActionReply;

namespace {

// Errors KAuth makes on the caller's side, before the helper was reached: never another caller's.
bool isLocalError(int error)
{
    return error == ActionReply::DBusError || error == ActionReply::InvalidActionError ||
           error == ActionReply::NoSuchActionError || error == ActionReply::BackendError ||
           error == ActionReply::UserCancelledError;
}

} // namespace

HelperRequestJob::HelperRequestJob(const KAuth::Action& action, QObject* parent)
    : KJob(parent), m_action(action),
      m_secret(action.arguments().value(QLatin1String(RequestKey)).toString()), m_id(requestIdOf(m_secret))
{
    m_startWait.setSingleShot(true);
    m_startWait.setInterval(StartWaitMs);
    connect(&m_startWait, &QTimer::timeout, this, [this] {
        if (!m_started)
            endBusy();
    });
}

HelperRequestJob::~HelperRequestJob()
{
    delete m_inner;
}

void HelperRequestJob::start()
{
    // Subscribed before the call, so the start cannot pass unseen.
    QDBusConnection::systemBus().connect(m_action.helperId(), QStringLiteral("/"),
                                         QLatin1String(KAuthInterface), QLatin1String(KAuthSignal), this,
                                         SLOT(onRemoteSignal(int, QString, QByteArray)));
    m_inner = m_action.execute(KAuth::Action::ExecuteMode);
    m_inner->setAutoDelete(false);
    connect(m_inner, &KAuth::ExecuteJob::newData, this, &HelperRequestJob::onData);
    connect(m_inner, &KJob::result, this, &HelperRequestJob::onInnerResult);
    m_inner->start();
    // Queued behind KAuth's own start, which may first wait for the bus to start the helper:
    // the wait counts from the call.
    QMetaObject::invokeMethod(
        this, [this] { m_startWait.start(); }, Qt::QueuedConnection);
}

void HelperRequestJob::requestStop() const
{
    QDBusMessage stop =
        QDBusMessage::createMethodCall(m_action.helperId(), QLatin1String(StopPath),
                                       QLatin1String(StopInterface), QLatin1String(StopMethod));
    stop << m_secret;
    QDBusConnection::systemBus().send(stop);
}

void HelperRequestJob::onRemoteSignal(int type, const QString& action, const QByteArray&)
{
    if (type == KAuthActionStarted && action == m_action.name())
        m_started = true;
}

void HelperRequestJob::onData(const QVariantMap& data)
{
    const QString id = data.value(QLatin1String(RequestIdKey)).toString();
    if (id == m_id)
        Q_EMIT newData(data);
    else if (m_started && !id.isEmpty())
        endBusy(); // the start seen was another request's: this one was refused
}

void HelperRequestJob::onInnerResult(KJob* inner)
{
    auto* executeJob = static_cast<KAuth::ExecuteJob*>(inner);
    const QVariantMap data = executeJob->data();
    const QString id = data.value(QLatin1String(RequestIdKey)).toString();
    // Without an id the result is KAuth's own verdict (polkit's answer, say): this request's
    // once it has started, another's before, unless KAuth made it on this side.
    const bool own = id.isEmpty() ? m_started || isLocalError(inner->error()) : id == m_id;
    if (!own) {
        endBusy();
        return;
    }
    m_startWait.stop();
    m_data = data;
    setError(inner->error());
    setErrorText(inner->errorText());
    emitResult();
}

void HelperRequestJob::endBusy()
{
    if (isFinished())
        return;
    m_startWait.stop();
    if (m_inner)
        m_inner->deleteLater();
    requestStop();
    setError(ActionReply::HelperBusyError);
    emitResult();
}
