#include "updatedialogrunner.h"

int runUpdateDialog(const QString& updateCommand)
{
    // Stand-in until the package-list refresh through the privileged helper exists.
    Q_UNUSED(updateCommand)
    return 1;
}
