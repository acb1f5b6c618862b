#pragma once

#include "ui/qr_code.h"

#include <QImage>
#include <QRect>
#include <QString>

namespace dravik::test {

// Reads the QR symbol that a picture shows inside `area` (device pixels) and compares it with `code`
// pixel by pixel: the symbol must lie on whole pixels, each module `moduleSize` pixels a side, every
// pixel opaque black or white as its module, and two modules of plain background around it where the
// area has room. Returns what is wrong, or an empty text.
QString symbolFault(const QImage& picture, const QRect& area, const ui::QrCode& code, int moduleSize);

} // namespace dravik::test
