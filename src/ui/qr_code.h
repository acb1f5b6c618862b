#pragma once

#include <QByteArray>
#include <QIcon>
#include <QPoint>
#include <QRectF>
#include <vector>

class QPainter;

namespace dravik::ui {

// The modules of a QR code symbol, row by row; `size` modules a side, no quiet zone. A text that
// cannot be encoded gives the empty symbol (size 0).
struct QrCode {
    int size = 0;
    std::vector<bool> dark;

    bool isDark(int x, int y) const { return dark[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
};

// Encodes the bytes (UTF-8 for a text) at error correction level M, the smallest version that holds them.
QrCode encodeQrCode(const QByteArray& bytes);

// Where a symbol of `modules` modules a side goes in an area given in device pixels: a whole number of
// device pixels per module, so that every module edge lies on a pixel edge, centred. `moduleSize` is 0
// when the area is narrower than one pixel per module.
struct QrPlacement {
    int moduleSize = 0;
    QPoint origin;
};
QrPlacement placeQrCode(const QRectF& deviceArea, int modules);

// Paints the symbol into `area` (logical coordinates of the painter): dark modules as filled squares on
// pixel edges, on a white square of the symbol's size. The white around it is the caller's quiet zone.
void paintQrCode(QPainter& painter, const QRectF& area, const QrCode& code);

// An icon that draws the symbol at whatever size and pixel ratio it is asked for.
QIcon qrCodeIcon(const QByteArray& bytes);

} // namespace dravik::ui
