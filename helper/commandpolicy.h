#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The helper runs as root for an unprivileged caller, so it takes nothing on trust: command
// lines, APT configuration text and list file paths are held against allow-lists here before
// anything runs or is written.

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

// Accepts only text that, read by APT, sets nothing but the notifier's own keys:
// APT::Periodic::*, Unattended-Upgrade::Mail and the origin-pattern and package-blacklist
// lists with their "#clear" lines, in the layout the notifier writes. Returns why the text is
// refused, or an empty string.
QString checkAptConfigText(const QByteArray& text);

// Accepts `path` only when it names the main list file or a "*.list" file directly inside
// the list directory (both as APT's configuration gives them). Lexical only; the caller
// checks what is on disk. Returns why the path is refused, or an empty string.
QString checkSourceListPath(const QString& path, const QString& mainList, const QString& listDir);
