#include "ui/qr_code.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <qrencode.h>

namespace dravik::ui {

QrCode encodeQrCode(const QByteArray& bytes) {
    QrCode code;
    QRcode* symbol = QRcode_encodeData(
        int(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData()), 0, QR_ECLEVEL_M);
    if (!symbol)
        return code;
    code.size = symbol->width;
    code.dark.resize(std::size_t(code.size) * std::size_t(code.size));
    // The library packs flags into each byte; the lowest bit is the module's colour.
    for (std::size_t i = 0; i < code.dark.size(); ++i)
        code.dark[i] = (symbol->data[i] & 1) != 0;
    QRcode_free(symbol);
    return code;
}

QrPlacement placeQrCode(const QRectF& deviceArea, int modules) {
    QrPlacement placement;
    if (modules <= 0)
        return placement;
    const int side = int(std::floor(std::min(deviceArea.width(), deviceArea.height()) + 1e-6));
    placement.moduleSize = side / modules;
    const int extent = placement.moduleSize * modules;
    placement.origin = QPoint(int(std::lround(deviceArea.center().x() - extent / 2.0)),
                              int(std::lround(deviceArea.center().y() - extent / 2.0)));
    return placement;
}

namespace {

// Fills the dark modules of each row as runs, `module` units a side, from (`left`, `top`).
template <typename Rect, typename Unit>
void fillModules(QPainter& painter, const QrCode& code, Unit left, Unit top, Unit module) {
    const Unit extent = module * code.size;
    painter.fillRect(Rect(left, top, extent, extent), Qt::white);
    for (int y = 0; y < code.size; ++y) {
        int x = 0;
        while (x < code.size) {
            if (!code.isDark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < code.size && code.isDark(x, y))
                ++x;
            painter.fillRect(Rect(left + module * start, top + module * y, module * (x - start), module),
                             Qt::black);
        }
    }
}

} // namespace

void paintQrCode(QPainter& painter, const QRectF& area, const QrCode& code) {
    if (code.size == 0 || area.isEmpty())
        return;
    const QTransform toDevice = painter.deviceTransform();
    if (toDevice.type() <= QTransform::TxScale) {
        const QrPlacement placement = placeQrCode(toDevice.mapRect(area), code.size);
        if (placement.moduleSize > 0) {
            // Draw in device pixels: whatever the scale, each module covers whole pixels only, so
            // there are no blurred edges to spoil the scan.
            painter.save();
            painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
            painter.setRenderHint(QPainter::Antialiasing, false);
            fillModules<QRect>(painter, code, placement.origin.x(), placement.origin.y(),
                               placement.moduleSize);
            painter.restore();
            return;
        }
    }
    // Rotated, or smaller than a pixel a module: the best a fraction of a pixel can do.
    const qreal module = std::min(area.width(), area.height()) / code.size;
    const qreal extent = module * code.size;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    fillModules<QRectF>(painter, code, area.center().x() - extent / 2, area.center().y() - extent / 2,
                        module);
    painter.restore();
}

namespace {

class QrIconEngine : public QIconEngine {
public:
    explicit QrIconEngine(QrCode code) : code_(std::move(code)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        paintQrCode(*painter, rect, code_);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return picture;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new QrIconEngine(code_); }
    QString key() const override { return QStringLiteral("dravik-qr"); }
    bool isNull() override { return code_.size == 0; }

private:
    QrCode code_;
};

} // namespace

QIcon qrCodeIcon(const QByteArray& bytes) {
    return QIcon(new QrIconEngine(encodeQrCode(bytes)));
}

} // namespace dravik::ui
