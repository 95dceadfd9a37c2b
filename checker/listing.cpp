#include "checker/listing.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <tuple>

namespace AptCheck {
namespace {

bool endsWithIgnoringCase(const char* text, const char* suffix)
{
    if (text == nullptr)
        return false;
    const size_t length = std::strlen(text);
    const size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && strcasecmp(text + length - suffixLength, suffix) == 0;
}

bool containsIgnoringCase(const char* text, const char* part)
{
    return text != nullptr && strcasestr(text, part) != nullptr;
}

char kindLetter(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Upgrade:
        return 'u';
    case ChangeKind::Install:
        return 'i';
    case ChangeKind::Remove:
        return 'd';
    }
    return '?';
}

} // namespace

bool isFromSecurityArchive(const pkgCache::VerIterator& version)
{
    for (auto versionFile = version.FileList(); !versionFile.end(); ++versionFile) {
        const pkgCache::PkgFileIterator file = versionFile.File();
        if (file.Flagged(pkgCache::Flag::NotSource)) // dpkg's status file
            continue;
        if (endsWithIgnoringCase(file.Archive(), "-security") ||
            endsWithIgnoringCase(file.Codename(), "-security") ||
            containsIgnoringCase(file.Label(), "security"))
            return true;
    }
    return false;
}

std::string formatListing(std::vector<PackageChange> changes)
{
    std::sort(changes.begin(), changes.end(), [](const PackageChange& a, const PackageChange& b) {
        return std::tie(a.kind, a.name) < std::tie(b.kind, b.name);
    });

    std::string text;
    for (const PackageChange& change : changes) {
        text += kindLetter(change.kind);
        text += ';' + change.name + ';' + change.oldVersion + ';' + change.newVersion + ';';
        if (change.security)
            text += "security";
        text += change.importance;
        text += '\n';
    }
    return text;
}

} // namespace AptCheck
