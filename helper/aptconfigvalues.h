#pragma once

#include "helpersettings.h"

#include <QStringList>

// The values of APT configuration keys as APT itself resolves them ("/f" and "/d" after a
// key make it a file or folder path under Dir), read through "apt-config shell". In the
// order of `keys`; a value APT does not give (apt-config failed, or the key is unset) is
// empty. When apt-config cannot be run or does not answer, *error says so and the list is
// empty.
QStringList aptConfigValues(const HelperSettings& settings, const QStringList& keys, QString* error);

// The elements of the list `key` (such as "DPkg::Options"), in APT's order, read through
// "apt-config dump"; empty when apt-config fails. *error as above.
QStringList aptConfigList(const HelperSettings& settings, const QString& key, QString* error);
