#include "checker/sizes.h"

#include <apt-pkg/acquire.h>
#include <apt-pkg/cachefile.h>
#include <apt-pkg/depcache.h>
#include <apt-pkg/error.h>
#include <apt-pkg/packagemanager.h>
#include <apt-pkg/pkgrecords.h>
#include <apt-pkg/pkgsystem.h>

#include <memory>

namespace AptCheck {

bool computeSizes(pkgCacheFile& cache, UpgradeSizes& sizes)
{
    pkgDepCache* depCache = cache.GetDepCache();
    if (depCache == nullptr)
        return false;

    // The archives are only queued, never fetched: an acquire object that never
    // runs takes no lock and creates no directories. Queueing looks at what is
    // already in the archive cache, which DebSize() would not.
    pkgAcquire fetcher;
    pkgRecords records(*depCache);
    std::unique_ptr<pkgPackageManager> packageManager(_system->CreatePM(depCache));
    if (!packageManager->GetArchives(&fetcher, cache.GetSourceList(), &records) || _error->PendingError())
        return false;

    // Like apt-get, a partly downloaded archive still counts in full.
    sizes.download = static_cast<long long>(fetcher.FetchNeeded());
    // Installed-Size is in KiB; libapt-pkg already turns it into bytes.
    sizes.installedDelta = depCache->UsrSize();
    return true;
}

std::string formatSizes(const UpgradeSizes& sizes)
{
    return std::to_string(sizes.download) + ';' + std::to_string(sizes.installedDelta) + '\n';
}

} // namespace AptCheck
