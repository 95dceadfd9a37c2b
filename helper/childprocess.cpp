#include "childprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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

struct ProcessEntry
{
    char state = 0;
    pid_t parent = 0;
    pid_t session = 0;
    qint64 startTicks = 0;
    QByteArray name;
};

// The fields of /proc/PID/stat we need.
bool readProcessEntry(pid_t pid, ProcessEntry* process)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    // "PID (COMM) STATE PPID ... STARTTIME ...": COMM may hold anything, so split at its last ")".
    const QByteArray line = stat.read(4096);
    const int open = line.indexOf('(');
    const int close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return false;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 20 || fields.at(0).size() != 1)
        return false;
    process->state = fields.at(0).at(0);
    process->parent = pid_t(fields.at(1).toInt());
    process->session = pid_t(fields.at(3).toInt());
    process->startTicks = fields.at(19).toLongLong();
    process->name = line.mid(open + 1, close - open - 1);
    return true;
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
    // The program cannot be reaped before we do, so its entry is there.
    ProcessEntry self;
    if (readProcessEntry(m_pid, &self))
        m_startTicks = self.startTicks;
    return true;
}

bool ChildProcess::poll(int timeoutMs, const LineHandler& onLine)
{
    if (m_pid < 0)
        return false;
    if (m_stdout >= 0 || m_stderr >= 0) {
        pollChannels(timeoutMs, onLine);
    } else if (!m_ended) {
        // Output closed: wait for the program to end.
        for (int waited = 0; waited < timeoutMs && !m_ended; waited += 10) {
            ::usleep(10000);
            reap(false);
        }
    } else {
        // Only what the program left behind is waited for now.
        ::usleep(useconds_t(timeoutMs) * 1000);
    }
    reap(false);
    if (m_stdout < 0 && m_stderr < 0)
        flushPartialLines(onLine);
    return !hasEnded();
}

void ChildProcess::readPending(const LineHandler& onLine)
{
    // A bound, so a program that writes without pause cannot keep us here.
    for (int chunks = 0; chunks < 256 && pollChannels(0, onLine); ++chunks) {
    }
}

bool ChildProcess::pollChannels(int timeoutMs, const LineHandler& onLine)
{
    pollfd fds[2];
    nfds_t count = 0;
    if (m_stdout >= 0)
        fds[count++] = pollfd{m_stdout, POLLIN, 0};
    if (m_stderr >= 0)
        fds[count++] = pollfd{m_stderr, POLLIN, 0};
    if (count == 0 || ::poll(fds, count, timeoutMs) <= 0)
        return false;
    for (nfds_t i = 0; i < count; ++i) {
        if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        if (fds[i].fd == m_stdout)
            readChannel(m_stdout, m_stdoutBuffer, m_stdoutCut, StandardOutput, onLine);
        else
            readChannel(m_stderr, m_stderrBuffer, m_stderrCut, StandardError, onLine);
    }
    return true;
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
    if (!m_ended) {
        int status = 0;
        const pid_t done = ::waitpid(m_pid, &status, block ? 0 : WNOHANG);
        if (done == m_pid) {
            m_ended = true;
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    if (m_ended) {
        // Whatever of its group was killed with it, then anything orphaned that came back to us
        // and has ended since (the helper runs one program at a time).
        if (block) {
            while (::waitpid(-m_pid, nullptr, 0) > 0) {
            }
        }
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
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

QList<ChildProcess::Descendant> ChildProcess::runningDescendants() const
{
    QHash<pid_t, ProcessEntry> running;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        ProcessEntry process;
        if (entry.at(0).isDigit() && readProcessEntry(pid_t(entry.toInt()), &process) &&
            process.state != 'Z' && process.state != 'X')
            running.insert(pid_t(entry.toInt()), process);
    }
    QList<Descendant> descendants;
    const pid_t self = ::getpid();
    const pid_t session = ::getsid(0);
    for (auto it = running.cbegin(); it != running.cend(); ++it) {
        if (it.key() == self || it->startTicks < m_startTicks)
            continue;
        // Up the parents to us; a bound guards against a loop of pids reused while reading.
        pid_t parent = it->parent;
        for (int depth = 0; depth < 64 && parent != self && running.contains(parent); ++depth)
            parent = running.value(parent).parent;
        if (parent == self)
            descendants.append({it->name, it->session != session});
    }
    return descendants;
}

void ChildProcess::closeOutput()
{
    closeFd(m_stdout);
    closeFd(m_stderr);
}
