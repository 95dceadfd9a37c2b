#pragma once

#include <QByteArray>
#include <QProcess>

// A child program in a process group of its own, whose output is read as it comes and kept
// up to a cap per channel. Past a cap the whole group is killed: a program that prints
// without end costs no memory, and nothing it started outlives it.
class BoundedProcess : public QProcess
{
    Q_OBJECT
public:
    BoundedProcess(qint64 outputCap, qint64 errorCap, QObject* parent = nullptr);
    // A program still running is killed with its group.
    ~BoundedProcess() override;

    // SIGKILL to the program and everything in its group.
    void killGroup();
    // The program printed more than a cap allows (and was killed for it).
    bool overflowed() const { return m_overflowed; }
    // What the program printed, up to the caps.
    QByteArray output() const { return m_output; }
    QByteArray errors() const { return m_errors; }

protected:
    void setupChildProcess() override;

private:
    void collect(ProcessChannel channel, QByteArray& buffer, qint64 cap);

    qint64 m_outputCap;
    qint64 m_errorCap;
    QByteArray m_output;
    QByteArray m_errors;
    bool m_overflowed = false;
};
