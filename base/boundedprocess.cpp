#include "boundedprocess.h"

#include <signal.h>
#include <unistd.h>

BoundedProcess::BoundedProcess(qint64 outputCap, qint64 errorCap, QObject* parent)
    : QProcess(parent), m_outputCap(outputCap), m_errorCap(errorCap)
{
    connect(this, &QProcess::stateChanged, this, [this](ProcessState state) {
        if (state != Starting)
            return;
        m_output.clear();
        m_errors.clear();
        m_overflowed = false;
    });
    connect(this, &QProcess::readyReadStandardOutput, this,
            [this] { collect(StandardOutput, m_output, m_outputCap); });
    connect(this, &QProcess::readyReadStandardError, this,
            [this] { collect(StandardError, m_errors, m_errorCap); });
}

BoundedProcess::~BoundedProcess()
{
    if (state() == NotRunning)
        return;
    killGroup();
    waitForFinished();
}

void BoundedProcess::killGroup()
{
    const qint64 pid = processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    kill(); // also when the program left the group
}

// In the child between fork and exec: only async-signal-safe calls.
void BoundedProcess::setupChildProcess()
{
    ::setpgid(0, 0);
}

void BoundedProcess::collect(ProcessChannel channel, QByteArray& buffer, qint64 cap)
{
    setReadChannel(channel);
    const QByteArray chunk = readAll(); // at most a pipe's worth
    if (m_overflowed)
        return;
    if (buffer.size() + chunk.size() > cap) {
        m_overflowed = true;
        killGroup();
        return;
    }
    buffer += chunk;
}
