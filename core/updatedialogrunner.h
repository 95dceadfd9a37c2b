#pragma once

#include <QString>

// Refreshes the package lists before a manual check; 1 when the check may go on.
int runUpdateDialog(const QString& updateCommand);
