// The kit's QR code: the symbol as libqrencode makes it, placed on whole pixels, and the picture list's
// entry 2 drawing the text it was given at any size and ratio.
#include "qr_check.h"
#include "ui/image_list.h"
#include "ui/qr_code.h"

#include <QPainter>
#include <QtTest>
#include <qrencode.h>

using namespace dravik;
using namespace dravik::test;

namespace {

// The text the window gives the picture list: its download page, as built by default.
const QByteArray kDownloadPage("https://github.com/dravik-app/dravik");

// The library's own symbol, read straight from its data.
ui::QrCode librarySymbol(const QByteArray& bytes) {
    ui::QrCode code;
    QRcode* symbol = QRcode_encodeData(
        int(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData()), 0, QR_ECLEVEL_M);
    if (!symbol)
        return code;
    code.size = symbol->width;
    for (int i = 0; i < symbol->width * symbol->width; ++i)
        code.dark.push_back(symbol->data[i] & 1);
    QRcode_free(symbol);
    return code;
}

// A finder pattern: a dark 7×7 ring, a light ring, a dark 3×3 centre.
bool hasFinderAt(const ui::QrCode& code, int left, int top) {
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int ring = std::min(std::min(x, y), std::min(6 - x, 6 - y));
            if (code.isDark(left + x, top + y) != (ring != 1))
                return false;
        }
    }
    return true;
}

} // namespace

class QrCodeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::ensurePictures(QString::fromUtf8(kDownloadPage)); }

    void encodesAsTheLibrary_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("size");
        QTest::newRow("short") << QByteArray("https://a.io") << 21;
        QTest::newRow("download page") << kDownloadPage << 0;
        QTest::newRow("Chinese") << QStringLiteral("南粤风采好彩1").toUtf8() << 25;
        QTest::newRow("long") << QByteArray(300, 'x') << 0;
    }

    void encodesAsTheLibrary() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, size);
        const ui::QrCode code = ui::encodeQrCode(bytes);
        const ui::QrCode expected = librarySymbol(bytes);
        QVERIFY(expected.size >= 21);
        QCOMPARE(code.size, expected.size);
        if (size)
            QCOMPARE(code.size, size);
        QVERIFY(code.dark == expected.dark);
        QVERIFY(hasFinderAt(code, 0, 0));
        QVERIFY(hasFinderAt(code, code.size - 7, 0));
        QVERIFY(hasFinderAt(code, 0, code.size - 7));
    }

    void tooLongIsEmpty() {
        const QByteArray bytes(5000, 'x');
        QCOMPARE(ui::encodeQrCode(bytes).size, 0);
        QVERIFY(ui::qrCodeIcon(bytes).isNull());
    }

    void placement_data() {
        QTest::addColumn<QRectF>("area");
        QTest::addColumn<int>("modules");
        QTest::addColumn<int>("moduleSize");
        QTest::addColumn<QPoint>("origin");
        // The download button's picture area at ratios 1, 1.5 and 2.
        QTest::newRow("ratio 1") << QRectF(5, 5, 432, 70) << 29 << 2 << QPoint(192, 11);
        QTest::newRow("ratio 1.5") << QRectF(7.5, 7.5, 648, 105) << 29 << 3 << QPoint(288, 17);
        QTest::newRow("ratio 2") << QRectF(10, 10, 864, 140) << 29 << 4 << QPoint(384, 22);
        QTest::newRow("exact fit") << QRectF(0, 0, 29, 29) << 29 << 1 << QPoint(0, 0);
        QTest::newRow("fraction short") << QRectF(0, 0, 57.9, 57.9) << 29 << 1 << QPoint(14, 14);
        QTest::newRow("too small") << QRectF(0, 0, 20, 20) << 29 << 0 << QPoint(10, 10);
    }

    void placement() {
        QFETCH(QRectF, area);
        QFETCH(int, modules);
        QFETCH(int, moduleSize);
        QFETCH(QPoint, origin);
        const ui::QrPlacement placement = ui::placeQrCode(area, modules);
        QCOMPARE(placement.moduleSize, moduleSize);
        QCOMPARE(placement.origin, origin);
    }

    // Drawn into pictures of any size and ratio, the symbol lands on whole pixels.
    void iconAtAnySize_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("70 at 1") << 70 << 1.0;
        QTest::newRow("70 at 2") << 70 << 2.0;
        QTest::newRow("70 at 1.25") << 70 << 1.25;
        QTest::newRow("333 at 1") << 333 << 1.0;
    }

    void iconAtAnySize() {
        QFETCH(int, side);
        QFETCH(qreal, ratio);
        const ui::QrCode code = ui::encodeQrCode(kDownloadPage);
        const QPixmap pixmap = ui::imageIcon(ui::kImageUrl).pixmap(QSize(side, side), ratio);
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
        const int pixels = qRound(side * ratio);
        QCOMPARE(pixmap.size(), QSize(pixels, pixels));
        const QString fault =
            symbolFault(pixmap.toImage(), QRect(0, 0, pixels, pixels), code, pixels / code.size);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));

        // Painted straight onto a device with that ratio, as a widget paints it.
        QImage canvas(pixels, pixels, QImage::Format_ARGB32);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        ui::imageIcon(ui::kImageUrl).paint(&painter, QRect(0, 0, side, side));
        painter.end();
        const QString painted = symbolFault(canvas, canvas.rect(), code, pixels / code.size);
        QVERIFY2(painted.isEmpty(), qPrintable(painted));
    }
};

QTEST_MAIN(QrCodeTest)
#include "tst_qr_code.moc"
