#include "restart.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <unistd.h>

#include <vector>

namespace {
bool restartRequested = false;
bool settingsRequested = false;
constexpr int ProbeTimeoutMs = 5000;
// "tarn-update-notifier VERSION\n" is all --version prints.
constexpr qint64 ProbeOutputLimit = 200;
} // namespace

bool programRuns(const QString& program)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(program, {QStringLiteral("--version")}, QIODevice::ReadOnly);
    if (!probe.waitForStarted(ProbeTimeoutMs))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (probe.state() != QProcess::NotRunning && probe.bytesAvailable() <= ProbeOutputLimit &&
           !clock.hasExpired(ProbeTimeoutMs))
        probe.waitForFinished(100);
    if (probe.state() != QProcess::NotRunning) {
        probe.kill();
        probe.waitForFinished(ProbeTimeoutMs);
        return false;
    }
    const QByteArray expected = QCoreApplication::applicationName().toUtf8() + ' ';
    const QByteArray answer = probe.read(ProbeOutputLimit + 1);
    return probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0 &&
           answer.size() <= ProbeOutputLimit && answer.startsWith(expected) && answer.endsWith('\n') &&
           answer.count('\n') == 1;
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
    if (settingsRequested)
        arguments.removeAll(QStringLiteral("--silent"));
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
