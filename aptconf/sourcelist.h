#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTreeWidgetItem>
#include <QVariantMap>

class QIODevice;

// One line of a one-line-style repository list file.
struct SourceEntry
{
    // A usable repository line: type "deb" or "deb-src", URI and distribution present.
    bool valid = false;
    // Not commented out; for a repository line, whether APT uses it.
    bool enabled = false;
    // "deb" or "deb-src"; for another line, its first word.
    QString type;
    QString uri;
    QString distribution;
    // Text after an inner "#" (leading blank kept); for a comment line, its text.
    QString comment;
    // The line as read, line end included; empty for entries made in the editor.
    QString line;
    // Its bytes exactly as read: an untouched line is written back as these.
    QByteArray bytes;
    // The list file the line came from; empty for entries made in the editor.
    QString file;
    QStringList sections;
    // Values of the "arch" option.
    QStringList architectures;
    // Every other option ("signed-by=…", "trusted=yes", …) as written, in order.
    QStringList options;

    // True when the entry is written as a repository line rather than kept as raw text.
    bool isUsable() const;

    bool operator==(const SourceEntry& other) const;
    bool operator!=(const SourceEntry& other) const { return !(*this == other); }
};

// All lines of the main list file and the "*.list" files, with the line parser and writer.
class SourceList
{
public:
    SourceList();

    QString sourceListPath() const { return m_sourceListPath; }
    void setSourceListPath(const QString& path);

    QList<SourceEntry>& entries() { return m_entries; }
    const QList<SourceEntry>& entries() const { return m_entries; }
    void setEntries(const QList<SourceEntry>& list);

    // Appends the entries of the list file at path; a file that cannot be opened adds nothing.
    void parseFile(const QString& path);
    // The same for an already opened device, recorded as coming from path.
    void parseDevice(QIODevice* device, const QString& path);
    // Every file parseFile() opened, in the order first opened.
    QStringList files() const { return m_files; }

    // List file path -> its complete new bytes, for each file whose content changes (an
    // emptied file included). Untouched lines keep their bytes; edited ones are UTF-8.
    QVariantMap toFileMap() const;
    // Those of `files` whose content on disk is no longer what was read (or that appeared).
    QStringList changedOnDisk(const QStringList& files) const;
    // Records files (as toFileMap() gives them) as now being on disk.
    void markWritten(const QVariantMap& files);

    // Sets the main list path from APT's configuration and parses it, then every "*.list"
    // file of the list directory.
    void load(const QMap<QString, QString>& aptConfig);

    // The entry for one raw line (line end included) of the given file.
    static SourceEntry parseLine(const QString& line, const QString& file);
    // The repository line for a usable entry, without line end.
    static QString formatLine(const SourceEntry& entry);

    // "/<Dir::Etc>/<Dir::Etc::sourcelist>" and "/<Dir::Etc>/<Dir::Etc::sourceparts>", built
    // from the values as APT prints them (missing ones empty).
    static QString mainListPath(const QMap<QString, QString>& aptConfig);
    static QString listDirectory(const QMap<QString, QString>& aptConfig);
    // The "*.list" files of a directory (name matched ignoring case, hidden ones left out),
    // ordered by name ignoring case, each as directory + "/" + name.
    static QStringList listFiles(const QString& directory);

private:
    QString m_sourceListPath;
    QList<SourceEntry> m_entries;
    QStringList m_files;
    QMap<QString, QByteArray> m_readBytes;
};

// The tree row that shows one entry: check box, type, URI, distribution, sections.
class SourceItem : public QTreeWidgetItem
{
public:
    explicit SourceItem(const SourceEntry& entry);
    ~SourceItem() override;

    void setEntry(const SourceEntry& entry);
    const SourceEntry& entry() const { return m_entry; }

private:
    SourceEntry m_entry;
};
