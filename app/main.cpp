#include "notifierstarter.h"
#include "qtsingleapplication.h"

#include "core/restart.h"
#include "platform/tarnintegration.h"
#include "resources/resources.h"

#include <QProcess>

#include <csignal>
#include <memory>

namespace {
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
    auto application = std::make_unique<QtSingleApplication>(argc, argv);
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

    // Started only now that this instance has given up its lock and socket.
    if (isRestartRequested())
        QProcess::startDetached(program, arguments);
    return result;
}
