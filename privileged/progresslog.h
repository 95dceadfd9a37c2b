#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// Shared by the two progress dialogs.
namespace ProgressLog {

// The bar value for a "progress" entry: the number, or numeric text, truncated toward zero; 0
// when it is not a number; nothing when it is too large to be a percentage at all (the bar
// keeps its value then, as it does for any value outside its range).
std::optional<int> percentFrom(const QVariant& value);

} // namespace ProgressLog
