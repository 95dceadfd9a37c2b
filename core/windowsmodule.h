#pragma once

#include <QString>

class NotifierWindows;

// Finds and loads the module of the windows once, on the first request: beside the program
// (a build tree), else in the folder the package installs it to. It stays loaded.
class WindowsModule
{
public:
    // The windows, or null with the reason in `error`.
    static NotifierWindows* windows(QString* error);
};
