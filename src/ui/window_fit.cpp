#include "ui/window_fit.h"

#include <algorithm>

namespace dravik::ui {

QSize fittedSize(QSize designed, const QRect& area) {
    return designed.boundedTo(area.size());
}

QPoint centredIn(QSize size, const QRect& area) {
    return keptInside(area.topLeft() +
                          QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                      size, area);
}

QPoint keptInside(QPoint wanted, QSize size, const QRect& area) {
    // The far edge first, so that a window larger than the area ends up at its near edge.
    const int x = std::max(area.left(), std::min(wanted.x(), area.left() + area.width() - size.width()));
    const int y = std::max(area.top(), std::min(wanted.y(), area.top() + area.height() - size.height()));
    return {x, y};
}

} // namespace dravik::ui
