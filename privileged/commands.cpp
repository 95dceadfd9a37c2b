#include "commands.h"

#include "systempaths.h"

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
