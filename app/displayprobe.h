#pragma once

// Whether the display this start would show its windows on can be reached. Qt aborts
// the whole program (a core dump) when it cannot connect to the display it picked, so
// this is asked before the application object exists.
namespace DisplayProbe {
bool reachable();
} // namespace DisplayProbe
