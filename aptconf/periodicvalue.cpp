#include "aptconf/periodicvalue.h"

namespace PeriodicValue {

int intervalDays(const QString& value, int maxDays)
{
    bool ok = false;
    const qint64 days = value.toLongLong(&ok);
    if (ok)
        return int(qBound<qint64>(0, days, maxDays));
    if (value == QLatin1String("always"))
        return 1;
    // apt.systemd.daily's suffixes; the number before them is whole.
    const QString units = QStringLiteral("smhd");
    const qint64 seconds[] = {1, 60, 3600, 86400};
    const int unit = value.isEmpty() ? -1 : units.indexOf(value.back());
    if (unit < 0)
        return 0;
    const qint64 count = value.chopped(1).toLongLong(&ok);
    if (!ok || count <= 0)
        return 0;
    const qint64 total = count * seconds[unit];
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
