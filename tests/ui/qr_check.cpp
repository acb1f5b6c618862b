#include "qr_check.h"

#include <optional>

namespace dravik::test {

namespace {

bool looksDark(QRgb pixel) {
    return qAlpha(pixel) > 0x80 && qGray(pixel) < 0x80;
}

} // namespace

QString symbolFault(const QImage& picture, const QRect& area, const ui::QrCode& code, int moduleSize) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRect inside = area.intersected(image.rect());
    QRect bounds;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (looksDark(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    const int extent = code.size * moduleSize;
    if (bounds.size() != QSize(extent, extent))
        return QStringLiteral("symbol spans %1×%2 pixels, not %3")
            .arg(bounds.width())
            .arg(bounds.height())
            .arg(extent);
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            const int column = (x - bounds.left()) / moduleSize;
            const int row = (y - bounds.top()) / moduleSize;
            const QRgb expected = code.isDark(column, row) ? qRgb(0, 0, 0) : qRgb(0xFF, 0xFF, 0xFF);
            if (image.pixel(x, y) != expected)
                return QStringLiteral("pixel (%1,%2) of module (%3,%4) is #%5")
                    .arg(x)
                    .arg(y)
                    .arg(column)
                    .arg(row)
                    .arg(image.pixel(x, y), 8, 16, QLatin1Char('0'));
        }
    }
    // Around the symbol: the plain background, no blurred edge.
    const QRect margin =
        bounds.adjusted(-2 * moduleSize, -2 * moduleSize, 2 * moduleSize, 2 * moduleSize) & inside;
    std::optional<QRgb> background;
    for (int y = margin.top(); y <= margin.bottom(); ++y) {
        for (int x = margin.left(); x <= margin.right(); ++x) {
            if (bounds.contains(x, y))
                continue;
            const QRgb pixel = image.pixel(x, y);
            if (!background)
                background = pixel;
            if (pixel != *background)
                return QStringLiteral("pixel (%1,%2) beside the symbol is #%3")
                    .arg(x)
                    .arg(y)
                    .arg(pixel, 8, 16, QLatin1Char('0'));
        }
    }
    return {};
}

} // namespace dravik::test
