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

// A command line of the global configuration file (group "General"), or the built-in
// default of defaultIndex. Keys at the file's top level, as in a hand-written
// "[General]" section (Qt reads that as no group at all), are read as well.
QString globalCommand(const QString& key, int defaultIndex);
