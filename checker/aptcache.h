#pragma once

class pkgCacheFile;

namespace AptCheck {

// Reads APT's configuration (APT_CONFIG first, like apt-get) and sets up the
// package system. False with apt's errors pending.
bool initApt();

// Opens the package cache without taking any lock and with libapt-pkg's action groups
// inhibited (see planFullUpgrade). As an ordinary user a stale
// on-disk cache is rebuilt in memory only, so nothing is written. Warns about
// sources whose package lists were never downloaded: they would otherwise
// silently count as "no updates".
bool openCacheReadOnly(pkgCacheFile& cache);

} // namespace AptCheck
