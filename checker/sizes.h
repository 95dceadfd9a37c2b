#pragma once

#include <string>

class pkgCacheFile;

namespace AptCheck {

struct UpgradeSizes
{
    long long download = 0;       // bytes still to fetch: apt-get's "Need to get"
    long long installedDelta = 0; // change of the installed size in bytes; negative when freed
};

// Sizes of the upgrade already marked on the cache (see planFullUpgrade).
// Archives already in APT's archive cache and those on file: sources cost no
// download, exactly as apt-get counts them. False with apt's errors pending.
bool computeSizes(pkgCacheFile& cache, UpgradeSizes& sizes);

// "DOWNLOAD;DELTA" followed by a line feed.
std::string formatSizes(const UpgradeSizes& sizes);

} // namespace AptCheck
