#pragma once

#include "checker/packagechange.h"

#include <apt-pkg/pkgcache.h>

#include <string>
#include <vector>

namespace AptCheck {

// True when any archive offering this version is a security archive: its suite
// or codename ends in "-security" (Debian "bookworm-security", Ubuntu
// "jammy-security") or its label contains "security" (Debian's "Debian-Security",
// also older suites named like "stable").
bool isFromSecurityArchive(const pkgCache::VerIterator& version);

// The lines of apt_check -p: "kind;name;old version;new version;label", upgrades
// first, then new installs, then removals, each group sorted by name. The label is
// "security" for upgrades and installs from a security archive; for removals, which had
// none, "essential" or "required" where the system needs the package.
std::string formatListing(std::vector<PackageChange> changes);

} // namespace AptCheck
