#pragma once

#include <QStringList>
#include <optional>

namespace dravik {

// The draw numbers of the latest `depth` lines of a record file, oldest first. File order is time
// order, so these are the last lines. A blank line is a draw too (its number is empty). Nothing when
// the file holds fewer lines than the depth asks for.
std::optional<QStringList> latestDrawNumbers(const QStringList& lines, int depth);

} // namespace dravik
