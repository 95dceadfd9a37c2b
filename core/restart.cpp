#include "restart.h"

#include <QCoreApplication>

namespace {
bool restartRequested = false;
}

void requestRestart()
{
    restartRequested = true;
    QCoreApplication::quit();
}

bool isRestartRequested()
{
    return restartRequested;
}
