#include "ui/pixel_layout.h"

#include <QWidget>
#include <cmath>

namespace dravik::ui {

namespace {

constexpr int kLargestStep = 8;

int lineAtOrBefore(int value, int step) {
    return int(std::floor(double(value) / step)) * step;
}

int lineAtOrAfter(int value, int step) {
    return int(std::ceil(double(value) / step)) * step;
}

} // namespace

int devicePixelStep(qreal ratio) {
    for (int step = 1; step <= kLargestStep; ++step) {
        const qreal pixels = step * ratio;
        if (std::abs(pixels - std::round(pixels)) < 1e-6)
            return step;
    }
    return 1;
}

QRect onDevicePixels(const QRect& rect, const QPoint& origin, qreal ratio) {
    const int step = devicePixelStep(ratio);
    if (step == 1)
        return rect;
    // In the window's coordinates, whose corner is on a device pixel.
    const QRect inWindow = rect.translated(-origin);
    const int left = lineAtOrBefore(inWindow.left(), step);
    const int top = lineAtOrBefore(inWindow.top(), step);
    const int right = lineAtOrAfter(inWindow.left() + inWindow.width(), step);
    const int bottom = lineAtOrAfter(inWindow.top() + inWindow.height(), step);
    return QRect(left, top, right - left, bottom - top).translated(origin);
}

DevicePixelBoxLayout::DevicePixelBoxLayout(Direction direction, QWidget* parent)
    : QBoxLayout(direction, parent) {}

void DevicePixelBoxLayout::setGeometry(const QRect& rect) {
    QBoxLayout::setGeometry(rect);
    for (int i = 0; i < count(); ++i) {
        QWidget* widget = itemAt(i)->widget();
        if (!widget || widget->isHidden() || !widget->parentWidget())
            continue;
        QWidget* parent = widget->parentWidget();
        const QPoint origin = -parent->mapTo(parent->window(), QPoint(0, 0));
        widget->setGeometry(onDevicePixels(widget->geometry(), origin, widget->devicePixelRatio()));
    }
}

} // namespace dravik::ui
