#include "checker/upgradeplan.h"

#include "checker/listing.h"

#include <apt-pkg/algorithms.h>
#include <apt-pkg/cachefile.h>
#include <apt-pkg/depcache.h>
#include <apt-pkg/error.h>
#include <apt-pkg/upgrade.h>

namespace AptCheck {

bool planFullUpgrade(pkgCacheFile& cache, std::vector<PackageChange>& changes)
{
    pkgDepCache* depCache = cache.GetDepCache();
    if (depCache == nullptr)
        return false;

    // apt-get first settles packages an interrupted dpkg run left half done
    // (reinstall, keep or remove them); counting the same way keeps us equal.
    if (!pkgApplyStatus(*depCache))
        return false;
    if (!APT::Upgrade::Upgrade(*depCache, APT::Upgrade::ALLOW_EVERYTHING, nullptr))
        return false;
    if (depCache->BrokenCount() != 0)
        return _error->Error("The upgrade would leave %lu packages with unmet dependencies",
                             depCache->BrokenCount());

    for (auto package = depCache->PkgBegin(); !package.end(); ++package) {
        pkgDepCache::StateCache& state = (*depCache)[package];
        PackageChange change;
        // NewInstall() before Upgrade(): a new install also counts as an upgrade
        // there. Downgrades and reinstalls are neither, as in apt-get's summary.
        if (state.NewInstall())
            change.kind = ChangeKind::Install;
        else if (state.Upgrade())
            change.kind = ChangeKind::Upgrade;
        else if (state.Delete() && package->CurrentVer != 0)
            change.kind = ChangeKind::Remove;
        else
            continue;

        change.name = package.FullName(true);
        if (change.kind != ChangeKind::Install)
            change.oldVersion = package.CurrentVer().VerStr();
        if (change.kind != ChangeKind::Remove) {
            const pkgCache::VerIterator version = state.InstVerIter(*depCache);
            change.newVersion = version.VerStr();
            change.security = isFromSecurityArchive(version);
        }
        changes.push_back(std::move(change));
    }
    return true;
}

std::string formatCounts(const std::vector<PackageChange>& changes)
{
    unsigned long counts[3] = {0, 0, 0};
    for (const PackageChange& change : changes)
        ++counts[static_cast<int>(change.kind)];
    return std::to_string(counts[static_cast<int>(ChangeKind::Upgrade)]) + ';' +
           std::to_string(counts[static_cast<int>(ChangeKind::Install)]) + ';' +
           std::to_string(counts[static_cast<int>(ChangeKind::Remove)]) + '\n';
}

} // namespace AptCheck
