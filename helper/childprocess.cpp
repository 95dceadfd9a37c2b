#include "childprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// UTF-8 whatever the helper's own locale: it runs with none.
std::vector<QByteArray> encoded(const QStringList& strings)
{
    std::vector<QByteArray> result;
    result.reserve(size_t(strings.size()));
    for (const QString& s : strings)
        result.push_back(s.toUtf8());
    return result;
}

std::vector<char*> pointers(std::vector<QByteArray>& strings)
{
    std::vector<char*> result;
    for (QByteArray& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments,
                           const QStringList& environment)
    : m_program(program), m_arguments(arguments), m_environment(environment)
{
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0 && !m_ended) {
        killGroup();
        reap(true);
    }
    closeFd(m_stdout);
    closeFd(m_stderr);
}

bool ChildProcess::start()
{
    // Descendants orphaned by the program (dpkg when APT died, say) come back to us, so they
    // can be waited for instead of running on unseen.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);

    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        m_error = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        m_error = QString::fromLocal8Bit(strerror(errno));
        ::close(out[0]);
        ::close(out[1]);
        return false;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t all;
    sigfillset(&all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    const QByteArray program = QFile::encodeName(m_program);
    std::vector<QByteArray> argumentStrings = encoded(QStringList(m_program) + m_arguments);
    std::vector<QByteArray> environmentStrings = encoded(m_environment);
    std::vector<char*> argv = pointers(argumentStrings);
    std::vector<char*> envp = pointers(environmentStrings);

    const int result =
        ::posix_spawn(&m_pid, program.constData(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(out[1]);
    ::close(err[1]);
    if (result != 0) {
        m_pid = -1;
        m_error = QString::fromLocal8Bit(strerror(result));
        ::close(out[0]);
        ::close(err[0]);
        return false;
    }
    m_stdout = out[0];
    m_stderr = err[0];
    return true;
}

bool ChildProcess::poll(int timeoutMs, const LineHandler& onLine)
{
    if (m_pid < 0)
        return false;
    pollfd fds[2];
    nfds_t count = 0;
    if (m_stdout >= 0)
        fds[count++] = pollfd{m_stdout, POLLIN, 0};
    if (m_stderr >= 0)
        fds[count++] = pollfd{m_stderr, POLLIN, 0};
    if (count > 0) {
        if (::poll(fds, count, timeoutMs) > 0) {
            for (nfds_t i = 0; i < count; ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                if (fds[i].fd == m_stdout)
                    readChannel(m_stdout, m_stdoutBuffer, m_stdoutCut, StandardOutput, onLine);
                else
                    readChannel(m_stderr, m_stderrBuffer, m_stderrCut, StandardError, onLine);
            }
        }
    } else {
        // Output closed: wait for the program (or what is left of its group) to end.
        for (int waited = 0; waited < timeoutMs && !m_ended; waited += 10) {
            ::usleep(10000);
            reap(false);
        }
        if (m_ended) {
            reap(false);
            if (groupAlive())
                ::usleep(useconds_t(timeoutMs) * 1000);
        }
    }
    reap(false);
    if (m_stdout < 0 && m_stderr < 0)
        flushPartialLines(onLine);
    return !hasEnded();
}

bool ChildProcess::readChannel(int& fd, QByteArray& buffer, bool& cut, Channel channel,
                               const LineHandler& onLine)
{
    char chunk[4096];
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR)
        return true;
    if (got <= 0) {
        closeFd(fd);
        if (!buffer.isEmpty()) {
            onLine(channel, buffer);
            buffer.clear();
        }
        return false;
    }
    buffer.append(chunk, int(got));
    int start = 0;
    for (int end = buffer.indexOf('\n'); end >= 0; end = buffer.indexOf('\n', start)) {
        QByteArray line = buffer.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!cut)
            onLine(channel, line);
        cut = false;
        start = end + 1;
    }
    buffer.remove(0, start);
    if (cut) {
        buffer.clear();
    } else if (buffer.size() > MaxLineBytes) {
        onLine(channel, buffer.left(MaxLineBytes));
        onLine(channel, QByteArrayLiteral("[The line above was longer than ") +
                            QByteArray::number(MaxLineBytes) +
                            QByteArrayLiteral(" bytes; its rest is left out.]"));
        buffer.clear();
        cut = true;
    }
    return true;
}

QString ChildProcess::runToEnd(int limitMs, QStringList* lines)
{
    const QString name = QFileInfo(m_program).fileName();
    if (!start())
        return QCoreApplication::translate("ChildProcess", "Cannot run %1: %2").arg(name, m_error);
    if (!collect(limitMs, lines))
        return QCoreApplication::translate("ChildProcess", "%1 did not answer").arg(name);
    return QString();
}

bool ChildProcess::collect(int limitMs, QStringList* lines)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (poll(100, [&](Channel, const QByteArray& line) { *lines << QString::fromUtf8(line); })) {
        if (elapsed.elapsed() > limitMs) {
            killGroup();
            reap(true);
            return false;
        }
    }
    return true;
}

void ChildProcess::flushPartialLines(const LineHandler& onLine)
{
    if (!m_stdoutBuffer.isEmpty())
        onLine(StandardOutput, m_stdoutBuffer);
    if (!m_stderrBuffer.isEmpty())
        onLine(StandardError, m_stderrBuffer);
    m_stdoutBuffer.clear();
    m_stderrBuffer.clear();
}

void ChildProcess::reap(bool block)
{
    if (m_pid < 0)
        return;
    // The program itself, then whatever of its group was orphaned and came back to us.
    if (!m_ended) {
        int status = 0;
        const pid_t done = ::waitpid(m_pid, &status, block ? 0 : WNOHANG);
        if (done == m_pid) {
            m_ended = true;
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    if (m_ended) {
        while (::waitpid(-m_pid, nullptr, block ? 0 : WNOHANG) > 0) {
        }
    }
}

void ChildProcess::interrupt()
{
    if (m_pid > 0 && !m_ended)
        ::kill(m_pid, SIGINT);
}

void ChildProcess::terminateGroup()
{
    if (m_pid > 0)
        ::kill(-m_pid, SIGTERM);
}

void ChildProcess::killGroup()
{
    if (m_pid > 0)
        ::kill(-m_pid, SIGKILL);
}

bool ChildProcess::groupAlive() const
{
    return m_pid > 0 && ::kill(-m_pid, 0) == 0;
}

bool ChildProcess::groupRuns(const QByteArray& name) const
{
    if (m_pid <= 0)
        return false;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (!entry.at(0).isDigit())
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "PID (COMM) STATE PPID PGRP ...": COMM may hold anything, so split at its last ")".
        const QByteArray line = stat.readAll();
        const int open = line.indexOf('(');
        const int close = line.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLongLong() == m_pid &&
            line.mid(open + 1, close - open - 1) == name)
            return true;
    }
    return false;
}

void ChildProcess::closeOutput()
{
    closeFd(m_stdout);
    closeFd(m_stderr);
}
