#include "checker/keptback.h"

#include <apt-pkg/cachefile.h>
#include <apt-pkg/configuration.h>
#include <apt-pkg/depcache.h>
#include <apt-pkg/pkgrecords.h>
#include <apt-pkg/policy.h>
#include <apt-pkg/version.h>

#include <algorithm>
#include <memory>

namespace AptCheck {
namespace {

// Dependency levels and versions one package's search may look at: an answer stays quick
// on any system, and a reason too deep to find is left empty.
constexpr int MaxDepth = 3;
constexpr int MaxVersionsLooked = 200;

struct Obstacle
{
    std::string text; // "removes:PKG" or "needs:PKG"
    bool firm;        // the resolver may not change it: a hold, an essential package, nothing to install
};

// Why a package's candidate cannot come in beside what the upgrade keeps: follows the
// dependency data of the candidate and of the new packages it needs, without marking anything.
class ObstacleFinder
{
public:
    ObstacleFinder(pkgDepCache& plan, pkgPolicy& policy) : plan(plan), policy(policy) {}

    std::string reasonFor(const pkgCache::PkgIterator& package)
    {
        obstacles.clear();
        looked = 0;
        look(policy.GetCandidateVer(package), 0);
        for (const Obstacle& obstacle : obstacles) {
            if (obstacle.firm)
                return obstacle.text;
        }
        return obstacles.empty() ? std::string() : obstacles.front().text;
    }

private:
    bool presentAfterUpgrade(const pkgCache::VerIterator& version)
    {
        return plan[version.ParentPkg()].InstallVer == version;
    }

    bool mayChange(const pkgCache::PkgIterator& package)
    {
        return package->SelectedState != pkgCache::State::Hold && !plan[package].Protect();
    }

    // An installed package that stays as it is would have to go.
    void conflictWith(const pkgCache::PkgIterator& owner, const pkgCache::VerIterator& version)
    {
        if (owner->CurrentVer == 0 || !presentAfterUpgrade(version))
            return;
        const bool essential = (owner->Flags & (pkgCache::Flag::Essential | pkgCache::Flag::Important)) != 0;
        obstacles.push_back({"removes:" + owner.FullName(true), essential || !mayChange(owner)});
    }

    void look(const pkgCache::VerIterator& version, int depth)
    {
        if (version.end() || depth >= MaxDepth || ++looked > MaxVersionsLooked)
            return;
        const pkgCache::PkgIterator package = version.ParentPkg();
        for (auto dependency = version.DependsList(); !dependency.end();) {
            pkgCache::DepIterator first, last;
            dependency.GlobOr(first, last); // steps past the whole or-group
            if (!plan.IsImportantDep(first))
                continue;
            if (first.IsNegative()) {
                std::unique_ptr<pkgCache::Version*[]> targets(first.AllTargets());
                for (pkgCache::Version** target = targets.get(); *target != nullptr; ++target) {
                    const pkgCache::VerIterator other(plan.GetCache(), *target);
                    if (other.ParentPkg() != package)
                        conflictWith(other.ParentPkg(), other);
                }
                continue;
            }
            lookAtAlternatives(first, depth);
        }
        for (auto dependency = package.RevDependsList(); !dependency.end(); ++dependency) {
            const pkgCache::PkgIterator owner = dependency.ParentPkg();
            if (dependency.IsNegative() && owner != package && plan.IsImportantDep(dependency) &&
                dependency.IsSatisfied(version))
                conflictWith(owner, dependency.ParentVer());
        }
    }

    // One or-group: met by what the upgrade keeps, or by a candidate that may come in (then
    // that one is looked into), or by nothing at all.
    void lookAtAlternatives(pkgCache::DepIterator member, int depth)
    {
        const pkgCache::DepIterator first = member;
        pkgCache::VerIterator installable;
        while (true) {
            std::unique_ptr<pkgCache::Version*[]> targets(member.AllTargets());
            for (pkgCache::Version** target = targets.get(); *target != nullptr; ++target) {
                const pkgCache::VerIterator other(plan.GetCache(), *target);
                if (presentAfterUpgrade(other))
                    return;
                if (installable.end() && mayChange(other.ParentPkg()) &&
                    policy.GetCandidateVer(other.ParentPkg()) == other)
                    installable = other;
            }
            if ((member->CompareOp & pkgCache::Dep::Or) == 0)
                break;
            ++member;
        }
        if (installable.end())
            obstacles.push_back({"needs:" + first.TargetPkg().FullName(true), true});
        else
            look(installable, depth + 1);
    }

    pkgDepCache& plan;
    pkgPolicy& policy;
    std::vector<Obstacle> obstacles;
    int looked = 0;
};

// The version's Phased-Update-Percentage when it is below 100, else empty. Read from the
// package record: libapt-pkg keeps its parsed value to itself.
std::string phasedPercentage(pkgRecords& records, const pkgCache::VerIterator& version)
{
    const std::string value = records.Lookup(version.FileList()).RecordField("Phased-Update-Percentage");
    const bool digits = !value.empty() && value.size() <= 2 &&
                        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? value : std::string();
}

} // namespace

std::vector<KeptPackage> findKeptBack(pkgCacheFile& cache)
{
    pkgDepCache& plan = *cache.GetDepCache();
    const bool holdsCount = !_config->FindB("APT::Ignore-Hold", false);
    pkgRecords records(cache);
    ObstacleFinder obstacles(plan, *cache.GetPolicy());
    std::vector<KeptPackage> kept;
    for (auto package = plan.PkgBegin(); !package.end(); ++package) {
        pkgDepCache::StateCache& state = plan[package];
        if (package->CurrentVer == 0 || state.Upgrade() || state.Delete())
            continue;
        // The policy's candidate, as apt-get judges "kept back": the plan drops the candidate
        // of a package it could not install.
        const pkgCache::VerIterator candidate = cache.GetPolicy()->GetCandidateVer(package);
        const pkgCache::VerIterator installed = package.CurrentVer();
        if (candidate.end() || plan.VS().CmpVersion(candidate.VerStr(), installed.VerStr()) <= 0)
            continue;
        KeptPackage entry{package.FullName(true), installed.VerStr(), candidate.VerStr(), "kept", ""};
        // The upgrade protects the held packages and the phased updates it leaves out.
        const std::string phased = state.Protect() ? phasedPercentage(records, candidate) : std::string();
        if (holdsCount && package->SelectedState == pkgCache::State::Hold) {
            entry.reason = "held";
        } else if (!phased.empty()) {
            entry.reason = "phased";
            entry.detail = phased;
        } else {
            entry.detail = obstacles.reasonFor(package);
        }
        kept.push_back(std::move(entry));
    }
    return kept;
}

std::string formatKeptBack(std::vector<KeptPackage> kept)
{
    std::sort(kept.begin(), kept.end(),
              [](const KeptPackage& a, const KeptPackage& b) { return a.name < b.name; });
    std::string text;
    for (const KeptPackage& entry : kept) {
        text += entry.name + ';' + entry.installedVersion + ';' + entry.candidateVersion + ';' +
                entry.reason + ';' + entry.detail + '\n';
    }
    return text;
}

} // namespace AptCheck
