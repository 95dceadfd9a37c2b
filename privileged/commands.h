#pragma once

#include <QString>

// Indexes of defaultCommand().
enum DefaultCommandIndex {
    UpdateCommandIndex = 0,
    UpgradeCommandIndex = 1,
    FixBrokenCommandIndex = 2,
    PackageManagerCommandIndex = 3,
};

// The built-in command lines; an unknown index gives an empty string.
QString defaultCommand(int index);

// The system-wide configuration file with the three command lines.
QString globalConfigPath();
