#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTreeWidgetItem>
#include <QVariantMap>

class QIODevice;

// One line of a one-line-style repository list file, or one deb822 stanza of a ".sources"
// file with the comment lines directly above it.
struct SourceEntry
{
    // A usable repository line: type "deb" or "deb-src", URI and distribution present; for a
    // stanza, Types, URIs and Suites present.
    bool valid = false;
    // A deb822 stanza: type, uri and distribution hold its Types, URIs and Suites (blank
    // separated), sections its Components, enabled its Enabled field.
    bool stanza = false;
    // Not commented out; for a repository line, whether APT uses it.
    bool enabled = false;
    // "deb" or "deb-src"; for another line, its first word.
    QString type;
    QString uri;
    QString distribution;
    // Text after an inner "#" (leading blank kept); for a comment line, its text.
    QString comment;
    // The line (or stanza) as read, line ends included; empty for entries made in the editor.
    QString line;
    // Its bytes exactly as read: an untouched line is written back as these.
    QByteArray bytes;
    // The list file the line came from; empty for entries made in the editor.
    QString file;
    QStringList sections;
    // Values of the "arch" option (of the Architectures field).
    QStringList architectures;
    // Every other option ("signed-by=…", "trusted=yes", …) as written, in order; for a
    // stanza, its option fields (Signed-By, Trusted, Languages, …) written as such options.
    QStringList options;
    // A stanza whose Signed-By holds the key itself: that field is not among the options and
    // is never rewritten.
    bool keyBlock = false;

    // True when the entry is written as a repository line rather than kept as raw text.
    bool isUsable() const;

    bool operator==(const SourceEntry& other) const;
    bool operator!=(const SourceEntry& other) const { return !(*this == other); }
};

// All lines of the main list file, the "*.list" files and the stanzas of the "*.sources"
// files, with their parsers and writers.
class SourceList
{
public:
    SourceList();

    // Whether path names a file APT reads as deb822 stanzas.
    static bool isStanzaFile(const QString& path);

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

    // Sets the main list path from APT's configuration and parses it, then every "*.list" and
    // "*.sources" file of the list directory.
    void load(const QMap<QString, QString>& aptConfig);

    // The entry for one raw line (line end included) of the given file.
    static SourceEntry parseLine(const QString& line, const QString& file);
    // The repository line for a usable entry, without line end.
    static QString formatLine(const SourceEntry& entry);
    // The bracketed options of a one-line entry as typed ("arch=amd64 signed-by=…"), and back.
    static QString optionsText(const SourceEntry& entry);
    static void setOptionsText(SourceEntry* entry, const QString& text);
    // The entry for one stanza (comment lines above it included, line ends included).
    static SourceEntry parseStanza(const QString& text, const QString& file);
    // The stanza's bytes with the fields the entry changed rewritten; the other lines, their
    // order, continuation lines and comments stay as read, byte for byte.
    static QByteArray formatStanza(const SourceEntry& entry);
    // The entry its own text gives, in either format.
    static SourceEntry reparse(const SourceEntry& entry);

    // Rows as the tab holds them (hidden ones are not valid). The order after the shown row
    // `lower` changed places with the shown row `upper` above it in its file, each with the
    // comment lines directly above it; the lines between stay, so moving back restores it.
    static QList<int> swappedOrder(const QList<SourceEntry>& rows, int upper, int lower);
    // The rows that go with the shown row `row`: it, and one blank line next to it when it
    // stood between blank lines, so that the file keeps its separators.
    static QList<int> removedRows(const QList<SourceEntry>& rows, int row);

    // The main list file and the list folder (without its last "/") as APT finds them
    // (aptConfigFile()), from the values as "apt-config dump" prints them (missing ones empty).
    static QString mainListPath(const QMap<QString, QString>& aptConfig);
    static QString listDirectory(const QMap<QString, QString>& aptConfig);
    // The list files APT reads in a directory, in APT's order, each as directory + "/" + name.
    static QStringList listFiles(const QString& directory);

private:
    void parseStanzas(const QByteArray& bytes, const QString& path);

    QString m_sourceListPath;
    QList<SourceEntry> m_entries;
    QStringList m_files;
    QMap<QString, QByteArray> m_readBytes;
};

// The tree row that shows one entry: check box, type, URI, distribution, sections, file.
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
