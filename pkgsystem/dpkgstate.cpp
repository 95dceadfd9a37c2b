#include "dpkgstate.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

// A real status file has a few megabytes and its lines are short; the journal is merged into
// the status file every few dozen entries. Whatever lies beyond these bounds is not read.
constexpr qint64 MaxStatusBytes = 64 * 1024 * 1024;
constexpr qint64 MaxLineBytes = 64 * 1024;
constexpr int MaxJournalEntries = 10000;

bool hasUnfinishedPackage(const QString& statusFile)
{
    // "Status: WANT FLAG STATE"; a field starts a line, continuation lines start with a blank.
    static const QSet<QByteArray> unfinished = {"half-installed", "half-configured", "unpacked"};
    QFile file(statusFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool lineStart = true;
    while (file.pos() < MaxStatusBytes) {
        const QByteArray line = file.readLine(MaxLineBytes);
        if (line.isEmpty())
            return false;
        if (lineStart && line.startsWith("Status:")) {
            const QList<QByteArray> words = line.mid(7).simplified().split(' ');
            if (words.size() == 3 && unfinished.contains(words.at(2)))
                return true;
        }
        lineStart = line.endsWith('\n');
    }
    return false;
}

} // namespace

namespace DpkgState {

bool hasJournalEntries(const QString& journalDir)
{
    // What APT checks too: entries are named by digits only ("tmp.i" is dpkg's scratch file).
    QDirIterator it(journalDir, QDir::Files | QDir::Hidden | QDir::System);
    for (int seen = 0; it.hasNext() && seen < MaxJournalEntries; ++seen) {
        const QString name = QFileInfo(it.next()).fileName();
        if (std::all_of(name.cbegin(), name.cend(),
                        [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
            return true;
    }
    return false;
}

bool isInterrupted(const QString& statusFile, const QString& journalDir)
{
    return hasJournalEntries(journalDir) || hasUnfinishedPackage(statusFile);
}

} // namespace DpkgState
