// Where the window goes on a screen: its size cut down to the screen's free area, centred in it, and
// kept inside it while it is dragged.
#include "ui/window_fit.h"

#include <QTest>

using namespace dravik::ui;

class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void fittedSize_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QSize>("size");
        const QSize designed(442, 766);
        QTest::newRow("room to spare") << QRect(0, 0, 1280, 1024) << designed;
        QTest::newRow("exactly the height") << QRect(0, 0, 1366, 766) << designed;
        QTest::newRow("1366x768 above a task bar") << QRect(0, 0, 1366, 728) << QSize(442, 728);
        QTest::newRow("1920x1080 at 150 %") << QRect(0, 0, 1280, 720) << QSize(442, 720);
        QTest::newRow("panel at the top") << QRect(0, 27, 1366, 673) << QSize(442, 673);
        QTest::newRow("narrow and short") << QRect(0, 0, 400, 600) << QSize(400, 600);
        QTest::newRow("second screen") << QRect(1920, -200, 800, 700) << QSize(442, 700);
    }

    void fittedSize() {
        QFETCH(QRect, area);
        QFETCH(QSize, size);
        QCOMPARE(dravik::ui::fittedSize(QSize(442, 766), area), size);
    }

    void centredIn_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("room to spare") << QSize(442, 766) << QRect(0, 0, 1280, 1024) << QPoint(419, 129);
        QTest::newRow("odd difference") << QSize(442, 766) << QRect(0, 0, 1281, 1025) << QPoint(419, 129);
        QTest::newRow("as high as the area") << QSize(442, 700) << QRect(0, 0, 1366, 700) << QPoint(462, 0);
        QTest::newRow("area not at the origin")
            << QSize(442, 673) << QRect(0, 27, 1366, 673) << QPoint(462, 27);
        QTest::newRow("screen left of the primary")
            << QSize(442, 766) << QRect(-1280, 0, 1280, 1024) << QPoint(-861, 129);
        QTest::newRow("wider than the area") << QSize(442, 500) << QRect(100, 0, 400, 600) << QPoint(100, 50);
    }

    void centredIn() {
        QFETCH(QSize, size);
        QFETCH(QRect, area);
        QFETCH(QPoint, topLeft);
        QCOMPARE(dravik::ui::centredIn(size, area), topLeft);
    }

    void keptInside_data() {
        QTest::addColumn<QPoint>("wanted");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("topLeft");
        const QSize window(442, 700);
        const QRect area(0, 0, 1366, 700);
        QTest::newRow("inside") << QPoint(300, 0) << window << area << QPoint(300, 0);
        QTest::newRow("off the bottom") << QPoint(300, 40) << window << area << QPoint(300, 0);
        QTest::newRow("off the top") << QPoint(300, -40) << window << area << QPoint(300, 0);
        QTest::newRow("off the left") << QPoint(-10, 0) << window << area << QPoint(0, 0);
        QTest::newRow("off the right") << QPoint(1000, 0) << window << area << QPoint(924, 0);
        QTest::newRow("right edge exactly") << QPoint(924, 0) << window << area << QPoint(924, 0);
        QTest::newRow("corner") << QPoint(5000, 5000) << QSize(442, 600) << area << QPoint(924, 100);
        QTest::newRow("area not at the origin")
            << QPoint(0, 0) << QSize(442, 600) << QRect(0, 27, 1366, 673) << QPoint(0, 27);
        QTest::newRow("screen left of the primary")
            << QPoint(-100, 500) << QSize(442, 766) << QRect(-1280, 0, 1280, 1024) << QPoint(-442, 258);
        QTest::newRow("larger than the area")
            << QPoint(50, 50) << QSize(442, 766) << QRect(10, 20, 400, 600) << QPoint(10, 20);
    }

    void keptInside() {
        QFETCH(QPoint, wanted);
        QFETCH(QSize, size);
        QFETCH(QRect, area);
        QFETCH(QPoint, topLeft);
        QCOMPARE(dravik::ui::keptInside(wanted, size, area), topLeft);
    }
};

QTEST_APPLESS_MAIN(WindowFitTest)
#include "tst_window_fit.moc"
