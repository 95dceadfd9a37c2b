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

namespace {
// QSettings reads a value with an unquoted comma, as a hand-written "a, --b", as a list of
// its parts; joined again it is the line as written.
QString commandLine(const QVariant& value)
{
    return value.userType() == QMetaType::QStringList ? value.toStringList().join(QStringLiteral(", "))
                                                      : value.toString();
}
} // namespace

QString globalCommand(const QString& key, int defaultIndex)
{
    const QSettings global(globalConfigPath(), QSettings::IniFormat);
    const QString grouped = QStringLiteral("General/") + key;
    if (global.contains(grouped))
        return commandLine(global.value(grouped));
    return commandLine(global.value(key, defaultCommand(defaultIndex)));
}
