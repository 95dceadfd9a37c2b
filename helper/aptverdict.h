#pragma once

#include "helpersettings.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// Asks APT itself whether it can read files before the helper replaces the real ones: text
// that passes the allow-lists can still be junk to APT, and a file APT cannot read stops
// every APT program. APT reads copies in a scratch directory; nothing real is touched.
class AptVerdict
{
public:
    explicit AptVerdict(const HelperSettings& settings);

    // Why APT refuses `text` as a configuration file (APT's own error), or an empty string.
    QString onConfiguration(const QByteArray& text) const;
    // Why APT refuses the source lists that result from writing `files` (path as APT names it
    // -> new text) over the current ones, or an empty string.
    QString onSourceLists(const QMap<QString, QByteArray>& files, const QString& mainList,
                          const QString& listDir) const;

private:
    QString run(const QString& program, const QStringList& arguments, const QStringList& environment,
                const QString& what) const;

    HelperSettings m_settings;
};
