#pragma once

#include <QString>

// Whether dpkg was left with work half done (a power cut, a killed terminal, a crashed package
// tool), which "dpkg --configure -a" finishes. Until then APT refuses to install anything.
namespace DpkgState {

// True when dpkg's journal (the folder "updates" beside its status file) holds entries: status
// changes dpkg has not merged into the status file, as after it was killed.
bool hasJournalEntries(const QString& journalDir);

// True when dpkg's journal holds entries, or a package in the status file is half installed,
// half configured, or unpacked but not configured.
bool isInterrupted(const QString& statusFile, const QString& journalDir);

} // namespace DpkgState
