// Where the window goes on a screen: its size cut down to the screen's free area, centred in it, kept
// inside it while it is dragged, a kept place taken only where a screen holds it, and the frame's edges
// that resize it.
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

    void areaHolding_data() {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("index");
        QTest::newRow("on the first screen") << QRect(100, 100, 742, 966) << 0;
        QTest::newRow("the whole of the first") << QRect(0, 0, 1920, 1160) << 0;
        QTest::newRow("on the second screen") << QRect(2000, 100, 442, 766) << 1;
        QTest::newRow("over the task bar") << QRect(100, 400, 442, 766) << -1;
        QTest::newRow("across both screens") << QRect(1700, 100, 442, 766) << -1;
        QTest::newRow("where a screen was") << QRect(-1500, 0, 442, 766) << -1;
    }

    void areaHolding() {
        QFETCH(QRect, geometry);
        QFETCH(int, index);
        const QList<QRect> areas{QRect(0, 0, 1920, 1160), QRect(1920, 0, 1280, 1024)};
        QCOMPARE(dravik::ui::areaHolding(geometry, areas), index);
    }

    void edgesAt_data() {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<Qt::Edges>("edges");
        QTest::newRow("inside") << QPoint(200, 300) << Qt::Edges();
        QTest::newRow("left edge") << QPoint(0, 300) << Qt::Edges(Qt::LeftEdge);
        QTest::newRow("just inside the left border") << QPoint(5, 300) << Qt::Edges(Qt::LeftEdge);
        QTest::newRow("past the left border") << QPoint(6, 300) << Qt::Edges();
        QTest::newRow("right edge") << QPoint(441, 300) << Qt::Edges(Qt::RightEdge);
        QTest::newRow("top edge") << QPoint(200, 0) << Qt::Edges(Qt::TopEdge);
        QTest::newRow("bottom edge") << QPoint(200, 765) << Qt::Edges(Qt::BottomEdge);
        QTest::newRow("bottom-right corner") << QPoint(441, 765) << (Qt::BottomEdge | Qt::RightEdge);
        QTest::newRow("bottom edge near the right corner")
            << QPoint(430, 764) << Qt::Edges(Qt::BottomEdge | Qt::RightEdge);
        QTest::newRow("right edge near the top corner") << QPoint(440, 12) << (Qt::TopEdge | Qt::RightEdge);
        QTest::newRow("top edge near the left corner") << QPoint(3, 2) << (Qt::TopEdge | Qt::LeftEdge);
        QTest::newRow("bottom edge past the corner's reach") << QPoint(425, 765) << Qt::Edges(Qt::BottomEdge);
        QTest::newRow("outside") << QPoint(442, 300) << Qt::Edges();
        QTest::newRow("above") << QPoint(200, -1) << Qt::Edges();
    }

    void edgesAt() {
        QFETCH(QPoint, pos);
        QFETCH(Qt::Edges, edges);
        QCOMPARE(dravik::ui::edgesAt(pos, QSize(442, 766), 6, 16), edges);
    }

    void resizedGeometry_data() {
        QTest::addColumn<Qt::Edges>("edges");
        QTest::addColumn<QPoint>("moved");
        QTest::addColumn<QRect>("geometry");
        const auto edges = [](Qt::Edges e) { return e; };
        // A window of 442 × 766 at (419, 129) on a 1920 × 1200 screen.
        QTest::newRow("bottom-right by 300 × 200")
            << edges(Qt::BottomEdge | Qt::RightEdge) << QPoint(300, 200) << QRect(419, 129, 742, 966);
        QTest::newRow("right edge only moves sideways")
            << edges(Qt::RightEdge) << QPoint(100, 50) << QRect(419, 129, 542, 766);
        QTest::newRow("left edge") << edges(Qt::LeftEdge) << QPoint(-100, 0) << QRect(319, 129, 542, 766);
        QTest::newRow("top-left corner")
            << edges(Qt::TopEdge | Qt::LeftEdge) << QPoint(-19, -29) << QRect(400, 100, 461, 795);
        QTest::newRow("never below the least size")
            << edges(Qt::BottomEdge | Qt::RightEdge) << QPoint(-300, -200) << QRect(419, 129, 442, 766);
        QTest::newRow("left edge stops at the least size")
            << edges(Qt::LeftEdge) << QPoint(100, 0) << QRect(419, 129, 442, 766);
        QTest::newRow("stops at the screen's bottom")
            << edges(Qt::BottomEdge) << QPoint(0, 900) << QRect(419, 129, 442, 1071);
        QTest::newRow("stops at the screen's left")
            << edges(Qt::LeftEdge) << QPoint(-900, 0) << QRect(0, 129, 861, 766);
        QTest::newRow("nothing grabbed") << edges({}) << QPoint(50, 50) << QRect(419, 129, 442, 766);
    }

    void resizedGeometry() {
        QFETCH(Qt::Edges, edges);
        QFETCH(QPoint, moved);
        QFETCH(QRect, geometry);
        QCOMPARE(dravik::ui::resizedGeometry(QRect(419, 129, 442, 766), edges, moved, QSize(442, 766),
                                             QRect(0, 0, 1920, 1200)),
                 geometry);
    }

    // A window that already lies past the area's edge (a screen that shrank) is not pulled in by a
    // grab of that edge, only kept from going further.
    void resizedOutsideTheArea() {
        QCOMPARE(dravik::ui::resizedGeometry(QRect(900, 0, 500, 700), Qt::RightEdge, QPoint(-20, 0),
                                             QSize(442, 700), QRect(0, 0, 1280, 720)),
                 QRect(900, 0, 480, 700));
        QCOMPARE(dravik::ui::resizedGeometry(QRect(900, 0, 500, 700), Qt::RightEdge, QPoint(20, 0),
                                             QSize(442, 700), QRect(0, 0, 1280, 720)),
                 QRect(900, 0, 500, 700));
    }
};

QTEST_APPLESS_MAIN(WindowFitTest)
#include "tst_window_fit.moc"
