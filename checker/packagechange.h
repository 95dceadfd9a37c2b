#pragma once

#include <string>

namespace AptCheck {

// Listed in the order apt_check -p prints the kinds.
enum class ChangeKind {
    Upgrade,
    Install,
    Remove,
};

// One package that a full upgrade changes.
struct PackageChange
{
    ChangeKind kind = ChangeKind::Upgrade;
    std::string name;       // with ":arch" only for a foreign architecture
    std::string oldVersion; // empty for Install
    std::string newVersion; // empty for Remove
    bool security = false;  // the new version comes from a security archive
    // For Remove: "essential" (Essential: yes) or "required" (Priority: required), else empty.
    std::string importance;
};

} // namespace AptCheck
