#include "commands.h"

#include "systempaths.h"

#include <QSettings>
#include <QStringList>

QString defaultCommand(int index)
{
    static const QStringList commands = {
        QStringLiteral(
            "apt-get -y -o Dpkg::Options::=\"--force-confdef\" -o Dpkg::Options::=\"--force-confold\" "
            "update"),
        QStringLiteral("apt-get -y -f -o Apt::Status-fd=2 -o Dpkg::Options::=\"--force-confdef\" "
                       "-o Dpkg::Options::=\"--force-confold\" dist-upgrade"),
        QStringLiteral(
            "apt-get -y -f -o Dpkg::Options::=\"--force-confdef\" -o Dpkg::Options::=\"--force-confold\" "
            "install"),
        QStringLiteral("/usr/bin/synaptic-pkexec"),
    };
    return index >= 0 && index < commands.size() ? commands.at(index) : QString();
}

QString globalConfigPath()
{
    return SystemPaths::current().globalConfig;
}

QString globalCommand(const QString& key, int defaultIndex)
{
    const QSettings global(globalConfigPath(), QSettings::IniFormat);
    const QString grouped = QStringLiteral("General/") + key;
    if (global.contains(grouped))
        return global.value(grouped).toString();
    return global.value(key, defaultCommand(defaultIndex)).toString();
}
