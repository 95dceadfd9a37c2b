#include "checker/sizes.h"

#include <apt-pkg/acquire-item.h>
#include <apt-pkg/acquire.h>
#include <apt-pkg/cachefile.h>
#include <apt-pkg/depcache.h>
#include <apt-pkg/error.h>
#include <apt-pkg/pkgrecords.h>

#include <algorithm>
#include <deque>
#include <tuple>
#include <vector>

namespace AptCheck {
namespace {

// The versions whose archives the upgrade needs: the packages pkgPackageManager::GetArchives
// queues (those changing, reinstalled or left unpacked; not those removed or waiting for
// configuration only).
std::vector<pkgCache::VerIterator> versionsToFetch(pkgDepCache& depCache)
{
    pkgCache& cache = depCache.GetCache();
    std::vector<pkgCache::VerIterator> versions;
    for (auto package = depCache.PkgBegin(); !package.end(); ++package) {
        if (package->VersionList == 0)
            continue;
        pkgDepCache::StateCache& state = depCache[package];
        const bool unchanged = (state.Keep() || state.InstVerIter(cache) == package.CurrentVer()) &&
                               package.State() == pkgCache::PkgIterator::NeedsNothing &&
                               (state.iFlags & pkgDepCache::ReInstall) == 0 &&
                               (package.Purge() || state.Mode != pkgDepCache::ModeDelete ||
                                (state.iFlags & pkgDepCache::Purge) == 0);
        if (unchanged || state.Delete() ||
            (package.State() == pkgCache::PkgIterator::NeedsConfigure && state.Keep()))
            continue;
        versions.push_back(state.InstVerIter(cache));
    }
    return versions;
}

// Where a version's record lies in its first package list.
std::tuple<unsigned long, unsigned long> recordPosition(const pkgCache::VerIterator& version)
{
    const pkgCache::VerFileIterator file = version.FileList();
    if (file.end())
        return {0, 0};
    return {file.File()->ID, file->Offset};
}

} // namespace

bool computeSizes(pkgCacheFile& cache, UpgradeSizes& sizes)
{
    pkgDepCache* depCache = cache.GetDepCache();
    pkgSourceList* sources = cache.GetSourceList();
    if (depCache == nullptr || sources == nullptr)
        return false;

    // Each archive is queued on an acquire object that never runs: it takes no lock and
    // creates no directories, and queueing already decides what needs no download (an
    // archive in APT's archive cache, one on a file: source).
    // The records are read in the order they lie in the package lists, not in install
    // order: lists may be kept compressed, and each step back means decompressing the
    // list again from its start.
    std::vector<pkgCache::VerIterator> versions = versionsToFetch(*depCache);
    std::stable_sort(versions.begin(), versions.end(),
                     [](const pkgCache::VerIterator& a, const pkgCache::VerIterator& b) {
                         return recordPosition(a) < recordPosition(b);
                     });
    pkgAcquire fetcher;
    pkgRecords records(*depCache);
    std::deque<std::string> storeFileNames; // the items keep references to these
    for (const pkgCache::VerIterator& version : versions) {
        storeFileNames.emplace_back();
        new pkgAcqArchive(&fetcher, sources, &records, version, storeFileNames.back()); // owned by fetcher
        if (_error->PendingError())
            return false;
    }

    // Like apt-get's "Need to get", a partly downloaded archive still counts in full.
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
