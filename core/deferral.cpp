#include "deferral.h"

bool isDeferred(qint64 delaySeconds, const QDateTime& since, const QDateTime& now)
{
    if (delaySeconds <= 0)
        return false;
    // A start in the future (the clock was set right since) counts as now.
    const qint64 elapsed = since.isValid() ? qMax(qint64(0), since.secsTo(now)) : 0;
    return elapsed < delaySeconds;
}
