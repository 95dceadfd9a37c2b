#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <sys/types.h>

// One program run without a shell, with a fixed environment, in a process group of its own,
// stdin from /dev/null and its stdout and stderr read line by line.
class ChildProcess
{
public:
    // A longer line is cut here, so output without line ends cannot fill the helper's memory.
    static constexpr int MaxLineBytes = 64 * 1024;

    enum Channel { StandardOutput, StandardError };
    using LineHandler = std::function<void(Channel, const QByteArray&)>;

    ChildProcess(const QString& program, const QStringList& arguments, const QStringList& environment);
    // A child still running is killed with its group and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False when the program could not be started; errorString() says why.
    bool start();
    QString errorString() const { return m_error; }

    // Waits up to `timeoutMs` for output or the end and hands complete lines (without their
    // line end) to `onLine`. Returns false once the program has ended and its output is read.
    bool poll(int timeoutMs, const LineHandler& onLine);

    // Runs the started program to its end, at most `limitMs`, and returns its output lines
    // (stdout and stderr). False when it took longer; it is then killed.
    bool collect(int limitMs, QStringList* lines);
    // start() and collect() in one: an error text when the program cannot be started or
    // does not end in time, else empty (exitCode() tells the rest).
    QString runToEnd(int limitMs, QStringList* lines);

    // Stops reading output that something the program left behind still holds.
    void closeOutput();

    // Reads the output that is waiting now, without waiting for more.
    void readPending(const LineHandler& onLine);

    // SIGINT to the program alone: APT ends its downloads at once; should its dpkg phase have
    // begun meanwhile, it finishes the dpkg run in progress before it stops.
    void interrupt();
    // SIGTERM, then SIGKILL, to everything in the group.
    void terminateGroup();
    void killGroup();

    bool hasEnded() const { return m_ended && m_stdout < 0 && m_stderr < 0; }
    // The program itself has exited, though something it started may still hold its output.
    bool programEnded() const { return m_ended; }
    struct Descendant
    {
        QByteArray name; // as the kernel names it
        bool ownSession; // in a session other than ours, as APT's dpkg on its pseudo-terminal
    };
    // The processes that the program started, directly or not, and that still run: our
    // descendants that began with the program or later. Because we are a child subreaper (set by
    // start()), what the program orphaned stays among them.
    QList<Descendant> runningDescendants() const;
    // Valid after the end: the exit code, or -1 when a signal ended the program.
    int exitCode() const { return m_exitCode; }

private:
    void reap(bool block);
    bool pollChannels(int timeoutMs, const LineHandler& onLine);
    bool readChannel(int& fd, QByteArray& buffer, bool& cut, Channel channel, const LineHandler& onLine);
    void flushPartialLines(const LineHandler& onLine);

    QString m_program;
    QStringList m_arguments;
    QStringList m_environment;
    QString m_error;
    pid_t m_pid = -1;
    int m_stdout = -1;
    int m_stderr = -1;
    QByteArray m_stdoutBuffer;
    QByteArray m_stderrBuffer;
    // The channel's current line was cut; its rest is dropped up to the next line end.
    bool m_stdoutCut = false;
    bool m_stderrCut = false;
    bool m_ended = false;
    int m_exitCode = -1;
    // The program's start, in the kernel's clock ticks since boot.
    qint64 m_startTicks = 0;
};
