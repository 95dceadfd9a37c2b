#include "updatetext.h"

#include <QCoreApplication>

QStringList updatePhrases(int upgradable, int newPackages, int removed)
{
    QStringList phrases;
    if (upgradable > 0)
        phrases << QCoreApplication::translate("NotifierCore", "<b>%n</b> package(s) will be upgraded",
                                               nullptr, upgradable);
    if (newPackages > 0)
        phrases << QCoreApplication::translate("NotifierCore", "<b>%n</b> package(s) will be installed",
                                               nullptr, newPackages);
    if (removed > 0)
        phrases << QCoreApplication::translate("NotifierCore", "<b>%n</b> package(s) will be removed",
                                               nullptr, removed);
    return phrases;
}

QString updatesTooltip(const QString& title, int upgradable, int newPackages, int removed,
                       const UpdateFacts& facts)
{
    QStringList phrases = updatePhrases(upgradable, newPackages, removed);
    if (upgradable > 0 && facts.security > 0)
        phrases.insert(1, QCoreApplication::translate("NotifierCore", "Security updates: <b>%n</b>", nullptr,
                                                      facts.security));
    if (facts.heldBack > 0)
        phrases << QCoreApplication::translate("NotifierCore", "<b>%n</b> held back", nullptr,
                                               facts.heldBack);
    QString text;
    for (const QString& phrase : phrases)
        text += phrase + QStringLiteral("<br>");
    text += QCoreApplication::translate("NotifierCore", "Click to run system upgrade");
    return QCoreApplication::translate("NotifierCore", "%1:<br>%2").arg(title, text);
}

QString phoneNotificationText(int upgradable, int newPackages, int removed)
{
    return updatePhrases(upgradable, newPackages, removed).join(QStringLiteral(", ")) + QStringLiteral(". ") +
           QCoreApplication::translate("NotifierCore", "Click to run system upgrade");
}
