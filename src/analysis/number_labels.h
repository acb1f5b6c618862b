#pragma once

#include <QStringList>

namespace dravik {

// The X number labels in ascending order. Start value 0: "0" to X−1. Start value 1: 1 to X, where
// only 1 to 9 get a leading "0" ("01".."09", "10", ..., "100"). X ≤ 0 gives no labels. The caller
// keeps X within a table's reach (kMaxLabels).
QStringList buildLabels(qint32 x, int startValue);

} // namespace dravik
