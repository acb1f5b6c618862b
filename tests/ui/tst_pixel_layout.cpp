// Controls on whole device pixels at fractional ratios: the grid step for a ratio, and a rectangle
// grown onto that grid from the window's corner.
#include "ui/pixel_layout.h"

#include <QTest>

using namespace dravik::ui;

class PixelLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void devicePixelStep_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("step");
        QTest::newRow("100 %") << 1.0 << 1;
        QTest::newRow("125 %") << 1.25 << 4;
        QTest::newRow("150 %") << 1.5 << 2;
        QTest::newRow("175 %") << 1.75 << 4;
        QTest::newRow("200 %") << 2.0 << 1;
        QTest::newRow("225 %") << 2.25 << 4;
        QTest::newRow("250 %") << 2.5 << 2;
        QTest::newRow("112.5 %") << 1.125 << 8;
        QTest::newRow("a third more") << 4.0 / 3.0 << 3;
        QTest::newRow("no step up to 8") << 1.1 << 1;
    }

    void devicePixelStep() {
        QFETCH(qreal, ratio);
        QFETCH(int, step);
        QCOMPARE(dravik::ui::devicePixelStep(ratio), step);
    }

    void onDevicePixels_data() {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QPoint>("origin");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QRect>("placed");
        // The import dialog's 取消 and 号码取 list as Qt's layout places them: on odd pixels.
        QTest::newRow("取消 at 125 %")
            << QRect(329, 525, 80, 24) << QPoint() << 1.25 << QRect(328, 524, 84, 28);
        QTest::newRow("list at 125 %")
            << QRect(281, 427, 128, 24) << QPoint() << 1.25 << QRect(280, 424, 132, 28);
        QTest::newRow("on the grid already")
            << QRect(280, 424, 128, 24) << QPoint() << 1.25 << QRect(280, 424, 128, 24);
        QTest::newRow("取消 at 150 %")
            << QRect(329, 525, 80, 24) << QPoint() << 1.5 << QRect(328, 524, 82, 26);
        QTest::newRow("取消 at 175 %")
            << QRect(329, 525, 80, 24) << QPoint() << 1.75 << QRect(328, 524, 84, 28);
        QTest::newRow("whole ratio: unchanged")
            << QRect(329, 525, 80, 24) << QPoint() << 2.0 << QRect(329, 525, 80, 24);
        QTest::newRow("no grid: unchanged")
            << QRect(329, 525, 80, 24) << QPoint() << 1.1 << QRect(329, 525, 80, 24);
        // In a parent whose corner is at 3,5 of the window: the window's corner is at -3,-5 in it.
        QTest::newRow("in a parent") << QRect(1, 3, 10, 10) << QPoint(-3, -5) << 1.25 << QRect(1, 3, 12, 12);
        QTest::newRow("left of the window")
            << QRect(-5, -5, 6, 6) << QPoint() << 1.25 << QRect(-8, -8, 12, 12);
    }

    void onDevicePixels() {
        QFETCH(QRect, rect);
        QFETCH(QPoint, origin);
        QFETCH(qreal, ratio);
        QFETCH(QRect, placed);
        const QRect result = dravik::ui::onDevicePixels(rect, origin, ratio);
        QCOMPARE(result, placed);
        QVERIFY(result.contains(rect));
    }
};

QTEST_APPLESS_MAIN(PixelLayoutTest)
#include "tst_pixel_layout.moc"
