// The window at a device pixel ratio of 2 (the test runs with QT_SCALE_FACTOR=2): the same layout in
// device-independent pixels, every picture drawn from its vector source at twice the pixels, and the
// QR code on whole pixels.
#include "app/download_page.h"
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "pages/settings_tab.h"
#include "qr_check.h"
#include "storage/data_folder.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/qr_code.h"
#include "ui/tab_control.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QSvgRenderer>
#include <QTableWidget>

using namespace dravik;
using namespace dravik::test;

namespace {

// The largest difference of any colour channel between two pictures of the same size.
int largestDifference(const QImage& a, const QImage& b) {
    const QImage first = a.convertToFormat(QImage::Format_ARGB32);
    const QImage second = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            const QRgb p = first.pixel(x, y);
            const QRgb q = second.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

} // namespace

class HighDpiTest : public WindowTestCase {
    Q_OBJECT

    void startOffline() {
        window = dravik::test::startOffline(*home);
        script->clear();
        QCOMPARE(window->devicePixelRatio(), 2.0);
        // A screen of 1280 × 1024 pixels holds 640 × 512 at this ratio, less than the window's height:
        // the window has fitted itself to it (fitsTheScreen). The layout is compared at the design
        // size, as a screen of 1532 pixels or more shows it.
        window->setFixedSize(442, 766);
        QCoreApplication::processEvents();
    }

    QWidget* widget(const QString& name) const { return window->findChild<QWidget*>(name); }

private slots:
    // The screen is measured in device-independent pixels: at ratio 2 the window takes the height of
    // the screen's free area where that is less than 766, and lies inside it.
    void fitsTheScreen() {
        window = dravik::test::startOffline(*home);
        const QRect area = window->screen()->availableGeometry();
        QCOMPARE(window->size(), QSize(442, std::min(766, area.height())));
        QVERIFY2(area.contains(window->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                        .arg(window->x())
                                                                        .arg(window->y())
                                                                        .arg(window->width())
                                                                        .arg(window->height())));
        // The tab strip along the bottom shows whole.
        ui::TabControl* tabs = tabBar(*window);
        for (int i = 0; i < tabs->count(); ++i) {
            QWidget* tab = tabs->tabButton(i);
            QVERIFY(window->rect().contains(QRect(tab->mapTo(window.get(), QPoint(0, 0)), tab->size())));
        }
    }

    void twicePixels() {
        startOffline();
        const QPixmap picture = window->grab();
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        QCOMPARE(picture.size(), QSize(884, 1532));
        QCOMPARE(window->size(), QSize(442, 766));
    }

    void sameLayout_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect"); // in the window's device-independent pixels
        QTest::newRow("Image_logo") << "help"
                                    << "Image_logo" << QRect(0, 0, 50, 50);
        QTest::newRow("Button_save") << "settings"
                                     << "Button_save" << QRect(382, 0, 50, 50);
        QTest::newRow("StringGrid1") << "analysis"
                                     << "StringGrid1" << QRect(10, 50, 422, 666);
        QTest::newRow("Memo1") << "help"
                               << "Memo1" << QRect(15, 60, 412, 546);
        QTest::newRow("Button8") << "help"
                                 << "Button8" << QRect(0, 616, 442, 100);
        QTest::newRow("TabItem1") << "help"
                                  << "TabItem1" << QRect(0, 716, 110, 50);
        QTest::newRow("TabItem4") << "help"
                                  << "TabItem4" << QRect(331, 716, 111, 50);
        QTest::newRow("Button_back") << "entry"
                                     << "Button_back" << QRect(10, 0, 45, 50);
        QTest::newRow("StringGrid2") << "entry"
                                     << "StringGrid2" << QRect(10, 188, 422, 578);
    }

    void sameLayout() {
        QFETCH(QString, page);
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        startOffline();
        tabBar(*window)->setCurrentIndex(page == "help"       ? MainWindow::kHelpTab
                                         : page == "analysis" ? MainWindow::kAnalysisTab
                                                              : MainWindow::kSettingsTab);
        if (page == "entry")
            entryPage(*window)->openForArchive();
        QWidget* control = widget(name);
        QVERIFY2(control && control->isVisible(), qPrintable(name));
        QCOMPARE(QRect(control->mapTo(window.get(), QPoint(0, 0)), control->size()), rect);
    }

    void iconsAtTwicePixels_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (const char* name :
             {"Button_save", "Button_in", "Button_back", "Button_add", "Button_import", "Button_del"})
            QTest::newRow(name) << name << QSize(30, 30);
        for (const char* name : {"TabItem1", "TabItem3", "TabItem2", "TabItem4"})
            QTest::newRow(name) << name << QSize(23, 23);
        QTest::newRow("Button8") << "Button8" << QSize(70, 70);
    }

    void iconsAtTwicePixels() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        startOffline();
        auto* button = qobject_cast<QAbstractButton*>(widget(name));
        QVERIFY2(button, qPrintable(name));
        const QPixmap pixmap = button->icon().pixmap(size, button->devicePixelRatio());
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
        QCOMPARE(pixmap.size(), size * 2);
    }

    void drawnFromTheSource_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QRect>("picture"); // where the control draws it, device-independent pixels
        QTest::newRow("logo") << "analysis"
                              << "Image_logo" << ui::kLogoResource << QRect(0, 0, 50, 50);
        QTest::newRow("analysis tab") << "analysis"
                                      << "TabItem1"
                                      << ":/images/count.svg" << QRect(44, 2, 23, 23);
        QTest::newRow("data entry") << "settings"
                                    << "Button_in"
                                    << ":/images/right.svg" << QRect(12, 10, 20, 20);
    }

    // What the window shows of a picture is its SVG rendered at twice the pixels: a picture drawn at
    // half the pixels and enlarged would differ from it along every edge.
    void drawnFromTheSource() {
        QFETCH(QString, page);
        QFETCH(QString, name);
        QFETCH(QString, source);
        QFETCH(QRect, picture);
        startOffline();
        if (page == "settings")
            tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        QWidget* control = widget(name);
        control->setAttribute(Qt::WA_UnderMouse, false);
        const QImage shown = control->grab().toImage();
        const QRect devicePicture(picture.topLeft() * 2, picture.size() * 2);
        const QRgb background = shown.pixel(devicePicture.topLeft());

        QImage expected(devicePicture.size(), QImage::Format_ARGB32);
        expected.fill(background);
        QPainter painter(&expected);
        QSvgRenderer(source).render(&painter);
        painter.end();
        // Rounding of the blend differs by a level at most; an enlarged picture differs by about 100.
        const int difference = largestDifference(shown.copy(devicePicture), expected);
        QVERIFY2(difference <= 2, qPrintable(QString::number(difference)));
    }

    void qrCodeOnWholePixels() {
        startOffline();
        tabBar(*window)->setCurrentIndex(MainWindow::kHelpTab);
        control<ui::ImageButton>(helpTab(*window), "Button8")->setAttribute(Qt::WA_UnderMouse, false);
        const QImage shown = control<ui::ImageButton>(helpTab(*window), "Button8")->grab().toImage();
        const ui::QrCode code = ui::encodeQrCode(downloadPageUrl().toUtf8());
        // 140 device pixels of height for the picture: 4 a module, twice the 2 of a ratio of 1.
        const QString fault = symbolFault(shown, QRect(10, 10, 864, 140), code, 140 / code.size);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

DRAVIK_GUI_TEST_MAIN(HighDpiTest)
#include "tst_hidpi.moc"
