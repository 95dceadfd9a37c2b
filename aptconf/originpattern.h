#pragma once

#include <QMap>
#include <QString>

// Unattended-upgrades origin patterns: comma-separated name=value conditions such as
// "origin=Debian,codename=${distro_codename},label=Debian-Security".

// The six fields of a pattern as the editor shows them.
struct OriginPatternFields
{
    QString archive;
    QString component;
    QString label;
    QString origin;
    QString codeName;
    QString site;

    bool operator==(const OriginPatternFields& other) const;
    bool operator!=(const OriginPatternFields& other) const { return !(*this == other); }
};

// Name (trimmed) to value (trimmed), one value per name, a later piece winning. Pieces that
// are not exactly one name and one value around "=" are ignored.
QMap<QString, QString> parseOriginPattern(const QString& pattern);

// Assigns the parsed names to the six fields. Names are taken in ascending order, so of two
// names for one field the one sorting last wins; unknown names are ignored.
OriginPatternFields originPatternFields(const QMap<QString, QString>& parsed);

// Builds a pattern from the six field values, in the order archive, component, label,
// origin, code name, site, leaving out empty fields.
QString formatOriginPattern(const QString& archive, const QString& component, const QString& label,
                            const QString& origin, const QString& codeName, const QString& site);
QString formatOriginPattern(const OriginPatternFields& fields);

// The fields an Unattended-Upgrade::Allowed-Origins rule matches: "origin:archive", where
// "\:" stands for a colon; without a colon, the two are separated by blanks. A rule that
// is neither gives no fields.
OriginPatternFields allowedOriginFields(const QString& rule);

// The pattern a new list entry starts with.
QString defaultOriginPattern();
