#include "checker/aptcache.h"

#include <apt-pkg/aptconfiguration.h>
#include <apt-pkg/cachefile.h>
#include <apt-pkg/configuration.h>
#include <apt-pkg/error.h>
#include <apt-pkg/fileutl.h>
#include <apt-pkg/indexfile.h>
#include <apt-pkg/init.h>
#include <apt-pkg/metaindex.h>
#include <apt-pkg/pkgsystem.h>
#include <apt-pkg/sourcelist.h>
#include <apt-pkg/strutl.h>

#include <string>

namespace AptCheck {
namespace {

// A repository counts as downloaded once its release file is in the lists
// directory. Then a missing package list is one the repository does not
// offer (an architecture it lacks, say), which apt-get update merely notes.
bool releaseFileFetched(const IndexTarget& target, const std::string& listsDir)
{
    const std::string base = target.Option(IndexTarget::BASE_URI);
    for (const char* name : {"InRelease", "Release"}) {
        if (FileExists(listsDir + URItoFileName(base + name)))
            return true;
    }
    return false;
}

void warnAboutMissingLists(pkgSourceList& sources)
{
    const std::string listsDir = _config->FindDir("Dir::State::lists");
    for (metaIndex* repository : sources) {
        for (const IndexTarget& target : repository->GetIndexTargets()) {
            // Debian's archives have no separate lists for architecture "all".
            if (target.Option(IndexTarget::CREATED_BY) != "Packages" ||
                target.Option(IndexTarget::ARCHITECTURE) == "all" ||
                !target.Option(IndexTarget::EXISTING_FILENAME).empty() ||
                releaseFileFetched(target, listsDir))
                continue;
            _error->Warning("Package list %s is missing - run apt-get update", target.Description.c_str());
        }
    }
}

} // namespace

bool initApt()
{
    if (!pkgInitConfig(*_config) || !pkgInitSystem(*_config, _system))
        return false;
    // Nothing here asks for a lock; this keeps it so should a library call ever try.
    _config->Set("Debug::NoLocking", true);
    // The resolver would leave a copy of its request in this file when one is configured:
    // we only look, and leave nothing behind, not even as root.
    _config->Clear("Dir::Log::Solver");

    // Unless configured, libapt-pkg asks dpkg for the architectures each time it maps a
    // cache. Asked once, the answer is kept in the configuration.
    if (_config->FindVector("APT::Architectures").empty()) {
        for (const std::string& architecture : APT::Configuration::getArchitectures())
            _config->Set("APT::Architectures::", architecture);
    }
    return !_error->PendingError();
}

bool openCacheReadOnly(pkgCacheFile& cache)
{
    // libapt-pkg works out the unneeded packages after every change outside an action
    // group, and once more when the dependency cache is set up: a good part of the run
    // time. Without action groups planFullUpgrade asks for it once, when it is needed.
    cache.InhibitActionGroups(true);
    if (!cache.ReadOnlyOpen(nullptr) || _error->PendingError())
        return false;
    warnAboutMissingLists(*cache.GetSourceList());
    return true;
}

} // namespace AptCheck
