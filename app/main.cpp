#include "displayprobe.h"
#include "notifierstarter.h"
#include "qtsingleapplication.h"

#include "core/restart.h"
#include "platform/tarnintegration.h"
#include "resources/resources.h"

#include <QCommandLineParser>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {
// --help and --version print their text and end; they need no display.
bool asksForTextOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

// Answers --help and --version, hands --quit on, or tells an administrator that there is no
// display (or none that answers); the exit status.
int runWithoutDisplay(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    initTarnResources();
    tarnInit(TARN_VERSION_STRING, TARN_DESCRIPTION);
    QCommandLineParser parser;
    NotifierStarter::describeOptions(parser);
    parser.process(application); // exits after --help and --version
    // Anybody but an administrator gets nothing from the notifier, not even a complaint.
    if (NotifierStarter::forwardsQuit(parser) || !NotifierStarter::isAdministrator())
        return 0;
    std::fprintf(stderr, "%s\n",
                 qPrintable(QCoreApplication::translate("main", "%1: no display to show the notifier on")
                                .arg(QCoreApplication::applicationName())));
    return 1;
}

int installTermHandler()
{
    struct sigaction action = {};
    action.sa_handler = NotifierStarter::termSignalHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr);
}
} // namespace

int main(int argc, char** argv)
{
    if (asksForTextOnly(argc, argv) || !DisplayProbe::reachable())
        return runWithoutDisplay(argc, argv);
    // No window of ours holds OpenGL content: without this, the first window shown would
    // load the system's whole OpenGL stack for nothing.
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    // Qt takes its own options out of argv: a new start needs them all.
    std::vector<char*> startArguments(argv, argv + argc + 1);
    DisplayProbe::guardConnection(startArguments.data());
    auto application = std::make_unique<QtSingleApplication>(argc, argv);
    DisplayProbe::release();
    initTarnResources();
    tarnInit(TARN_VERSION_STRING, TARN_DESCRIPTION);

    auto starter = std::make_unique<NotifierStarter>(application.get());
    int result = starter->exitCode();
    if (!starter->shouldExit()) {
        installTermHandler();
        result = application->exec();
    }

    const QString program = QCoreApplication::applicationFilePath();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    starter.reset();
    application.reset();

    // Replaced only now that this instance has given up its lock and socket. The new file
    // answered --version a moment ago; should it fail now, say so.
    if (isRestartRequested()) {
        execRestart(program, arguments);
        std::fprintf(stderr, "%s: %s\n", qPrintable(program), std::strerror(errno));
        return 1;
    }
    return result;
}
