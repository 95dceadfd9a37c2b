#include "deferral.h"

bool isDeferred(qint64 delaySeconds, const QDateTime& since, const QDateTime& now)
{
    if (delaySeconds <= 0)
        return false;
    const qint64 elapsed = since.isValid() ? since.secsTo(now) : 0;
    return elapsed < delaySeconds;
}
