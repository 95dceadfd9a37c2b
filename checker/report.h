#pragma once

#include <string>

namespace AptCheck {

// apt-get's exit status for any failure.
constexpr int FailureExitCode = 100;

// Prints libapt-pkg's collected messages on standard error in apt's own form
// ("E: ...", "W: ...") and returns the failure exit status.
int failWithAptErrors();
// Adds one error of our own to those of libapt-pkg, then fails like above.
int failWith(const std::string& message);
// Prints the warnings collected so far, for a run that still succeeds.
void printAptWarnings();
// Writes text to standard output; false (with an error pending) when it did
// not get out whole, so a full disk or a closed pipe is never reported as success.
bool writeOutput(const std::string& text);

} // namespace AptCheck
