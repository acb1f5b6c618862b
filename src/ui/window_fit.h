#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace dravik::ui {

// Where a window of a fixed design size goes on a screen whose free area (the screen less its task bar
// and panels) is `area`, all in device-independent pixels.

// Each side as designed where the area holds it, else the area's: a short screen gets a shorter window
// rather than one whose bottom lies off the screen.
QSize fittedSize(QSize designed, const QRect& area);

// The top-left corner of a window of `size` centred in the area.
QPoint centredIn(QSize size, const QRect& area);

// The top-left corner nearest to `wanted` at which a window of `size` lies inside the area; where the
// window is wider or taller than the area, its left or top edge is the area's.
QPoint keptInside(QPoint wanted, QSize size, const QRect& area);

} // namespace dravik::ui
