#pragma once

#include <QStringList>

// What an upgrade left behind when the system must be restarted: the flag file, and
// the packages that asked for it (one a line, each named once).
struct RestartNotice
{
    bool needed = false;
    QStringList packages;

    static RestartNotice read();
    // The line the tooltip and the balloon use.
    QString text() const;
};
