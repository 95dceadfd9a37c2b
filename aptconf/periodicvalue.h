#pragma once

#include <QString>

// How an APT::Periodic value is shown in the settings dialog's controls. APT's daily job
// takes more than the controls can show ("always", "12h", "true", "365"); such a value is
// shown as near as the control allows and isExactlyShown() says it must be kept as set.
namespace PeriodicValue {

// Days between runs for an interval value, within 0 (off) .. maxDays. "always", a duration
// shorter than a day and one of no time or less ("-1", which runs at every start of the daily
// job) show as one day; anything unreadable as 0.
int intervalDays(const QString& value, int maxDays);
// Whether APT::Periodic::Enable's value turns the daily job on; a missing value does.
bool isEnabled(const QString& value);
// Whether writing the control's value back would give exactly this text.
bool isIntervalExactlyShown(const QString& value, int maxDays);
bool isEnableExactlyShown(const QString& value);

} // namespace PeriodicValue
