#pragma once

#include "systempaths.h"

// Whether dpkg was left with work half done (a power cut, a killed terminal, a crashed package
// tool), which "dpkg --configure -a" finishes. Until then APT refuses to install anything.
namespace DpkgState {

// True when dpkg's journal holds entries, or a package in the status file is half installed,
// half configured, or unpacked but not configured.
bool isInterrupted(const SystemPaths& paths = SystemPaths::current());

} // namespace DpkgState
