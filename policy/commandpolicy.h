#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The helper runs as root for an unprivileged caller, so it takes nothing on trust: the
// command lines it runs or stores are held against allow-lists here. The settings dialog uses
// the same checks, so it refuses what the helper would refuse.

enum class CommandRole {
    Update,    // apt-get update
    Upgrade,   // apt-get dist-upgrade / full-upgrade / upgrade
    FixBroken, // apt-get install -f, without package names
};

struct CheckedCommand
{
    QString program;       // "apt-get" or "apt", without a directory
    QStringList arguments; // as split from the command line, quotes removed
    QString error;         // why the command was refused; empty when it is acceptable

    bool isAcceptable() const { return error.isEmpty(); }
};

// Splits `commandLine` like the notifier does (quotes respected, no shell) and checks it.
CheckedCommand checkCommand(const QString& commandLine, CommandRole role);

// Why the helper refuses `commandLine` for `role` ("Refused upgrade command: ..."), or an empty
// string when the upgrade action would run it. The fix-broken step may also be left empty.
QString refusalOfCommand(CommandRole role, const QString& commandLine);

// Why the helper refuses to store `commandLine` as the package manager's command (it holds
// control characters), or an empty string.
QString refusalOfPackageManagerCommand(const QString& commandLine);
