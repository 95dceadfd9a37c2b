#include "commandpolicy.h"

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

namespace {

QString roleName(CommandRole role)
{
    switch (role) {
    case CommandRole::Update:
        return QCoreApplication::translate("CommandPolicy", "update command");
    case CommandRole::Upgrade:
        return QCoreApplication::translate("CommandPolicy", "upgrade command");
    case CommandRole::FixBroken:
        return QCoreApplication::translate("CommandPolicy", "fix-broken command");
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
    // Anchored to the very end: "$" would also let a final line feed through.
    static const QRegularExpression digits(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,6}")));
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
        return QCoreApplication::translate("CommandPolicy",
                                           "\"%1\" is not an APT option of the form KEY=VALUE")
            .arg(word);
    const QString key = word.left(equals);
    const QString value = word.mid(equals + 1);
    // APT compares keys without regard to case, so the allow-list does too.
    const auto check = allowedAptOptions().constFind(key.toLower());
    if (check == allowedAptOptions().constEnd())
        return QCoreApplication::translate("CommandPolicy", "the APT option \"%1\" is not allowed").arg(key);
    if (!(*check)(value))
        return QCoreApplication::translate("CommandPolicy",
                                           "the value \"%1\" of the APT option \"%2\" is not allowed")
            .arg(value, key);
    return QString();
}

} // namespace

CheckedCommand checkCommand(const QString& commandLine, CommandRole role)
{
    CheckedCommand command;
    const QString what = roleName(role);
    const auto refuse = [&](const QString& why) {
        command.error = QCoreApplication::translate("CommandPolicy", "Refused %1: %2").arg(what, why);
        return command;
    };

    const QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        return refuse(QCoreApplication::translate("CommandPolicy", "it is empty"));

    const QString& program = words.first();
    if (program == QLatin1String("apt-get") || program == QLatin1String("/usr/bin/apt-get"))
        command.program = QStringLiteral("apt-get");
    else if (program == QLatin1String("apt") || program == QLatin1String("/usr/bin/apt"))
        command.program = QStringLiteral("apt");
    else
        return refuse(QCoreApplication::translate(
                          "CommandPolicy", "the program \"%1\" is not allowed; only apt-get and apt are")
                          .arg(program));

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
                return refuse(
                    QCoreApplication::translate("CommandPolicy", "\"-o\" is not followed by an APT option"));
            const QString problem = checkAptOption(words.at(++i));
            if (!problem.isEmpty())
                return refuse(problem);
        } else if (word.startsWith(QLatin1Char('-'))) {
            if (!flags.contains(word))
                return refuse(QCoreApplication::translate("CommandPolicy", "the option \"%1\" is not allowed")
                                  .arg(word));
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
                return refuse(
                    QCoreApplication::translate("CommandPolicy", "the operation \"%1\" is not allowed here")
                        .arg(operation));
        } else if (role == CommandRole::FixBroken) {
            return refuse(QCoreApplication::translate(
                              "CommandPolicy",
                              "the package name \"%1\" is not allowed; only \"install -f\" without "
                              "packages is")
                              .arg(word));
        } else {
            return refuse(
                QCoreApplication::translate("CommandPolicy", "the word \"%1\" is not allowed after \"%2\"")
                    .arg(word, operation));
        }
    }
    if (operation.isEmpty())
        return refuse(QCoreApplication::translate("CommandPolicy", "it has no operation"));
    if (role == CommandRole::FixBroken && !fixBroken)
        return refuse(QCoreApplication::translate("CommandPolicy",
                                                  "\"install\" is only allowed with -f or --fix-broken"));

    command.arguments = words.mid(1);
    return command;
}

QString refusalOfCommand(CommandRole role, const QString& commandLine)
{
    if (role == CommandRole::FixBroken && commandLine.trimmed().isEmpty())
        return QString();
    return checkCommand(commandLine, role).error;
}

QString refusalOfPackageManagerCommand(const QString& commandLine)
{
    for (const QChar c : commandLine) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QCoreApplication::translate(
                "CommandPolicy", "Refused package manager command: control characters are not allowed");
    }
    return QString();
}
