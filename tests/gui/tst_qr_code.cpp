// The help tab's QR code: the download button shows the symbol of the download page module for module, on whole
// pixels.
#include "app/download_page.h"
#include "gui_harness.h"
#include "qr_check.h"
#include "storage/data_folder.h"
#include "ui/image_button.h"
#include "ui/qr_code.h"
#include "ui/tab_control.h"

using namespace dravik;
using namespace dravik::test;

class QrCodeTest : public QObject {
    Q_OBJECT

private slots:
    void buttonShowsTheSymbol() {
        DataHome home;
        dialogs::Script script;
        std::unique_ptr<MainWindow> window = dravik::test::startOffline(home);
        tabBar(*window)->setCurrentIndex(MainWindow::kHelpTab);
        QCOMPARE(control<ui::ImageButton>(helpTab(*window), "Button8")->text(),
                 QStringLiteral("点击检查更新或扫码下载安卓版本"));
        control<ui::ImageButton>(helpTab(*window), "Button8")
            ->setAttribute(Qt::WA_UnderMouse,
                           false); // the pointer's hover fades the picture

        const qreal ratio = window->devicePixelRatio();
        const QImage picture = control<ui::ImageButton>(helpTab(*window), "Button8")->grab().toImage();
        QCOMPARE(picture.size(), QSize(qRound(442 * ratio), qRound(100 * ratio)));
        // The picture fills the button above the caption row, 5 from the edges.
        const QRect pictureArea = QRectF(5 * ratio, 5 * ratio, 432 * ratio, 70 * ratio).toRect();
        const ui::QrCode code = ui::encodeQrCode(downloadPageUrl().toUtf8());
        const int moduleSize = int(70 * ratio) / code.size;
        QVERIFY(moduleSize >= 2);
        const QString fault = symbolFault(picture, pictureArea, code, moduleSize);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

DRAVIK_GUI_TEST_MAIN(QrCodeTest)
#include "tst_qr_code.moc"
