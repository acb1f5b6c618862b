#include "analysis/draw_numbers.h"

#include "storage/record_order.h"

#include <algorithm>

namespace dravik {

std::optional<QStringList> latestDrawNumbers(const QStringList& lines, int depth) {
    const qsizetype wanted = std::max(depth, 0);
    if (lines.size() < wanted)
        return std::nullopt;
    // Only the kept lines are cut: the draw number of a dropped line is never looked at, and a record
    // file may hold a very long history.
    QStringList numbers;
    numbers.reserve(wanted);
    for (qsizetype i = lines.size() - wanted; i < lines.size(); ++i)
        numbers.append(drawNumberOf(lines[i]));
    return numbers;
}

} // namespace dravik
