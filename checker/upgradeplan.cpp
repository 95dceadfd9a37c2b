#include "checker/upgradeplan.h"

#include "checker/listing.h"

#include <apt-pkg/algorithms.h>
#include <apt-pkg/cachefile.h>
#include <apt-pkg/depcache.h>
#include <apt-pkg/error.h>
#include <apt-pkg/upgrade.h>

#include <algorithm>
#include <vector>

// The steps below follow what the notifier's upgrade command, "apt-get -f dist-upgrade",
// does before it asks for confirmation, so the figures shown are the figures of the upgrade.

namespace AptCheck {
namespace {

// Packages that an interrupted dpkg run left half done are reinstalled, kept or removed,
// and unmet dependencies are repaired first (that is the -f).
// The cache was opened with action groups inhibited, so the unneeded packages are worked
// out only where a result depends on them: apt-get's resolvers look at them as they are
// after this step.
bool settleSystemState(pkgDepCache& depCache)
{
    if (!pkgApplyStatus(depCache) || !depCache.MarkAndSweep())
        return false;
    if (depCache.BrokenCount() == 0)
        return true;
    if (!pkgFixBroken(depCache) || depCache.BrokenCount() != 0)
        return _error->Error("Unable to correct dependencies");
    if (!pkgMinimizeUpgrade(depCache))
        return _error->Error("Unable to minimize the upgrade set");
    return depCache.MarkAndSweep();
}

// True when an installed package that stays, or a package being installed or upgraded,
// needs `package` (directly or through something the package provides).
bool neededByAnotherChange(pkgDepCache& depCache, const pkgCache::PkgIterator& package)
{
    std::vector<pkgCache::PkgIterator> names{package};
    for (auto provides = depCache[package].CandidateVerIter(depCache.GetCache()).ProvidesList();
         !provides.end(); ++provides)
        names.push_back(provides.ParentPkg());

    for (const pkgCache::PkgIterator& name : names) {
        for (auto dependency = name.RevDependsList(); !dependency.end(); ++dependency) {
            if (dependency.IsNegative() || !depCache.IsImportantDep(dependency))
                continue;
            const pkgCache::VerIterator version = dependency.ParentVer();
            if (version.end())
                continue;
            const pkgCache::PkgIterator owner = version.ParentPkg();
            pkgDepCache::StateCache& ownerState = depCache[owner];
            if (owner.CurrentVer() == version) {
                if (ownerState.Keep())
                    return true;
            } else if (ownerState.CandidateVerIter(depCache.GetCache()) == version) {
                if (ownerState.NewInstall() || ownerState.Upgrade())
                    return true;
            }
        }
    }
    return false;
}

// apt-get never installs a new package that has become unneeded (say, a new dependency
// of an upgrade the resolver kept back after all). It removes no installed package for
// being unneeded either: for upgrades it ignores APT::Get::AutomaticRemove in the
// configuration, and the upgrade command does not ask for it.
bool leaveOutUnneededPackages(pkgDepCache& depCache)
{
    std::vector<pkgCache::PkgIterator> leftOut;
    for (auto package = depCache.PkgBegin(); !package.end(); ++package) {
        const pkgDepCache::StateCache& state = depCache[package];
        if (state.Garbage && state.Install() && package->CurrentVer == 0)
            leftOut.push_back(package);
    }
    if (leftOut.empty())
        return true;

    for (const pkgCache::PkgIterator& package : leftOut)
        depCache.MarkDelete(package, false, 0, false);

    // Leaving one package out can break another change that needs it: take such ones back.
    bool changed = depCache.BrokenCount() != 0 || depCache.PolicyBrokenCount() != 0;
    while (changed) {
        changed = false;
        for (auto package = leftOut.begin(); package != leftOut.end(); ++package) {
            if (neededByAnotherChange(depCache, *package)) {
                depCache.MarkInstall(*package, false, 0, false);
                leftOut.erase(package);
                changed = true;
                break;
            }
        }
    }
    return true;
}

bool bringsNewPackages(pkgDepCache& depCache)
{
    for (auto package = depCache.PkgBegin(); !package.end(); ++package) {
        if (depCache[package].NewInstall())
            return true;
    }
    return false;
}

// Why the system needs an installed package, as apt_check -p labels its removal.
std::string importance(const pkgCache::PkgIterator& package)
{
    if ((package->Flags & pkgCache::Flag::Essential) != 0)
        return "essential";
    if (package.CurrentVer()->Priority == pkgCache::State::Required)
        return "required";
    return std::string();
}

void collectChanges(pkgDepCache& depCache, std::vector<PackageChange>& changes)
{
    for (auto package = depCache.PkgBegin(); !package.end(); ++package) {
        pkgDepCache::StateCache& state = depCache[package];
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
        if (change.kind == ChangeKind::Remove)
            change.importance = importance(package);
        if (change.kind != ChangeKind::Remove) {
            const pkgCache::VerIterator version = state.InstVerIter(depCache);
            change.newVersion = version.VerStr();
            change.security = isFromSecurityArchive(version);
        }
        changes.push_back(std::move(change));
    }
}

} // namespace

bool planFullUpgrade(pkgCacheFile& cache, std::vector<PackageChange>& changes)
{
    pkgDepCache* depCache = cache.GetDepCache();
    if (depCache == nullptr || !settleSystemState(*depCache))
        return false;
    // Holds, pins and phased updates are honoured inside, as apt-get honours them.
    if (!APT::Upgrade::Upgrade(*depCache, APT::Upgrade::ALLOW_EVERYTHING, nullptr))
        return false;
    if (depCache->BrokenCount() != 0)
        return _error->Error("The upgrade would leave %lu packages with unmet dependencies",
                             depCache->BrokenCount());
    // Only new packages can turn out unneeded, so only then is it worked out again.
    if (bringsNewPackages(*depCache)) {
        if (!depCache->MarkAndSweep() || !leaveOutUnneededPackages(*depCache))
            return false;
        if (depCache->BrokenCount() != 0)
            return _error->Error("Leaving out unneeded packages would break %lu others",
                                 depCache->BrokenCount());
    }

    collectChanges(*depCache, changes);
    return true;
}

std::string formatCounts(const std::vector<PackageChange>& changes)
{
    const auto count = [&changes](ChangeKind kind) {
        return std::to_string(
            std::count_if(changes.begin(), changes.end(),
                          [kind](const PackageChange& change) { return change.kind == kind; }));
    };
    return count(ChangeKind::Upgrade) + ';' + count(ChangeKind::Install) + ';' + count(ChangeKind::Remove) +
           '\n';
}

} // namespace AptCheck
