#pragma once

#include "checker/packagechange.h"

#include <string>
#include <vector>

class pkgCacheFile;

namespace AptCheck {

// Marks a full upgrade (what apt-get dist-upgrade would do: holds and phased
// updates kept back, new dependencies installed, conflicting packages removed)
// on an opened cache and collects the upgrades, new installs and removals.
// False with apt's errors pending.
bool planFullUpgrade(pkgCacheFile& cache, std::vector<PackageChange>& changes);

// "U;N;R" followed by a line feed.
std::string formatCounts(const std::vector<PackageChange>& changes);

} // namespace AptCheck
