#include "aptconf/sourcelist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

namespace {

const QLatin1Char Hash('#');
const QLatin1Char Blank(' ');

bool isRepositoryType(const QString& type)
{
    return type == QLatin1String("deb") || type == QLatin1String("deb-src");
}

// Fills the architectures and the other options from the text of an option bracket.
void parseOptions(QString text, SourceEntry* entry)
{
    text.remove(QLatin1Char(']'));
    text.remove(QLatin1Char('['));
    const QStringList pieces = text.trimmed().split(Blank, Qt::SkipEmptyParts);
    QStringList names;
    for (const QString& piece : pieces) {
        const QStringList parts = piece.split(QLatin1Char('='));
        if (parts.size() < 2)
            continue; // not an assignment; APT refuses the whole list for it
        const QString& name = parts.first();
        if (name == QLatin1String("arch")) {
            if (parts.size() == 2)
                entry->architectures = parts.at(1).split(QLatin1Char(','));
            continue;
        }
        // Everything else (signed-by, trusted, lang, …) is kept as written: the repository
        // may not work without it.
        const int known = names.indexOf(name);
        if (known >= 0) {
            entry->options[known] = piece;
        } else {
            names.append(name);
            entry->options.append(piece);
        }
    }
}

// APT reads list files as bytes; most are UTF-8, and a line that is not (a Latin-1 comment)
// is shown as Latin-1 rather than with replacement characters.
QString decodeLine(const QByteArray& raw)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForMib(106)->toUnicode(raw.constData(), raw.size(), &state);
    return state.invalidChars == 0 ? text : QString::fromLatin1(raw);
}

// Whether an entry is still exactly what its line says.
bool isUntouched(const SourceEntry& entry)
{
    return !entry.line.isEmpty() && SourceList::parseLine(entry.line, entry.file) == entry;
}

// The bytes an entry's raw text is written as.
QByteArray rawBytes(const SourceEntry& entry)
{
    return entry.bytes.isEmpty() ? entry.line.toUtf8() : entry.bytes;
}

bool readBytes(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// Whether a line that is not written as a repository line keeps its raw text in the file.
bool keepsRawLine(const SourceEntry& entry)
{
    if (entry.line.startsWith(Hash))
        return true;
    if (entry.line.trimmed().isEmpty())
        return false;
    // A usable line that was edited into an unusable entry is dropped; any other text the
    // user had in the file stays where it was.
    return !SourceList::parseLine(entry.line, entry.file).isUsable();
}

} // namespace

bool SourceEntry::isUsable() const
{
    return valid && !type.isEmpty() && !uri.isEmpty() && !distribution.isEmpty();
}

bool SourceEntry::operator==(const SourceEntry& other) const
{
    return valid == other.valid && enabled == other.enabled && type == other.type && uri == other.uri &&
           distribution == other.distribution && comment == other.comment && line == other.line &&
           file == other.file && sections == other.sections && architectures == other.architectures &&
           options == other.options;
}

SourceList::SourceList() = default;

void SourceList::setSourceListPath(const QString& path)
{
    m_sourceListPath = path;
}

void SourceList::setEntries(const QList<SourceEntry>& list)
{
    m_entries = list;
}

void SourceList::parseFile(const QString& path)
{
    if (QFileInfo(path).isDir())
        return;
    QFile file(path);
    // Not in text mode: the bytes, carriage returns included, are written back as read.
    if (!file.open(QIODevice::ReadOnly))
        return;
    parseDevice(&file, path);
}

void SourceList::parseDevice(QIODevice* device, const QString& path)
{
    if (!m_files.contains(path))
        m_files.append(path);
    QByteArray& read = m_readBytes[path];
    while (!device->atEnd()) {
        const QByteArray raw = device->readLine();
        if (raw.isEmpty())
            break; // a read error; atEnd() would never come
        read += raw;
        SourceEntry entry = parseLine(decodeLine(raw), path);
        entry.bytes = raw;
        m_entries.append(entry);
    }
}

SourceEntry SourceList::parseLine(const QString& line, const QString& file)
{
    SourceEntry entry;
    entry.file = file;
    entry.line = line;
    entry.valid = true;

    QString s = line.simplified();
    if (s.isEmpty() || s == QLatin1String("#") || s.startsWith(QLatin1String("##"))) {
        entry.valid = false;
        return entry;
    }
    entry.enabled = !s.startsWith(Hash);
    while (s.startsWith(Hash))
        s = s.mid(1).trimmed();
    const int hash = s.indexOf(Hash);
    if (hash > 0) {
        entry.comment = s.mid(hash + 1);
        // The blank before the "#" separates the comment; it is not an empty section.
        s = s.left(hash).trimmed();
    }

    const QStringList tokens = s.split(Blank);
    int next = 0;
    entry.type = tokens.at(next++);
    if (!isRepositoryType(entry.type)) {
        entry.valid = false;
        if (!entry.enabled)
            entry.comment = s;
        return entry;
    }

    QString optionText;
    if (next < tokens.size() && tokens.at(next).startsWith(QLatin1Char('['))) {
        while (next < tokens.size() && !optionText.trimmed().endsWith(QLatin1Char(']')))
            optionText += tokens.at(next++) + Blank;
    }
    if (next < tokens.size()) {
        entry.uri = tokens.at(next++);
        // cdrom URIs hold the disc's name, blanks included, in brackets.
        while (entry.uri.contains(QLatin1Char('[')) && !entry.uri.contains(QLatin1Char(']')) &&
               next < tokens.size())
            entry.uri += Blank + tokens.at(next++);
        if (next < tokens.size())
            entry.distribution = tokens.at(next++);
    }
    entry.sections = tokens.mid(next);
    if (!optionText.isEmpty())
        parseOptions(optionText, &entry);

    entry.valid = !entry.type.isEmpty() && !entry.uri.isEmpty() && !entry.distribution.isEmpty();
    return entry;
}

QString SourceList::formatLine(const SourceEntry& entry)
{
    QString line;
    if (!entry.enabled)
        line += Hash;
    line += entry.type;
    QStringList options;
    if (!entry.architectures.isEmpty())
        options.append(QLatin1String("arch=") + entry.architectures.join(QLatin1Char(',')));
    options += entry.options;
    if (!options.isEmpty())
        line += QLatin1String(" [ ") + options.join(Blank) + QLatin1String(" ]");
    else if (entry.uri.startsWith(QLatin1Char('[')))
        line += QLatin1String(" [ ]"); // otherwise the URI would be read back as options
    line += Blank + entry.uri + Blank + entry.distribution;
    if (!entry.sections.isEmpty())
        line += Blank + entry.sections.join(Blank);
    if (!entry.comment.isEmpty())
        line += QLatin1String(" #") + entry.comment;
    return line;
}

QVariantMap SourceList::toFileMap() const
{
    QMap<QString, QByteArray> texts;
    // A file that was read and is left empty must be written too: otherwise deleting its
    // last repository would not take effect.
    for (const QString& file : m_files)
        texts.insert(file, QByteArray());
    for (const SourceEntry& entry : m_entries) {
        QByteArray piece;
        if (isUntouched(entry) || (!entry.isUsable() && keepsRawLine(entry)))
            piece = rawBytes(entry);
        else if (entry.isUsable())
            piece = formatLine(entry).toUtf8() + '\n';
        else
            continue;
        QByteArray& text = texts[entry.file.isEmpty() ? m_sourceListPath : entry.file];
        // The last line of a file may have been read without a line end.
        if (!text.isEmpty() && !text.endsWith('\n'))
            text += '\n';
        text += piece;
    }
    QVariantMap result;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        // A file as it was read is not written: it may be one the helper would refuse (a
        // link elsewhere), and another program may change it meanwhile.
        const auto read = m_readBytes.constFind(it.key());
        if (read != m_readBytes.cend() ? *read != it.value() : !it.value().isEmpty())
            result.insert(it.key(), it.value());
    }
    return result;
}

QStringList SourceList::changedOnDisk(const QStringList& files) const
{
    QStringList changed;
    for (const QString& path : files) {
        const auto read = m_readBytes.constFind(path);
        QByteArray now;
        const bool exists = readBytes(path, &now);
        if (read == m_readBytes.cend() ? QFileInfo::exists(path) : (!exists || now != *read))
            changed.append(path);
    }
    return changed;
}

void SourceList::markWritten(const QVariantMap& files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        m_readBytes.insert(it.key(), it.value().toByteArray());
        if (!m_files.contains(it.key()))
            m_files.append(it.key());
    }
}

void SourceList::load(const QMap<QString, QString>& aptConfig)
{
    setSourceListPath(mainListPath(aptConfig));
    parseFile(m_sourceListPath);
    const QStringList files = listFiles(listDirectory(aptConfig));
    for (const QString& file : files)
        parseFile(file);
}

QString SourceList::mainListPath(const QMap<QString, QString>& aptConfig)
{
    return QStringLiteral("/%1/%2").arg(aptConfig.value(QStringLiteral("Dir::Etc")),
                                        aptConfig.value(QStringLiteral("Dir::Etc::sourcelist")));
}

QString SourceList::listDirectory(const QMap<QString, QString>& aptConfig)
{
    return QStringLiteral("/%1/%2").arg(aptConfig.value(QStringLiteral("Dir::Etc")),
                                        aptConfig.value(QStringLiteral("Dir::Etc::sourceparts")));
}

QStringList SourceList::listFiles(const QString& directory)
{
    const QStringList names =
        QDir(directory).entryList({QStringLiteral("*.list")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    const QString prefix = directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names)
        paths.append(prefix + name);
    return paths;
}
