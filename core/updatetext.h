#pragma once

#include "updatefacts.h"

#include <QStringList>

// The phrases that describe a check's counts, "<b>3</b> packages will be upgraded"
// and so on, for each count above 0 in the order upgraded, installed, removed.
QStringList updatePhrases(int upgradable, int newPackages, int removed);

// The tooltip shown with available updates: the counts, how many of the upgrades are security
// updates and how many packages are held back, where known.
QString updatesTooltip(const QString& title, int upgradable, int newPackages, int removed,
                       const UpdateFacts& facts);

// The text of the phone notification.
QString phoneNotificationText(int upgradable, int newPackages, int removed);
