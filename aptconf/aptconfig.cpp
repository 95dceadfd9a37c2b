#include "aptconf/aptconfig.h"

#include "policy/aptfilepolicy.h"

#include <QCoreApplication>
#include <QMultiMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QVector>

namespace {

const int DumpTimeoutMs = 30000;

// APT's configuration syntax has no escapes: a double quote inside a value ends it (an odd
// number of them is a syntax error that stops every APT program) and a value cannot span
// lines. Such characters cannot be written faithfully, so they are left out; APT drops
// paired quotes itself, so for those the file reads back as before.
QString aptValue(const QString& value)
{
    QString result;
    result.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('"'))
            continue;
        result += (c == QLatin1Char('\n') || c == QLatin1Char('\r')) ? QLatin1Char(' ') : c;
    }
    return result;
}

QMap<QString, QString> failure(bool* ok, QString* error, const QString& text)
{
    *ok = false;
    *error = text;
    return QMap<QString, QString>();
}

} // namespace

QMap<QString, QString> aptConfigDefaults()
{
    QMap<QString, QString> config;
    config.insert(QStringLiteral("APT::Periodic::Enable"), QStringLiteral("1"));
    config.insert(QStringLiteral("APT::Periodic::Update-Package-Lists"), QStringLiteral("0"));
    config.insert(QStringLiteral("APT::Periodic::Download-Upgradeable-Packages"), QStringLiteral("0"));
    config.insert(QStringLiteral("APT::Periodic::Unattended-Upgrade"), QStringLiteral("0"));
    config.insert(QStringLiteral("APT::Periodic::AutocleanInterval"), QStringLiteral("0"));
    config.insert(QStringLiteral("APT::Periodic::Verbose"), QStringLiteral("0"));
    return config;
}

QMap<QString, QString> readAptConfig(bool* ok, QString* error)
{
    return readAptConfig(ok, error, DumpTimeoutMs);
}

QMap<QString, QString> readAptConfig(bool* ok, QString* error, int timeoutMs)
{
    *ok = true;
    QMap<QString, QString> config = aptConfigDefaults();

    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral("apt-config"), {QStringLiteral("dump")}, QIODevice::ReadWrite);
    // Nothing is ever written to it; an end of input spares a child that reads from waiting.
    process.closeWriteChannel();
    process.waitForFinished(timeoutMs);

    // Qt reports a program that could not be started as a normal exit with code 255, so this
    // must be told apart before the exit code is looked at.
    if (process.error() == QProcess::FailedToStart)
        return config;
    if (process.state() != QProcess::NotRunning) {
        // Part of the dump would look like a complete configuration, and saving it would
        // drop whatever was not read yet.
        process.kill();
        process.waitForFinished(1000);
        const int seconds = (timeoutMs + 999) / 1000;
        return failure(ok, error,
                       QCoreApplication::translate(
                           "AptConfig", "apt-config did not finish within %n second(s).", nullptr, seconds));
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return failure(ok, error, process.errorString());
    const QByteArray output = process.readAllStandardOutput();
    // APT says what went wrong on standard error ("E: Syntax error …").
    if (process.exitCode() != 0)
        return failure(ok, error, QString::fromLocal8Bit(process.readAllStandardError() + output).trimmed());
    // apt-config never prints a NUL byte; output holding one is damaged and reading only
    // the part before it would lose the rest on the next save.
    if (output.contains('\0'))
        return failure(
            ok, error,
            QCoreApplication::translate("AptConfig", "The output of apt-config holds a NUL byte."));

    // The writer below writes UTF-8, and values must read back as they were written.
    parseAptConfigDump(QString::fromUtf8(output), &config);
    return config;
}

void parseAptConfigDump(const QString& text, QMap<QString, QString>* config)
{
    QMultiMap<QString, QString> result(std::move(*config));
    // apt-config prints each value raw between its quotes, one entry per line; blanks and
    // semicolons inside a value are part of it.
    const QVector<QStringRef> lines = text.splitRef(QLatin1Char('\n'));
    for (const QStringRef& rawLine : lines) {
        const QStringRef line = rawLine.trimmed();
        if (!line.endsWith(QLatin1Char(';')))
            continue;
        const QStringRef entry = line.chopped(1);
        const int blank = entry.indexOf(QLatin1Char(' '));
        if (blank < 0)
            continue;
        const QStringRef quoted = entry.mid(blank + 1).trimmed();
        if (quoted.size() <= 2)
            continue;
        const QString key = entry.left(blank).trimmed().toString();
        const QString value = quoted.mid(1, quoted.size() - 2).toString();
        if (key.endsWith(QLatin1String("::")))
            result.insert(key, value);
        else
            result.replace(key, value);
    }
    *config = std::move(result);
}

QString aptConfigFile(const QMap<QString, QString>& config, const QString& key)
{
    QString root = config.value(QStringLiteral("RootDir"));
    if (!root.isEmpty() && !root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    QString path = config.value(key);
    if (path.isEmpty())
        return root;
    const auto standsAlone = [&path] {
        return path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1String("./")) ||
               path.startsWith(QLatin1String("../")) || path.startsWith(QLatin1String("~/"));
    };
    for (QString parent = key.section(QLatin1String("::"), 0, -2); !parent.isEmpty();
         parent = parent.section(QLatin1String("::"), 0, -2)) {
        const QString above = config.value(parent);
        if (above.isEmpty())
            continue;
        if (standsAlone()) {
            // APT reads anything below /dev/null as /dev/null itself.
            if (path.startsWith(QLatin1String("/dev/null")))
                path.truncate(9);
            break;
        }
        path.prepend(above.endsWith(QLatin1Char('/')) ? above : above + QLatin1Char('/'));
    }
    while (path.contains(QLatin1String("/./")))
        path.replace(QLatin1String("/./"), QLatin1String("/"));
    while (path.contains(QLatin1String("//")))
        path.replace(QLatin1String("//"), QLatin1String("/"));
    if (!root.isEmpty() && path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return root + path;
}

QString ownAptConfigPath()
{
    return QString::fromLatin1(OwnAptConfigPath);
}

QStringList aptConfigFileKeys(const QByteArray& text)
{
    // The writer below puts one setting or one list opening on a line.
    static const QRegularExpression setting(QStringLiteral("^\\s*([A-Za-z0-9:_-]+)\\s+\"[^\"]*\"\\s*;"));
    static const QRegularExpression list(QStringLiteral("^\\s*([A-Za-z0-9:_-]+)\\s*\\{"));
    QStringList keys;
    for (const QByteArray& line : text.split('\n')) {
        const QString decoded = QString::fromUtf8(line);
        if (const auto match = setting.match(decoded); match.hasMatch())
            keys.append(match.captured(1));
        else if (const auto match = list.match(decoded); match.hasMatch())
            keys.append(match.captured(1) + QLatin1String("::"));
    }
    keys.removeDuplicates();
    return keys;
}

QByteArray generateAptConfig(const QMap<QString, QString>& config)
{
    const QMultiMap<QString, QString> multi(config);
    QString text = QStringLiteral("// This file was generated by tarn-update-notifier\n");
    for (const QString& key : multi.uniqueKeys()) {
        const QStringList values = multi.values(key);
        if (!key.endsWith(QLatin1String("::"))) {
            // A plain key with several values cannot be said in one line; APT would keep
            // only the last, so none is written rather than an arbitrary one.
            if (values.size() == 1)
                text += key + QLatin1String(" \"") + aptValue(values.first()) + QLatin1String("\";\n");
            continue;
        }
        const QString name = key.chopped(2);
        text += QLatin1String("#clear ") + name + QLatin1String(";\n") + name + QLatin1String(" {\n");
        for (const QString& value : values) {
            const QString element = aptValue(value);
            if (!element.isEmpty())
                text += QLatin1String("    \"") + element + QLatin1String("\";\n");
        }
        text += QLatin1String("};\n");
    }
    return text.toUtf8();
}
