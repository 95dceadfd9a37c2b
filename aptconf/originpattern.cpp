#include "aptconf/originpattern.h"

#include <QRegularExpression>
#include <QStringList>

bool OriginPatternFields::operator==(const OriginPatternFields& other) const
{
    return archive == other.archive && component == other.component && label == other.label &&
           origin == other.origin && codeName == other.codeName && site == other.site;
}

QMap<QString, QString> parseOriginPattern(const QString& pattern)
{
    QMap<QString, QString> result;
    const QStringList pieces = pattern.split(QLatin1Char(','));
    for (const QString& piece : pieces) {
        const QStringList parts = piece.split(QLatin1Char('='), Qt::SkipEmptyParts);
        if (parts.size() != 2)
            continue;
        result.insert(parts.at(0).trimmed(), parts.at(1).trimmed());
    }
    return result;
}

OriginPatternFields originPatternFields(const QMap<QString, QString>& parsed)
{
    OriginPatternFields fields;
    for (auto it = parsed.cbegin(); it != parsed.cend(); ++it) {
        const QString& name = it.key();
        if (name == QLatin1String("a") || name == QLatin1String("archive") || name == QLatin1String("suite"))
            fields.archive = it.value();
        else if (name == QLatin1String("c") || name == QLatin1String("component"))
            fields.component = it.value();
        else if (name == QLatin1String("l") || name == QLatin1String("label"))
            fields.label = it.value();
        else if (name == QLatin1String("o") || name == QLatin1String("origin"))
            fields.origin = it.value();
        else if (name == QLatin1String("n") || name == QLatin1String("codename"))
            fields.codeName = it.value();
        else if (name == QLatin1String("site"))
            fields.site = it.value();
    }
    return fields;
}

QString formatOriginPattern(const QString& archive, const QString& component, const QString& label,
                            const QString& origin, const QString& codeName, const QString& site)
{
    QStringList pieces;
    const auto add = [&pieces](const char* name, const QString& value) {
        if (!value.isEmpty())
            pieces.append(QLatin1String(name) + QLatin1Char('=') + value);
    };
    add("archive", archive);
    add("component", component);
    add("label", label);
    add("origin", origin);
    add("codename", codeName);
    add("site", site);
    return pieces.join(QLatin1Char(','));
}

QString formatOriginPattern(const OriginPatternFields& fields)
{
    return formatOriginPattern(fields.archive, fields.component, fields.label, fields.origin, fields.codeName,
                               fields.site);
}

OriginPatternFields allowedOriginFields(const QString& rule)
{
    static const QRegularExpression colon(QStringLiteral("(?<!\\\\):"));
    QStringList parts = rule.split(colon);
    if (parts.size() == 1)
        parts = rule.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    OriginPatternFields fields;
    if (parts.size() != 2)
        return fields;
    fields.origin = parts[0].replace(QLatin1String("\\:"), QLatin1String(":"));
    fields.archive = parts[1].replace(QLatin1String("\\:"), QLatin1String(":"));
    return fields;
}

QString defaultOriginPattern()
{
    return QStringLiteral("origin=Debian");
}
