#include "updatefacts.h"

#include "base/boundedprocess.h"
#include "base/checkerlines.h"
#include "base/systempaths.h"

#include <QTimer>

#include <algorithm>

namespace {
// A listing of every package of a large system fits many times over.
constexpr qint64 OutputCap = 4 * 1024 * 1024;
constexpr qint64 ErrorsCap = 64 * 1024;

int countSecurityUpgrades(const QString& output)
{
    const QVector<QStringList> lines = checkerRecords(output);
    return int(std::count_if(lines.begin(), lines.end(), [](const QStringList& fields) {
        return fields.at(0) == QLatin1String("u") && fields.at(4) == QLatin1String("security");
    }));
}
} // namespace

UpdateFactsReader::UpdateFactsReader(QObject* parent)
    : QObject(parent), m_process(new BoundedProcess(OutputCap, ErrorsCap, this)), m_timeout(new QTimer(this))
{
    m_timeout->setSingleShot(true);
    connect(m_timeout, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        m_process->killGroup();
    });
    connect(m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            [this] { onRunEnded(true); });
    // Other errors end in finished().
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onRunEnded(false);
    });
}

void UpdateFactsReader::start(int timeoutMs)
{
    m_facts = UpdateFacts();
    m_timeoutMs = timeoutMs;
    run(QStringLiteral("-k"));
}

void UpdateFactsReader::run(const QString& argument)
{
    m_timedOut = false;
    m_timeout->start(m_timeoutMs);
    m_process->start(SystemPaths::current().aptCheck, {argument}, QIODevice::ReadOnly);
}

void UpdateFactsReader::onRunEnded(bool started)
{
    m_timeout->stop();
    const bool answered = started && !m_timedOut && !m_process->overflowed() &&
                          m_process->exitStatus() == QProcess::NormalExit && m_process->exitCode() == 0;
    const QString output = QString::fromLocal8Bit(m_process->output());
    if (m_process->arguments() == QStringList{QStringLiteral("-k")}) {
        if (answered)
            m_facts.heldBack = checkerRecords(output).size();
        // Not from inside the process's own signal: a start that fails at once signals too.
        QTimer::singleShot(0, this, [this] { run(QStringLiteral("-p")); });
        return;
    }
    if (answered)
        m_facts.security = countSecurityUpgrades(output);
    emit finished();
}
