#include "progresslog.h"

#include <cmath>
#include <limits>

namespace ProgressLog {

std::optional<int> percentFrom(const QVariant& value)
{
    bool ok = false;
    const double number = value.toString().toDouble(&ok);
    if (!ok || std::isnan(number))
        return 0;
    // Converting a double beyond int's range is undefined, not just out of the bar's range.
    if (number <= double(std::numeric_limits<int>::min()) - 1.0 ||
        number >= double(std::numeric_limits<int>::max()) + 1.0)
        return std::nullopt;
    return static_cast<int>(number);
}

} // namespace ProgressLog
