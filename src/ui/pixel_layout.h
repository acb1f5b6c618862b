#pragma once

#include <QBoxLayout>
#include <QPoint>
#include <QRect>

namespace dravik::ui {

// At a fractional device pixel ratio (125 %, 150 %, 175 %) a control whose edges fall between device
// pixels is drawn into a rectangle rounded one way and clipped to one rounded another: the Windows
// style then loses the control's right or bottom border. Laid out on whole device pixels it keeps it.

// The step, in device-independent pixels, of the grid whose lines fall on whole device pixels at
// `ratio`: 1 at 100 % and 200 %, 4 at 125 % and 175 %, 2 at 150 %; 1 where no step up to 8 does.
int devicePixelStep(qreal ratio);

// The rectangle grown to the grid of that step, counted from `origin` (the window's corner in the
// rectangle's coordinates): its left and top edges to the line at or before them, its right and bottom
// edges to the line at or after them. Controls laid out at least a step apart do not overlap after it.
QRect onDevicePixels(const QRect& rect, const QPoint& origin, qreal ratio);

// A box layout that places its widgets on whole device pixels of their window (onDevicePixels); its
// nested layouts must be such layouts too. At whole ratios it is a plain box layout.
class DevicePixelBoxLayout : public QBoxLayout {
public:
    explicit DevicePixelBoxLayout(Direction direction, QWidget* parent = nullptr);

    void setGeometry(const QRect& rect) override;
};

} // namespace dravik::ui
