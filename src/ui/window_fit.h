#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace dravik::ui {

// Where a window goes on a screen whose free area (the screen less its task bar and panels) is `area`,
// and how its frame resizes it, all in device-independent pixels.

// Each side as designed where the area holds it, else the area's: a short screen gets a shorter window
// rather than one whose bottom lies off the screen.
QSize fittedSize(QSize designed, const QRect& area);

// The top-left corner of a window of `size` centred in the area.
QPoint centredIn(QSize size, const QRect& area);

// The top-left corner nearest to `wanted` at which a window of `size` lies inside the area; where the
// window is wider or taller than the area, its left or top edge is the area's.
QPoint keptInside(QPoint wanted, QSize size, const QRect& area);

// The index of the first of the areas that holds the whole rectangle; -1 when none does.
int areaHolding(const QRect& geometry, const QList<QRect>& areas);

// The edges of a window of `size` that a pointer at `pos` (in the window) grabs: those within
// `border` pixels, and near a corner, within `corner` pixels of it, both edges of the corner. None
// outside the window.
Qt::Edges edgesAt(QPoint pos, QSize size, int border, int corner);

// The geometry of a window that was at `start` when its `edges` were grabbed and the pointer has since
// moved by `moved`: the grabbed edges follow the pointer, the others stay; no side gets shorter than
// `minimum`, and no grabbed edge leaves the area (unless the window started outside it).
QRect resizedGeometry(const QRect& start, Qt::Edges edges, QPoint moved, QSize minimum, const QRect& area);

} // namespace dravik::ui
