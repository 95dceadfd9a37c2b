#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// APT's configuration as a multi-map from key to value. A key ending in "::" is a list key
// holding one value per element; all values of a key come out newest-added first (use a
// QMultiMap view to read them). Every other key holds one value.

// The six APT::Periodic keys with the values APT assumes when nothing sets them.
QMap<QString, QString> aptConfigDefaults();

// Runs "apt-config dump" (found through PATH) and returns the defaults overlaid with what it
// printed. On failure *ok is false, *error says why and the map is empty; on success *error
// is left alone. A program that cannot be started counts as success with the defaults.
QMap<QString, QString> readAptConfig(bool* ok, QString* error);
// The same, waiting at most timeoutMs for apt-config (readAptConfig waits 30 s).
QMap<QString, QString> readAptConfig(bool* ok, QString* error, int timeoutMs);

// Adds the entries of apt-config's dump text to *config: one entry per line of the form
// Key "value"; with the quotes stripped. Lines without a value are skipped.
void parseAptConfigDump(const QString& text, QMap<QString, QString>* config);

// The path APT makes of a file or folder key, as "apt-config shell V KEY/f" prints it: the
// key's value under the values of its parents (Dir::Etc::sourcelist under Dir::Etc under Dir,
// empty ones skipped), a value beginning with "/", "./", "../" or "~/" standing alone, all
// under RootDir. An unset or empty key gives RootDir alone.
QString aptConfigFile(const QMap<QString, QString>& config, const QString& key);

// The notifier's own APT configuration file, which the privileged helper writes.
QString ownAptConfigPath();
// The keys an APT configuration file the notifier wrote sets (list keys with their "::").
QStringList aptConfigFileKeys(const QByteArray& text);

// The text of an APT configuration file that sets every key of the map (UTF-8).
QByteArray generateAptConfig(const QMap<QString, QString>& config);
