#pragma once

#include <QStringList>

// The phrases that describe a check's counts, "<b>3</b> packages will be upgraded"
// and so on, for each count above 0 in the order upgraded, installed, removed.
QStringList updatePhrases(int upgradable, int newPackages, int removed);

// The tooltip shown with available updates.
QString updatesTooltip(const QString& title, int upgradable, int newPackages, int removed);

// The text of the phone notification.
QString phoneNotificationText(int upgradable, int newPackages, int removed);
