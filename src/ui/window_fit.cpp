#include "ui/window_fit.h"

#include <algorithm>
#include <utility>

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

int areaHolding(const QRect& geometry, const QList<QRect>& areas) {
    for (int i = 0; i < areas.size(); ++i) {
        if (areas.at(i).contains(geometry))
            return i;
    }
    return -1;
}

Qt::Edges edgesAt(QPoint pos, QSize size, int border, int corner) {
    if (!QRect(QPoint(0, 0), size).contains(pos))
        return {};
    const auto near = [&](int from, int length, int reach, Qt::Edge low, Qt::Edge high) -> Qt::Edges {
        if (from < reach)
            return low;
        if (from >= length - reach)
            return high;
        return {};
    };
    const Qt::Edges across = near(pos.x(), size.width(), border, Qt::LeftEdge, Qt::RightEdge);
    const Qt::Edges down = near(pos.y(), size.height(), border, Qt::TopEdge, Qt::BottomEdge);
    if (!across && !down)
        return {};
    // On an edge near a corner, the corner: a diagonal grab needs no pixel-exact aim.
    return (across ? across : near(pos.x(), size.width(), corner, Qt::LeftEdge, Qt::RightEdge)) |
           (down ? down : near(pos.y(), size.height(), corner, Qt::TopEdge, Qt::BottomEdge));
}

QRect resizedGeometry(const QRect& start, Qt::Edges edges, QPoint moved, QSize minimum, const QRect& area) {
    // One axis at a time: the grabbed edge moves with the pointer, stopped by the area's edge (or
    // where it started, when that lay beyond) and by the least size against the edge that stays.
    const auto follow = [](int low, int high, int delta, bool lowGrabbed, bool highGrabbed, int least,
                           int areaLow, int areaHigh) -> std::pair<int, int> {
        if (lowGrabbed)
            low = std::min(std::max(low + delta, std::min(areaLow, low)), high - least);
        else if (highGrabbed)
            high = std::max(std::min(high + delta, std::max(areaHigh, high)), low + least);
        return {low, high};
    };
    const auto [left, right] =
        follow(start.left(), start.left() + start.width(), moved.x(), edges & Qt::LeftEdge,
               edges & Qt::RightEdge, minimum.width(), area.left(), area.left() + area.width());
    const auto [top, bottom] =
        follow(start.top(), start.top() + start.height(), moved.y(), edges & Qt::TopEdge,
               edges & Qt::BottomEdge, minimum.height(), area.top(), area.top() + area.height());
    return QRect(left, top, right - left, bottom - top);
}

} // namespace dravik::ui
