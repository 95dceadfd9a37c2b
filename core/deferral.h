#pragma once

#include <QDateTime>

// True while a remind-later deferral of delaySeconds, started at since, still runs
// at now. An invalid start counts as just now, so a stored delay without a start
// defers until the user chooses again or resets it.
bool isDeferred(qint64 delaySeconds, const QDateTime& since, const QDateTime& now);
