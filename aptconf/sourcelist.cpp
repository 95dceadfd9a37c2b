#include "aptconf/sourcelist.h"

#include "aptconf/aptconfig.h"
#include "policy/aptfilepolicy.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
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
    // A last line without line end may stop inside a sequence: that is no UTF-8 either.
    return state.invalidChars == 0 && state.remainingChars == 0 ? text : QString::fromLatin1(raw);
}

// The lines of raw text, line ends included.
QList<QByteArray> splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    for (int start = 0; start < bytes.size();) {
        const int end = bytes.indexOf('\n', start);
        const int next = end < 0 ? bytes.size() : end + 1;
        lines.append(bytes.mid(start, next - start));
        start = next;
    }
    return lines;
}

// Each line decoded on its own: one Latin-1 line must not change how its neighbours read.
QString decodeLines(const QByteArray& bytes)
{
    QString text;
    for (const QByteArray& line : splitLines(bytes))
        text += decodeLine(line);
    return text;
}

// The line end of the first line: APT reads CR LF as well, and new lines follow the file.
QByteArray lineEnd(const QByteArray& bytes)
{
    const int end = bytes.indexOf('\n');
    return end > 0 && bytes.at(end - 1) == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

// Where the comment of a one-line entry starts: a "#" within brackets (a cdrom disc's name)
// is none, as for APT.
int commentStart(const QString& line)
{
    bool bracket = false;
    for (int at = 0; at < line.size(); ++at) {
        if (line.at(at) == QLatin1Char('['))
            bracket = true;
        else if (line.at(at) == QLatin1Char(']'))
            bracket = false;
        else if (line.at(at) == Hash && !bracket)
            return at;
    }
    return -1;
}

// Whether an entry is still exactly what its line says.
bool isUntouched(const SourceEntry& entry)
{
    return !entry.line.isEmpty() && SourceList::reparse(entry) == entry;
}

bool isBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

// Only an empty line ends a stanza; one of blanks continues it, as in APT.
bool isEmptyLine(const QByteArray& line)
{
    return line == "\n" || line == "\r\n" || line.isEmpty();
}

// A stanza line as read (bytes with line end) or as replaced (bytes empty).
struct StanzaLine
{
    QString text;
    QByteArray bytes;
};

// A stanza line that starts or continues a field: neither blank nor a comment.
bool isFieldLine(const QString& line)
{
    return !isBlank(line) && !line.startsWith(Hash);
}

bool hasFields(const SourceEntry& entry)
{
    const QStringList lines = entry.line.split(QLatin1Char('\n'));
    return entry.stanza && std::any_of(lines.cbegin(), lines.cend(), isFieldLine);
}

// The values APT reads as "no" in a yes/no field.
bool isNo(const QString& value)
{
    static const QStringList no = {QStringLiteral("no"),      QStringLiteral("false"),
                                   QStringLiteral("0"),       QStringLiteral("off"),
                                   QStringLiteral("disable"), QStringLiteral("without")};
    return no.contains(value.trimmed(), Qt::CaseInsensitive);
}

// The field a stanza line starts ("Types" of "Types: deb"); empty for any other line.
QString fieldName(const QString& line)
{
    if (!isFieldLine(line) || line.at(0).isSpace())
        return QString();
    return line.section(QLatin1Char(':'), 0, 0).trimmed();
}

// Replaces (or, with an empty value, removes) the field `name` in the stanza's lines; a field
// the stanza lacks is added after its last line. APT takes the last value of a field given twice.
void setField(QList<StanzaLine>* lines, const QString& name, const QString& value)
{
    int first = lines->size() - 1;
    while (first >= 0 && fieldName(lines->at(first).text).compare(name, Qt::CaseInsensitive) != 0)
        --first;
    if (first < 0) {
        if (!value.isEmpty())
            lines->append({name + QLatin1String(": ") + value, QByteArray()});
        return;
    }
    // Its continuation lines go; comments among them stay (APT skips them).
    for (int line = first + 1; line < lines->size() && fieldName(lines->at(line).text).isEmpty();) {
        if (isFieldLine(lines->at(line).text))
            lines->removeAt(line);
        else
            ++line;
    }
    const QString written = fieldName(lines->at(first).text); // the spelling found in the file
    if (value.isEmpty()) {
        lines->removeAt(first);
        setField(lines, name, value); // an earlier value would count again
    } else {
        (*lines)[first] = {written + QLatin1String(": ") + value, QByteArray()};
    }
}

// Option names and the stanza fields sources.list(5) gives them; any other option is the field
// of its name, each word capitalized.
const QList<QPair<QString, QString>>& optionFields()
{
    static const QList<QPair<QString, QString>> fields = {
        {QStringLiteral("arch"), QStringLiteral("Architectures")},
        {QStringLiteral("arch+"), QStringLiteral("Architectures-Add")},
        {QStringLiteral("arch-"), QStringLiteral("Architectures-Remove")},
        {QStringLiteral("lang"), QStringLiteral("Languages")},
        {QStringLiteral("lang+"), QStringLiteral("Languages-Add")},
        {QStringLiteral("lang-"), QStringLiteral("Languages-Remove")},
        {QStringLiteral("target"), QStringLiteral("Targets")},
        {QStringLiteral("target+"), QStringLiteral("Targets-Add")},
        {QStringLiteral("target-"), QStringLiteral("Targets-Remove")},
        {QStringLiteral("pdiffs"), QStringLiteral("PDiffs")},
        {QStringLiteral("inrelease-path"), QStringLiteral("InRelease-Path")},
    };
    return fields;
}

// The stanza field an option name stands for.
QString optionField(const QString& option)
{
    for (const auto& known : optionFields()) {
        if (known.first == option)
            return known.second;
    }
    QStringList words = option.split(QLatin1Char('-'));
    for (QString& word : words) {
        if (!word.isEmpty())
            word[0] = word.at(0).toUpper();
    }
    return words.join(QLatin1Char('-'));
}

// The option name a stanza field (named in lower case) stands for; empty for the fields the
// editor shows elsewhere and for those that are no option (X-Repolib-Name).
QString fieldOption(const QString& field)
{
    static const QStringList shownElsewhere = {QStringLiteral("types"),   QStringLiteral("uris"),
                                               QStringLiteral("suites"),  QStringLiteral("components"),
                                               QStringLiteral("enabled"), QStringLiteral("architectures")};
    if (field.isEmpty() || shownElsewhere.contains(field) || field.startsWith(QLatin1String("x-")))
        return QString();
    for (const auto& known : optionFields()) {
        if (known.second.compare(field, Qt::CaseInsensitive) == 0)
            return known.first;
    }
    return field;
}

// Option name -> value (deb822 spelling: blank separated) of an entry's options.
QMap<QString, QString> optionValues(const SourceEntry& entry)
{
    QMap<QString, QString> values;
    for (const QString& option : entry.options)
        values.insert(option.section(QLatin1Char('='), 0, 0),
                      option.section(QLatin1Char('='), 1).split(QLatin1Char(',')).join(Blank));
    return values;
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
    return !SourceList::reparse(entry).isUsable();
}

} // namespace

bool SourceEntry::isUsable() const
{
    return valid && !type.isEmpty() && !uri.isEmpty() && !distribution.isEmpty();
}

bool SourceEntry::operator==(const SourceEntry& other) const
{
    return valid == other.valid && stanza == other.stanza && enabled == other.enabled && type == other.type &&
           uri == other.uri && distribution == other.distribution && comment == other.comment &&
           line == other.line && file == other.file && sections == other.sections &&
           architectures == other.architectures && options == other.options;
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

bool SourceList::isStanzaFile(const QString& path)
{
    return path.endsWith(QLatin1String(".sources"), Qt::CaseInsensitive);
}

void SourceList::parseDevice(QIODevice* device, const QString& path)
{
    if (!m_files.contains(path))
        m_files.append(path);
    QByteArray& read = m_readBytes[path];
    if (isStanzaFile(path)) {
        const QByteArray bytes = device->readAll();
        read += bytes;
        parseStanzas(bytes, path);
        return;
    }
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

void SourceList::parseStanzas(const QByteArray& bytes, const QString& path)
{
    const QList<QByteArray> lines = splitLines(bytes);
    const auto append = [&](int from, int to) {
        QByteArray raw;
        for (int line = from; line < to; ++line)
            raw += lines.at(line);
        SourceEntry entry = parseStanza(decodeLines(raw), path);
        entry.bytes = raw;
        m_entries.append(entry);
    };
    for (int line = 0; line < lines.size();) {
        int end = line;
        while (end < lines.size() && lines.at(end).startsWith('#'))
            ++end;
        if (end == lines.size() || isBlank(decodeLine(lines.at(end)))) {
            // Blank lines, and comments not directly above a stanza, stand alone.
            for (int single = line; single < qMax(end, line + 1); ++single)
                append(single, single + 1);
            line = qMax(end, line + 1);
            continue;
        }
        // A stanza runs to the next empty line and owns the comments directly above it.
        while (end < lines.size() && !isEmptyLine(lines.at(end)))
            ++end;
        append(line, end);
        line = end;
    }
}

SourceEntry SourceList::parseStanza(const QString& text, const QString& file)
{
    SourceEntry entry;
    entry.stanza = true;
    entry.file = file;
    entry.line = text;
    QMap<QString, QString> fields;
    QStringList order; // of the fields in the file: the options are shown in it
    QString current;
    bool malformed = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!isFieldLine(line))
            continue;
        if (line.at(0).isSpace()) {
            // A continuation line (a key block's lines among them) extends the field above.
            fields[current] += Blank + line.trimmed();
            continue;
        }
        if (!line.contains(QLatin1Char(':')))
            malformed = true; // APT refuses the whole file for such a line
        current = fieldName(line).toLower();
        order.removeOne(current);
        order.append(current);
        fields.insert(current, line.section(QLatin1Char(':'), 1).trimmed());
    }
    entry.type = fields.value(QStringLiteral("types")).simplified();
    entry.uri = fields.value(QStringLiteral("uris")).simplified();
    entry.distribution = fields.value(QStringLiteral("suites")).simplified();
    entry.sections = fields.value(QStringLiteral("components")).simplified().split(Blank, Qt::SkipEmptyParts);
    entry.architectures =
        fields.value(QStringLiteral("architectures")).simplified().split(Blank, Qt::SkipEmptyParts);
    // Signed-By holds either the key itself or keyring paths (an option like any other).
    entry.keyBlock = fields.value(QStringLiteral("signed-by"))
                         .contains(QLatin1String("-----BEGIN PGP PUBLIC KEY BLOCK-----"));
    entry.enabled = !isNo(fields.value(QStringLiteral("enabled")));
    for (const QString& field : qAsConst(order)) {
        const QString option = fieldOption(field);
        if (!option.isEmpty() && !(option == QLatin1String("signed-by") && entry.keyBlock))
            entry.options.append(option + QLatin1Char('=') +
                                 fields.value(field).simplified().replace(Blank, QLatin1Char(',')));
    }
    const QStringList types = entry.type.split(Blank, Qt::SkipEmptyParts);
    entry.valid = !malformed && !types.isEmpty() &&
                  std::all_of(types.cbegin(), types.cend(), isRepositoryType) && !entry.uri.isEmpty() &&
                  !entry.distribution.isEmpty();
    return entry;
}

QByteArray SourceList::formatStanza(const SourceEntry& entry)
{
    const SourceEntry read = parseStanza(entry.line, entry.file);
    const QByteArray raw = rawBytes(entry);
    QList<StanzaLine> lines;
    for (const QByteArray& bytes : splitLines(raw)) {
        QString text = decodeLine(bytes);
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        lines.append({text, bytes});
    }
    const auto update = [&lines](const char* name, const QString& before, const QString& after) {
        if (before != after)
            setField(&lines, QLatin1String(name), after);
    };
    update("Types", read.type, entry.type);
    update("URIs", read.uri, entry.uri);
    update("Suites", read.distribution, entry.distribution);
    update("Components", read.sections.join(Blank), entry.sections.join(Blank));
    update("Architectures", read.architectures.join(Blank), entry.architectures.join(Blank));
    // Only options the user changed become fields; a key block stays whatever was typed.
    const QMap<QString, QString> before = optionValues(read), after = optionValues(entry);
    QStringList names; // added fields follow the order typed
    for (const QString& option : entry.options + read.options)
        names.append(option.section(QLatin1Char('='), 0, 0));
    names.removeDuplicates();
    for (const QString& name : names) {
        if (before.value(name) != after.value(name) && !(name == QLatin1String("signed-by") && read.keyBlock))
            setField(&lines, optionField(name), after.value(name));
    }
    // Disabling keeps the stanza a stanza: APT skips it, and it stays editable.
    if (read.enabled != entry.enabled)
        setField(&lines, QStringLiteral("Enabled"),
                 entry.enabled ? QStringLiteral("yes") : QStringLiteral("no"));
    // Untouched lines keep their bytes, the replaced ones are UTF-8 with the stanza's line end.
    const QByteArray end = lineEnd(raw);
    QByteArray text;
    for (const StanzaLine& line : qAsConst(lines)) {
        if (!text.isEmpty() && !text.endsWith('\n'))
            text += end;
        text += line.bytes.isEmpty() ? line.text.toUtf8() + end : line.bytes;
    }
    if (!text.endsWith('\n'))
        text += end;
    return text;
}

SourceEntry SourceList::reparse(const SourceEntry& entry)
{
    return entry.stanza ? parseStanza(entry.line, entry.file) : parseLine(entry.line, entry.file);
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
    const int hash = commentStart(s);
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
    const QString options = optionsText(entry);
    if (!options.isEmpty())
        line += QLatin1String(" [ ") + options + QLatin1String(" ]");
    else if (entry.uri.startsWith(QLatin1Char('[')))
        line += QLatin1String(" [ ]"); // otherwise the URI would be read back as options
    line += Blank + entry.uri + Blank + entry.distribution;
    if (!entry.sections.isEmpty())
        line += Blank + entry.sections.join(Blank);
    if (!entry.comment.isEmpty())
        line += QLatin1String(" #") + entry.comment;
    return line;
}

QString SourceList::optionsText(const SourceEntry& entry)
{
    QStringList options;
    if (!entry.architectures.isEmpty())
        options.append(QLatin1String("arch=") + entry.architectures.join(QLatin1Char(',')));
    options += entry.options;
    return options.join(Blank);
}

void SourceList::setOptionsText(SourceEntry* entry, const QString& text)
{
    entry->architectures.clear();
    entry->options.clear();
    parseOptions(text, entry);
}

QVariantMap SourceList::toFileMap() const
{
    QMap<QString, QByteArray> texts;
    // A file that was read and is left empty must be written too: otherwise deleting its
    // last repository would not take effect.
    for (const QString& file : m_files)
        texts.insert(file, QByteArray());
    // Files whose last piece is a stanza with fields: moved stanzas must not run together.
    QSet<QString> endsInStanza;
    for (const SourceEntry& entry : m_entries) {
        QByteArray piece;
        const QString file = entry.file.isEmpty() ? m_sourceListPath : entry.file;
        const QByteArray end = lineEnd(m_readBytes.value(file));
        if (isUntouched(entry) || (!entry.isUsable() && keepsRawLine(entry)))
            piece = rawBytes(entry);
        else if (entry.isUsable())
            piece = entry.stanza ? formatStanza(entry) : formatLine(entry).toUtf8() + end;
        else
            continue;
        QByteArray& text = texts[file];
        // The last line of a file may have been read without a line end.
        if (!text.isEmpty() && !text.endsWith('\n'))
            text += end;
        if (hasFields(entry) && endsInStanza.contains(file))
            text += end;
        if (entry.stanza && !isBlank(entry.line)) {
            if (hasFields(entry))
                endsInStanza.insert(file);
        } else {
            endsInStanza.remove(file);
        }
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
    // An empty path would read the current folder.
    const QString directory = listDirectory(aptConfig);
    const QStringList files = directory.isEmpty() ? QStringList() : listFiles(directory);
    for (const QString& file : files)
        parseFile(file);
}

QList<int> SourceList::swappedOrder(const QList<SourceEntry>& rows, int upper, int lower)
{
    // A row's own comment lines are the hidden comment lines directly above it.
    const auto blockStart = [&rows](int row) {
        while (row > 0 && !rows.at(row - 1).valid && rows.at(row - 1).line.startsWith(Hash) &&
               rows.at(row - 1).file == rows.at(row).file)
            --row;
        return row;
    };
    const int upperStart = blockStart(upper), lowerStart = blockStart(lower);
    QList<int> order;
    for (int row = 0; row < rows.size(); ++row)
        order.append(row);
    const QList<int> upperRows = order.mid(upperStart, upper + 1 - upperStart);
    const QList<int> between = order.mid(upper + 1, lowerStart - upper - 1);
    const QList<int> lowerRows = order.mid(lowerStart, lower + 1 - lowerStart);
    return order.mid(0, upperStart) + lowerRows + between + upperRows + order.mid(lower + 1);
}

QList<int> SourceList::removedRows(const QList<SourceEntry>& rows, int row)
{
    const auto blankAt = [&rows, row](int at) {
        return at >= 0 && at < rows.size() && rows.at(at).file == rows.at(row).file && !rows.at(at).valid &&
               isBlank(rows.at(at).line);
    };
    const auto edgeAt = [&rows, row](int at) {
        return at < 0 || at >= rows.size() || rows.at(at).file != rows.at(row).file;
    };
    const bool blankBefore = blankAt(row - 1), blankAfter = blankAt(row + 1);
    if (blankAfter && (blankBefore || edgeAt(row - 1)))
        return {row, row + 1};
    if (blankBefore && edgeAt(row + 1))
        return {row - 1, row};
    return {row};
}

QString SourceList::mainListPath(const QMap<QString, QString>& aptConfig)
{
    return aptConfigFile(aptConfig, QStringLiteral("Dir::Etc::sourcelist"));
}

QString SourceList::listDirectory(const QMap<QString, QString>& aptConfig)
{
    QString directory = aptConfigFile(aptConfig, QStringLiteral("Dir::Etc::sourceparts"));
    if (directory.size() > 1 && directory.endsWith(QLatin1Char('/')))
        directory.chop(1);
    return directory;
}

QStringList SourceList::listFiles(const QString& directory)
{
    const QStringList names = aptListFileNames(directory);
    const QString prefix = directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names)
        paths.append(prefix + name);
    return paths;
}
