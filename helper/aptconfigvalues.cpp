#include "aptconfigvalues.h"

#include "childprocess.h"

namespace {
constexpr int AptConfigLimitMs = 30000;

// Reads one NAME='value' line of `apt-config shell`, which quotes a ' as '"'"'.
QString shellValue(const QString& line, const QString& name)
{
    const QString prefix = name + QLatin1String("='");
    if (!line.startsWith(prefix) || !line.endsWith(QLatin1Char('\'')))
        return QString();
    QString value = line.mid(prefix.size(), line.size() - prefix.size() - 1);
    return value.replace(QLatin1String("'\"'\"'"), QLatin1String("'"))
        .replace(QLatin1String("'\\''"), QLatin1String("'"));
}

QString variable(int index)
{
    return QStringLiteral("V%1").arg(index);
}
} // namespace

QStringList aptConfigValues(const HelperSettings& settings, const QStringList& keys, QString* error)
{
    QStringList arguments = {QStringLiteral("shell")};
    for (int i = 0; i < keys.size(); ++i)
        arguments << variable(i) << keys.at(i);
    ChildProcess aptConfig(settings.binDir + QLatin1String("/apt-config"), arguments,
                           settings.childEnvironment());
    QStringList lines;
    *error = aptConfig.runToEnd(AptConfigLimitMs, &lines);
    if (!error->isEmpty())
        return {};
    // A failed apt-config gives no values, whatever it printed.
    const QStringList answer = aptConfig.exitCode() == 0 ? lines : QStringList();
    QStringList values;
    for (int i = 0; i < keys.size(); ++i) {
        QString value;
        for (const QString& line : answer) {
            if (line.startsWith(variable(i) + QLatin1Char('=')))
                value = shellValue(line, variable(i));
        }
        values << value;
    }
    return values;
}

QStringList aptConfigList(const HelperSettings& settings, const QString& key, QString* error)
{
    // "apt-config shell" gives no lists; the dump of the key alone names each element "KEY::".
    ChildProcess aptConfig(
        settings.binDir + QLatin1String("/apt-config"),
        {QStringLiteral("dump"), QStringLiteral("--format"), QStringLiteral("%f=%v%n"), key},
        settings.childEnvironment());
    QStringList lines;
    *error = aptConfig.runToEnd(AptConfigLimitMs, &lines);
    if (!error->isEmpty() || aptConfig.exitCode() != 0)
        return {};
    // APT's keys are case-insensitive; nested keys and empty elements are not the list's.
    const QString element = key + QLatin1String("::=");
    QStringList values;
    for (const QString& line : qAsConst(lines)) {
        if (line.startsWith(element, Qt::CaseInsensitive) && line.size() > element.size())
            values << line.mid(element.size());
    }
    return values;
}
