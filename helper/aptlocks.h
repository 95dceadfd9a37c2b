#pragma once

#include "helpersettings.h"

#include <QStringList>

// Who holds APT's and dpkg's locks: dpkg's lock-frontend and lock beside its status file, the
// package lists' lock and the download cache's lock, where APT's configuration puts them.
class AptLocks
{
public:
    // Reads the lock files' locations from APT's configuration (none when it cannot).
    explicit AptLocks(const HelperSettings& settings);

    // One line per held lock: the file, the holder's pid and its command line.
    QStringList holders() const;

private:
    QStringList m_files;
};
