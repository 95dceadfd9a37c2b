#include "commandpolicy.h"

#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

namespace {

QString roleName(CommandRole role)
{
    switch (role) {
    case CommandRole::Update:
        return QStringLiteral("update command");
    case CommandRole::Upgrade:
        return QStringLiteral("upgrade command");
    case CommandRole::FixBroken:
        return QStringLiteral("fix-broken command");
    }
    return QString();
}

bool isBoolean(const QString& value)
{
    static const QSet<QString> words = {
        QStringLiteral("0"),       QStringLiteral("1"),      QStringLiteral("true"),
        QStringLiteral("false"),   QStringLiteral("yes"),    QStringLiteral("no"),
        QStringLiteral("on"),      QStringLiteral("off"),    QStringLiteral("with"),
        QStringLiteral("without"), QStringLiteral("enable"), QStringLiteral("disable"),
    };
    return words.contains(value.toLower());
}

bool isCount(const QString& value)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    return digits.match(value).hasMatch();
}

// -o keys an administrator may pass, with the values each accepts. Keys that run programs
// (hooks, Dpkg::Pre-Install-Pkgs, ...) or move APT elsewhere (Dir::*, APT::Config, ...) are
// simply not here. Dpkg::Options is limited to the conffile choices: dpkg itself has options
// that run commands (--pre-invoke, --post-invoke, --status-logger) or change its root.
const QHash<QString, bool (*)(const QString&)>& allowedAptOptions()
{
    static const QHash<QString, bool (*)(const QString&)> options = {
        {QStringLiteral("dpkg::options::"),
         [](const QString& value) {
             static const QSet<QString> conffileChoices = {
                 QStringLiteral("--force-confdef"),
                 QStringLiteral("--force-confold"),
                 QStringLiteral("--force-confnew"),
                 QStringLiteral("--force-confmiss"),
             };
             return conffileChoices.contains(value);
         }},
        // The helper reads status lines from the command's stdout and stderr only.
        {QStringLiteral("apt::status-fd"),
         [](const QString& value) { return value == QLatin1String("1") || value == QLatin1String("2"); }},
        {QStringLiteral("dpkg::use-pty"), isBoolean},
        {QStringLiteral("apt::get::assume-yes"), isBoolean},
        {QStringLiteral("apt::get::fix-broken"), isBoolean},
        {QStringLiteral("apt::color"), isBoolean},
        {QStringLiteral("quiet"), isCount},
        {QStringLiteral("acquire::retries"), isCount},
        {QStringLiteral("dpkg::lock::timeout"), isCount},
    };
    return options;
}

QString checkAptOption(const QString& word)
{
    const int equals = word.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return QStringLiteral("\"%1\" is not an APT option of the form KEY=VALUE").arg(word);
    const QString key = word.left(equals);
    const QString value = word.mid(equals + 1);
    // APT compares keys without regard to case, so the allow-list does too.
    const auto check = allowedAptOptions().constFind(key.toLower());
    if (check == allowedAptOptions().constEnd())
        return QStringLiteral("the APT option \"%1\" is not allowed").arg(key);
    if (!(*check)(value))
        return QStringLiteral("the value \"%1\" of the APT option \"%2\" is not allowed").arg(value, key);
    return QString();
}

} // namespace

CheckedCommand checkCommand(const QString& commandLine, CommandRole role)
{
    CheckedCommand command;
    const QString what = roleName(role);
    const auto refuse = [&](const QString& why) {
        command.error = QStringLiteral("Refused %1: %2").arg(what, why);
        return command;
    };

    const QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        return refuse(QStringLiteral("it is empty"));

    const QString& program = words.first();
    if (program == QLatin1String("apt-get") || program == QLatin1String("/usr/bin/apt-get"))
        command.program = QStringLiteral("apt-get");
    else if (program == QLatin1String("apt") || program == QLatin1String("/usr/bin/apt"))
        command.program = QStringLiteral("apt");
    else
        return refuse(
            QStringLiteral("the program \"%1\" is not allowed; only apt-get and apt are").arg(program));

    static const QSet<QString> flags = {
        QStringLiteral("-y"), QStringLiteral("--yes"),        QStringLiteral("--assume-yes"),
        QStringLiteral("-f"), QStringLiteral("--fix-broken"), QStringLiteral("-q"),
    };
    QString operation;
    bool fixBroken = false;
    for (int i = 1; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (word == QLatin1String("-o")) {
            if (i + 1 == words.size())
                return refuse(QStringLiteral("\"-o\" is not followed by an APT option"));
            const QString problem = checkAptOption(words.at(++i));
            if (!problem.isEmpty())
                return refuse(problem);
        } else if (word.startsWith(QLatin1Char('-'))) {
            if (!flags.contains(word))
                return refuse(QStringLiteral("the option \"%1\" is not allowed").arg(word));
            fixBroken = fixBroken || word == QLatin1String("-f") || word == QLatin1String("--fix-broken");
        } else if (operation.isEmpty()) {
            operation = word;
            static const QSet<QString> upgrades = {
                QStringLiteral("dist-upgrade"),
                QStringLiteral("full-upgrade"),
                QStringLiteral("upgrade"),
            };
            const bool fits = (role == CommandRole::Update && operation == QLatin1String("update")) ||
                              (role == CommandRole::Upgrade && upgrades.contains(operation)) ||
                              (role == CommandRole::FixBroken && operation == QLatin1String("install"));
            if (!fits)
                return refuse(QStringLiteral("the operation \"%1\" is not allowed here").arg(operation));
        } else if (role == CommandRole::FixBroken) {
            return refuse(
                QStringLiteral("the package name \"%1\" is not allowed; only \"install -f\" without "
                               "packages is")
                    .arg(word));
        } else {
            return refuse(QStringLiteral("the word \"%1\" is not allowed after \"%2\"").arg(word, operation));
        }
    }
    if (operation.isEmpty())
        return refuse(QStringLiteral("it has no operation"));
    if (role == CommandRole::FixBroken && !fixBroken)
        return refuse(QStringLiteral("\"install\" is only allowed with -f or --fix-broken"));

    command.arguments = words.mid(1);
    return command;
}

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
        static const QRegularExpression word(QStringLiteral("^[A-Za-z0-9]*$"));
        if (!word.match(value).hasMatch())
            return QStringLiteral("the value \"%1\" of \"%2\" is not allowed").arg(value, key);
        return QString();
    }
    if (key.compare(QLatin1String("Unattended-Upgrade::Mail"), Qt::CaseInsensitive) == 0) {
        // The address ends up on a mail program's command line.
        if (value.startsWith(QLatin1Char('-')))
            return QStringLiteral("the mail address \"%1\" is not allowed").arg(value);
        return QString();
    }
    return QStringLiteral("the key \"%1\" is not allowed").arg(key);
}

} // namespace

QString checkAptConfigText(const QByteArray& text)
{
    static const QRegularExpression clearLine(QStringLiteral("^#clear\\s+([^\\s;]+)\\s*;$"));
    static const QRegularExpression settingLine(QStringLiteral("^([A-Za-z0-9:_-]+)\\s+\"([^\"]*)\"\\s*;$"));
    static const QRegularExpression listOpenLine(QStringLiteral("^([A-Za-z0-9:_-]+)\\s*\\{$"));
    static const QRegularExpression elementLine(QStringLiteral("^\"([^\"]*)\"\\s*;$"));

    // The notifier writes Latin-1.
    const QStringList lines = QString::fromLatin1(text).split(QLatin1Char('\n'));
    QString openList;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        const auto refuse = [&](const QString& why) {
            return QStringLiteral("Refused APT configuration line %1 \"%2\": %3").arg(i + 1).arg(line, why);
        };
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("//"))) {
            // A block comment opened in a line comment would still be seen by APT elsewhere.
            if (line.contains(QLatin1String("/*")) || line.contains(QLatin1String("*/")))
                return refuse(QStringLiteral("block comment markers are not allowed"));
            continue;
        }
        // Quotes are held in place by the patterns below; a control character could end a
        // value early for APT.
        for (const QChar c : line) {
            if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
                return refuse(QStringLiteral("control characters are not allowed"));
        }

        if (!openList.isEmpty()) {
            if (line == QLatin1String("};") || line == QLatin1String("}")) {
                openList.clear();
                continue;
            }
            if (!elementLine.match(line).hasMatch())
                return refuse(QStringLiteral("only quoted elements are allowed inside \"%1\"").arg(openList));
            continue;
        }

        if (const auto match = clearLine.match(line); match.hasMatch()) {
            const QString name = match.captured(1);
            if (!isListName(name))
                return refuse(QStringLiteral("clearing \"%1\" is not allowed").arg(name));
        } else if (const auto match = settingLine.match(line); match.hasMatch()) {
            const QString problem = checkPlainSetting(match.captured(1), match.captured(2));
            if (!problem.isEmpty())
                return refuse(problem);
        } else if (const auto match = listOpenLine.match(line); match.hasMatch()) {
            openList = match.captured(1);
            if (!isListName(openList))
                return refuse(QStringLiteral("the list \"%1\" is not allowed").arg(openList));
        } else {
            return refuse(QStringLiteral("it is not a setting the notifier writes"));
        }
    }
    if (!openList.isEmpty())
        return QStringLiteral("Refused APT configuration: the list \"%1\" is not closed").arg(openList);
    return QString();
}

QString checkSourceListPath(const QString& path, const QString& mainList, const QString& listDir)
{
    const auto refuse = [&](const QString& why) {
        return QStringLiteral("Refused list file \"%1\": %2").arg(path, why);
    };
    if (!path.startsWith(QLatin1Char('/')))
        return refuse(QStringLiteral("it is not an absolute path"));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String("..") || part == QLatin1String("."))
            return refuse(QStringLiteral("\"%1\" is not allowed in a path").arg(part));
    }
    for (const QChar c : path) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return refuse(QStringLiteral("control characters are not allowed"));
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
        return refuse(QStringLiteral("it is neither the main list file nor inside the list directory"));
    if (name.startsWith(QLatin1Char('.')) || !name.endsWith(QLatin1String(".list"), Qt::CaseInsensitive) ||
        name.size() <= 5)
        return refuse(QStringLiteral("\"%1\" is not a \".list\" file name").arg(name));
    return QString();
}
