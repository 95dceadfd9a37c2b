#include "aptconf/periodicvalue.h"

namespace PeriodicValue {

int intervalDays(const QString& value, int maxDays)
{
    if (value == QLatin1String("always"))
        return 1;
    // apt.systemd.daily's suffixes; a count without one is in days.
    const QString units = QStringLiteral("smhd");
    const qint64 seconds[] = {1, 60, 3600, 86400};
    const int unit = value.isEmpty() ? -1 : units.indexOf(value.back());
    bool ok = false;
    const qint64 count = (unit < 0 ? value : value.chopped(1)).toLongLong(&ok);
    // Only a plain "0" turns the task off; any other count of no time or less (a negative
    // one, "0h") runs it at every start of the daily job.
    if (!ok || value == QLatin1String("0"))
        return 0;
    if (count <= 0)
        return 1;
    const qint64 total = qMin<qint64>(count, qint64(maxDays) * 86400) * seconds[unit < 0 ? 3 : unit];
    return int(qBound<qint64>(1, (total + 86399) / 86400, maxDays));
}

bool isEnabled(const QString& value)
{
    const QString lower = value.trimmed().toLower();
    return !(lower == QLatin1String("0") || lower == QLatin1String("false") || lower == QLatin1String("no") ||
             lower == QLatin1String("off"));
}

bool isIntervalExactlyShown(const QString& value, int maxDays)
{
    return QString::number(intervalDays(value, maxDays)) == value;
}

bool isEnableExactlyShown(const QString& value)
{
    return value == QLatin1String("1") || value == QLatin1String("0");
}

} // namespace PeriodicValue
