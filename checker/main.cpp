// apt_check: tells the update notifier what a full upgrade would do.

#include "checker/aptcache.h"
#include "checker/keptback.h"
#include "checker/listing.h"
#include "checker/options.h"
#include "checker/report.h"
#include "checker/sizes.h"
#include "checker/upgradeplan.h"

#include <apt-pkg/cachefile.h>
#include <apt-pkg/error.h>

#include <vector>

using namespace AptCheck;

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);
    if (!options.error.empty())
        return failWith(options.error);
    if (options.mode == Mode::Help)
        return writeOutput(usageText()) ? 0 : failWithAptErrors();

    if (!initApt())
        return failWithAptErrors();
    pkgCacheFile cache;
    std::vector<PackageChange> changes;
    if (!openCacheReadOnly(cache) || !planFullUpgrade(cache, changes))
        return failWithAptErrors();

    std::string output;
    switch (options.mode) {
    case Mode::Counts:
        output = formatCounts(changes);
        break;
    case Mode::Packages:
        output = formatListing(changes);
        break;
    case Mode::Sizes: {
        UpgradeSizes sizes;
        if (!computeSizes(cache, sizes))
            return failWithAptErrors();
        output = formatSizes(sizes);
        break;
    }
    case Mode::KeptBack:
        output = formatKeptBack(findKeptBack(cache));
        break;
    case Mode::Help:
        break;
    }

    // Some calls only leave their error behind instead of returning false.
    if (_error->PendingError() || !writeOutput(output))
        return failWithAptErrors();
    printAptWarnings();
    return 0;
}
