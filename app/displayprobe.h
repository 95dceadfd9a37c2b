#pragma once

// Whether the display this start would show its windows on can be reached. Qt aborts
// the whole program (a core dump) when it cannot connect to the display it picked, so
// this is asked before the application object exists.
namespace DisplayProbe {
bool reachable();
// A busy X server refuses some connections (EAGAIN, reset) while many clients connect at
// once, as at login; Qt then aborts. Until release(), such a refusal starts the program
// anew, a few times, and then lets reachable() say no. argv must outlive the guard.
void guardConnection(char** argv);
void release();
} // namespace DisplayProbe
