#pragma once

#include <string>

namespace AptCheck {

// What one run of apt_check prints.
enum class Mode {
    Counts,   // "U;N;R"
    Packages, // one "kind;name;old;new;label" line per package
    Sizes,    // "DOWNLOAD;DELTA"
    KeptBack, // one "name;installed;candidate;reason;detail" line per package left out
    Help,
};

struct Options
{
    Mode mode = Mode::Counts;
    // Set when the command line cannot be used; the run then fails with it.
    std::string error;
};

Options parseOptions(int argc, const char* const* argv);
std::string usageText();

} // namespace AptCheck
