#include "helpersettings.h"

#include <QDir>

HelperSettings HelperSettings::fromEnvironment()
{
    HelperSettings settings;
    const QString root = qEnvironmentVariable("TARN_HELPER_ROOT");
    if (!root.isEmpty())
        settings.root = root;
    settings.aptConfig = qEnvironmentVariable("TARN_HELPER_APT_CONFIG");
    return settings;
}

QStringList HelperSettings::childEnvironment() const
{
    // No locale variables: APT then speaks English, which the lock and broken-package
    // detection read.
    QStringList environment = {
        QStringLiteral("PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"),
        QStringLiteral("DEBIAN_FRONTEND=noninteractive"),
        QStringLiteral("APT_LISTCHANGES_FRONTEND=none"),
    };
    if (!aptConfig.isEmpty())
        environment << QStringLiteral("APT_CONFIG=") + aptConfig;
    return environment;
}

QString HelperSettings::underRoot(const QString& path) const
{
    return QDir::cleanPath(root + QLatin1Char('/') + path);
}
