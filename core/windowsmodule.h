#pragma once

#include <QString>

class NotifierWindows;

// Loads the module of the windows once, on the first request, and keeps it loaded.
class WindowsModule
{
public:
    // A build tree's program uses the module built beside it, an installed program the
    // installed one; never the one of the other.
    static QString path();
    // The windows, or null with the reason in `error`: the module is missing, does not load
    // with all its symbols, or comes from another build than the program.
    static NotifierWindows* windows(QString* error);
};
