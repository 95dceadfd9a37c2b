#include "aptfilepolicy.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStringList>

namespace {

bool isPeriodicKey(const QString& key)
{
    static const QRegularExpression periodic(QStringLiteral("^apt::periodic::[a-z0-9-]+$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return periodic.match(key).hasMatch();
}

bool isListName(const QString& name)
{
    const QString lower = name.toLower();
    return lower == QLatin1String("unattended-upgrade::origins-pattern") ||
           lower == QLatin1String("unattended-upgrade::package-blacklist");
}

QString checkPlainSetting(const QString& key, const QString& value)
{
    if (isPeriodicKey(key)) {
        // Words and numbers, as apt.systemd.daily reads them through "apt-config shell": a
        // count with an optional unit ("12h"), "always", and a negative count, which runs the
        // task at every start of the job. Nothing else can reach a shell or a command line.
        static const QRegularExpression word(QStringLiteral("^([A-Za-z0-9]*|-[0-9]+[smhd]?)$"));
        if (!word.match(value).hasMatch())
            return QCoreApplication::translate("AptFilePolicy", "the value \"%1\" of \"%2\" is not allowed")
                .arg(value, key);
        return QString();
    }
    if (key.compare(QLatin1String("Unattended-Upgrade::Mail"), Qt::CaseInsensitive) == 0) {
        // The address ends up on a mail program's command line.
        if (value.startsWith(QLatin1Char('-')))
            return QCoreApplication::translate("AptFilePolicy", "the mail address \"%1\" is not allowed")
                .arg(value);
        return QString();
    }
    return QCoreApplication::translate("AptFilePolicy", "the key \"%1\" is not allowed").arg(key);
}

} // namespace

QString checkPlainText(const QByteArray& text, const QString& what, bool crlf)
{
    for (int i = 0; i < text.size(); ++i) {
        const uchar c = uchar(text.at(i));
        if (crlf && c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            continue;
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7f)
            return QCoreApplication::translate(
                       "AptFilePolicy", "Refused %1: byte %2 is the control character 0x%3, which is not "
                                        "plain text")
                .arg(what)
                .arg(i + 1)
                .arg(c, 2, 16, QLatin1Char('0'));
    }
    return QString();
}

namespace {

// APT's parser skips only ASCII blanks; QString::trimmed() would also drop Latin-1 0xA0 and
// 0x85, which APT then reads as junk.
QString trimmedAscii(const QString& line)
{
    int begin = 0;
    int end = line.size();
    const auto blank = [&](int i) {
        return line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t');
    };
    while (begin < end && blank(begin))
        ++begin;
    while (end > begin && blank(end - 1))
        --end;
    return line.mid(begin, end - begin);
}

} // namespace

QString checkAptConfigText(const QByteArray& text)
{
    // [ \t], not \s: \s would also match the Latin-1 blanks APT does not skip.
    static const QRegularExpression clearLine(QStringLiteral("^#clear[ \\t]+([^ \\t;]+)[ \\t]*;$"));
    static const QRegularExpression settingLine(
        QStringLiteral("^([A-Za-z0-9:_-]+)[ \\t]+\"([^\"]*)\"[ \\t]*;$"));
    static const QRegularExpression listOpenLine(QStringLiteral("^([A-Za-z0-9:_-]+)[ \\t]*\\{$"));
    static const QRegularExpression elementLine(QStringLiteral("^\"([^\"]*)\"[ \\t]*;$"));

    // Every byte is seen: a NUL would end the decoding below early.
    const QString plain =
        checkPlainText(text, QCoreApplication::translate("AptFilePolicy", "APT configuration"));
    if (!plain.isEmpty())
        return plain;
    // The notifier writes UTF-8; read byte by byte, its multi-byte characters are no
    // blanks, quotes or control characters, so they cannot change the structure checked.
    const QStringList lines = QString::fromLatin1(text.constData(), text.size()).split(QLatin1Char('\n'));
    QString openList;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = trimmedAscii(lines.at(i));
        const auto refuse = [&](const QString& why) {
            return QCoreApplication::translate("AptFilePolicy",
                                               "Refused APT configuration line %1 \"%2\": %3")
                .arg(i + 1)
                .arg(line, why);
        };
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("//"))) {
            // A block comment opened in a line comment would still be seen by APT elsewhere.
            if (line.contains(QLatin1String("/*")) || line.contains(QLatin1String("*/")))
                return refuse(
                    QCoreApplication::translate("AptFilePolicy", "block comment markers are not allowed"));
            continue;
        }
        // Quotes are held in place by the patterns below; a control character could end a
        // value early for APT.
        for (const QChar c : line) {
            if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
                return refuse(
                    QCoreApplication::translate("AptFilePolicy", "control characters are not allowed"));
        }

        if (!openList.isEmpty()) {
            if (line == QLatin1String("};") || line == QLatin1String("}")) {
                openList.clear();
                continue;
            }
            if (!elementLine.match(line).hasMatch())
                return refuse(QCoreApplication::translate("AptFilePolicy",
                                                          "only quoted elements are allowed inside \"%1\"")
                                  .arg(openList));
            continue;
        }

        if (const auto match = clearLine.match(line); match.hasMatch()) {
            const QString name = match.captured(1);
            if (!isListName(name))
                return refuse(
                    QCoreApplication::translate("AptFilePolicy", "clearing \"%1\" is not allowed").arg(name));
        } else if (const auto match = settingLine.match(line); match.hasMatch()) {
            const QString problem = checkPlainSetting(match.captured(1), match.captured(2));
            if (!problem.isEmpty())
                return refuse(problem);
        } else if (const auto match = listOpenLine.match(line); match.hasMatch()) {
            openList = match.captured(1);
            if (!isListName(openList))
                return refuse(QCoreApplication::translate("AptFilePolicy", "the list \"%1\" is not allowed")
                                  .arg(openList));
        } else {
            return refuse(
                QCoreApplication::translate("AptFilePolicy", "it is not a setting the notifier writes"));
        }
    }
    if (!openList.isEmpty())
        return QCoreApplication::translate("AptFilePolicy",
                                           "Refused APT configuration: the list \"%1\" is not closed")
            .arg(openList);
    return QString();
}

bool isAptListFileName(const QString& name)
{
    // One-line lists and deb822 lists sit side by side; APT reads both kinds.
    static const QRegularExpression read(QRegularExpression::anchoredPattern(
        QStringLiteral("[A-Za-z0-9_:-][A-Za-z0-9_:.-]*\\.(list|sources)")));
    return read.match(name).hasMatch();
}

QStringList aptListFileNames(const QString& directory)
{
    QStringList names = QDir(directory).entryList(QDir::Files);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString& name) { return !isAptListFileName(name); }),
                names.end());
    // The names left are ASCII, so comparing them as UTF-16 is comparing their bytes.
    std::sort(names.begin(), names.end());
    return names;
}

QString checkSourceListPath(const QString& path, const QString& mainList, const QString& listDir)
{
    const auto refuse = [&](const QString& why) {
        return QCoreApplication::translate("AptFilePolicy", "Refused list file \"%1\": %2").arg(path, why);
    };
    if (!path.startsWith(QLatin1Char('/')))
        return refuse(QCoreApplication::translate("AptFilePolicy", "it is not an absolute path"));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String("..") || part == QLatin1String("."))
            return refuse(
                QCoreApplication::translate("AptFilePolicy", "\"%1\" is not allowed in a path").arg(part));
    }
    for (const QChar c : path) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return refuse(QCoreApplication::translate("AptFilePolicy", "control characters are not allowed"));
    }
    const QString normal = QLatin1Char('/') + parts.join(QLatin1Char('/'));
    const auto normalise = [](const QString& p) {
        return QLatin1Char('/') + p.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
    };
    if (normal == normalise(mainList))
        return QString();
    const QString directory = normal.section(QLatin1Char('/'), 0, -2);
    const QString name = normal.section(QLatin1Char('/'), -1);
    if (directory.isEmpty() || directory != normalise(listDir))
        return refuse(QCoreApplication::translate(
            "AptFilePolicy", "it is neither the main list file nor inside the list directory"));
    if (!isAptListFileName(name))
        return refuse(QCoreApplication::translate(
                          "AptFilePolicy",
                          "APT would skip the file name \"%1\"; it reads only names of ASCII letters, "
                          "digits, \"_\", \"-\", \":\" and \".\" that do not begin with a dot and "
                          "end in \".list\" or \".sources\"")
                          .arg(name));
    return QString();
}
