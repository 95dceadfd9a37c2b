#pragma once

#include <string>
#include <vector>

class pkgCacheFile;

namespace AptCheck {

// One installed package with a newer candidate that the full upgrade leaves as it is.
struct KeptPackage
{
    std::string name; // with ":arch" only for a foreign architecture
    std::string installedVersion;
    std::string candidateVersion;
    std::string reason; // "held", "phased" or "kept"
    // held: empty; phased: the Phased-Update-Percentage; kept: "removes:PKG", "needs:PKG" or empty
    std::string detail;
};

// The packages the upgrade already marked on the cache (see planFullUpgrade) leaves
// out. The cache itself is not changed.
std::vector<KeptPackage> findKeptBack(pkgCacheFile& cache);

// The lines of apt_check -k: "name;installed version;candidate version;reason;detail",
// sorted by name.
std::string formatKeptBack(std::vector<KeptPackage> kept);

} // namespace AptCheck
