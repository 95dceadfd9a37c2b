#include "helpercontract.h"

#include <QLocale>
#include <QRandomGenerator>

namespace HelperContract {

QString withStatusFd(const QString& upgradeCommand)
{
    // Case-sensitive: a command spelling the key otherwise just gets a second, identical
    // option, which APT accepts.
    if (upgradeCommand.contains(QLatin1String("Apt::Status-fd")))
        return upgradeCommand;
    return upgradeCommand + QLatin1String(" -o Apt::Status-fd=2");
}

int timeoutFor(const QString& name)
{
    // dpkg's pending work is as long as an upgrade's.
    if (name == QLatin1String(UpgradeAction) || name == QLatin1String(RepairAction))
        return UpgradeTimeoutMs;
    if (name == QLatin1String(UpdateAction))
        return UpdateTimeoutMs;
    return WriteTimeoutMs;
}

KAuth::Action makeAction(const QString& name, const QVariantMap& arguments, QWidget* parent)
{
    const QString helperId = QString::fromLatin1(HelperId);
    KAuth::Action action(helperId + QLatin1Char('.') + name);
    action.setHelperId(helperId);
    QVariantMap withLanguage = arguments;
    withLanguage.insert(QLatin1String(LanguageKey), QLocale().name());
    quint32 secret[4];
    QRandomGenerator::system()->fillRange(secret);
    withLanguage.insert(
        QLatin1String(RequestKey),
        QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(secret), sizeof secret).toHex()));
    action.setArguments(withLanguage);
    action.setTimeout(timeoutFor(name));
    if (parent)
        action.setParentWidget(parent);
    return action;
}

} // namespace HelperContract
