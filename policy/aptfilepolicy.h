#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the helper accepts to write into APT's configuration and list files, before APT
// itself is asked (see helper/aptverdict.h).

// The APT configuration file the helper writes with the settings dialog's values.
inline constexpr char OwnAptConfigPath[] = "/etc/apt/apt.conf.d/99tarn-update-notifier";

// Refuses text APT would not read as the plain text that was checked: NUL and control
// characters other than tab and line feed, and carriage return other than directly before a
// line feed when `crlf` allows such line ends (APT reads list files saved with them; a lone one
// would hide the rest of a comment's line from the eye, not from APT). Other bytes pass as they
// are: APT requires no encoding, and list files with a Latin-1 comment must stay savable.
// `what` names the file in the reason. Returns why, or an empty string.
QString checkPlainText(const QByteArray& text, const QString& what, bool crlf = false);

// Accepts only text that, read by APT, sets nothing but the notifier's own keys:
// APT::Periodic::*, Unattended-Upgrade::Mail and the origin-pattern and package-blacklist
// lists with their "#clear" lines, in the layout the notifier writes. Returns why the text is
// refused, or an empty string.
QString checkAptConfigText(const QByteArray& text);

// Whether APT reads a file of this name in its list directory (it skips any other silently):
// only ASCII letters, digits, "_", "-", ":" and ".", no dot first, and the extension exactly
// "list" or "sources", as APT 2.6 does.
bool isAptListFileName(const QString& name);
// The names of the files APT reads in the list directory `directory`, in the order it reads
// them: sorted as byte strings.
QStringList aptListFileNames(const QString& directory);

// Accepts `path` only when it names the main list file or a file APT reads directly inside the
// list directory (both as APT's configuration gives them). Lexical only; the caller checks
// what is on disk. Returns why the path is refused, or an empty string.
QString checkSourceListPath(const QString& path, const QString& mainList, const QString& listDir);
