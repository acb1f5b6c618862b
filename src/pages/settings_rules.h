#pragma once

#include <QtGlobal>

namespace dravik {

// Which radio button of a group a stored value checks, counted from the group's first button:
// start value and display mode: 0 the first, anything else the second; depth: 0, 1, anything else 2.
int startValueChoice(qint32 stored);
int displayModeChoice(qint32 stored);
int depthChoice(qint32 stored);

} // namespace dravik
