#include "restart.h"

#include "base/boundedprocess.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

#include <vector>

namespace {
bool restartRequested = false;
bool settingsRequested = false;
constexpr int ProbeTimeoutMs = 5000;
// "tarn-update-notifier VERSION\n" is all --version prints.
constexpr qint64 ProbeOutputLimit = 200;
// Warnings it may print on the way are read and left aside.
constexpr qint64 ProbeErrorLimit = 64 * 1024;
} // namespace

bool programRuns(const QString& program)
{
    BoundedProcess probe(ProbeOutputLimit, ProbeErrorLimit);
    probe.start(program, {QStringLiteral("--version")}, QIODevice::ReadOnly);
    if (!probe.waitForFinished(ProbeTimeoutMs)) {
        probe.killGroup();
        probe.waitForFinished(ProbeTimeoutMs);
        return false;
    }
    const QByteArray expected = QCoreApplication::applicationName().toUtf8() + ' ';
    const QByteArray answer = probe.output();
    return !probe.overflowed() && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0 &&
           answer.startsWith(expected) && answer.endsWith('\n') && answer.count('\n') == 1;
}

void requestRestart(bool openSettings)
{
    restartRequested = true;
    settingsRequested = openSettings;
    QCoreApplication::quit();
}

bool isRestartRequested()
{
    return restartRequested;
}

void execRestart(const QString& program, QStringList arguments)
{
    // Only a restart for a start that asked for the settings opens them. Any other comes
    // unasked (an upgrade replaced the program) and stays quiet, whatever the first start said.
    arguments.removeAll(QStringLiteral("--silent"));
    if (!settingsRequested)
        arguments.append(QStringLiteral("--silent"));
    arguments.prepend(program);
    std::vector<QByteArray> storage;
    for (const QString& argument : arguments)
        storage.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(argv.front(), argv.data());
}
