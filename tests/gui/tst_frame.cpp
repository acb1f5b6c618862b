// The window as a window: its edges and corners resize it with the pointer (the test's X server has no
// window manager, so the window follows the pointer itself), never below the size it opened at; the
// header maximises and restores it; every page grows with it; and window.ini keeps its place for the
// next start, unless no screen holds it any more.
#include "gui_harness.h"
#include "storage/data_folder.h"
#include "storage/window_state.h"
#include "ui/window_frame.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>

using namespace dravik;
using namespace dravik::test;

namespace {

// A pointer event at a point of the window (its coordinates), sent to the widget there, as the X
// server's would be.
void sendMouse(QWidget* window, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QWidget* target = window->childAt(at);
    if (!target)
        target = window;
    const QPoint global = window->mapToGlobal(at);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, buttons, {});
    QApplication::sendEvent(target, &event);
}

// Pressed at `from`, moved by `by` in two steps, released there.
void drag(QWidget* window, QPoint from, QPoint by) {
    sendMouse(window, QEvent::MouseButtonPress, from, Qt::LeftButton);
    const QPoint start = window->pos();
    sendMouse(window, QEvent::MouseMove, from + by / 2 - (window->pos() - start), Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, from + by - (window->pos() - start), Qt::LeftButton);
    sendMouse(window, QEvent::MouseButtonRelease, from + by - (window->pos() - start), Qt::NoButton);
}
} // namespace

class FrameTest : public WindowTestCase {
    Q_OBJECT

    void start() {
        window = startOffline(*home);
        script->clear();
    }

    ui::WindowFrame* frame() const { return ui::WindowFrame::of(window.get()); }
    QRect area() const { return window->screen()->availableGeometry(); }

    // The header's menu, its entries read, and one of them picked (none: closed as Esc closes it).
    QStringList useMenu(const QString& entry) {
        QStringList entries;
        QTimer::singleShot(0, window.get(), [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* action : menu->actions())
                entries.append(action->text());
            for (QAction* action : menu->actions()) {
                if (action->text() == entry) {
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                    return;
                }
            }
            menu->close();
        });
        QWidget* top = header(*window);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(221, 25), top->mapToGlobal(QPoint(221, 25)));
        QApplication::sendEvent(top, &event);
        return entries;
    }

private slots:
    // A drag of an edge or a corner moves that edge or corner with the pointer, the others stay; the
    // window gets no smaller than it opened, nor larger than the screen's free area (1280 × 1024).
    void edgesResize_data() {
        QTest::addColumn<QPoint>("from"); // in the window, 442 × 766
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<QRect>("change"); // of the geometry: left, top, width, height
        QTest::newRow("bottom-right corner") << QPoint(440, 764) << QPoint(300, 100) << QRect(0, 0, 300, 100);
        QTest::newRow("bottom edge, over a tab") << QPoint(160, 763) << QPoint(50, 60) << QRect(0, 0, 0, 60);
        QTest::newRow("right edge") << QPoint(438, 650) << QPoint(120, 7) << QRect(0, 0, 120, 0);
        QTest::newRow("left edge") << QPoint(1, 300) << QPoint(-90, 0) << QRect(-90, 0, 90, 0);
        QTest::newRow("top edge, over the header")
            << QPoint(200, 2) << QPoint(0, -80) << QRect(0, -80, 0, 80);
        QTest::newRow("top-left corner") << QPoint(2, 2) << QPoint(-40, -30) << QRect(-40, -30, 40, 30);
        QTest::newRow("corner reached along the bottom edge")
            << QPoint(430, 765) << QPoint(20, 20) << QRect(0, 0, 20, 20);
        QTest::newRow("never smaller than it opened")
            << QPoint(440, 764) << QPoint(-200, -300) << QRect(0, 0, 0, 0);
        QTest::newRow("left edge pushed right") << QPoint(1, 300) << QPoint(100, 0) << QRect(0, 0, 0, 0);
        QTest::newRow("no further than the free area")
            << QPoint(440, 764) << QPoint(3000, 3000) << QRect(0, 0, 1280 - 861, 1024 - 895);
        QTest::newRow("inside: no resize") << QPoint(200, 400) << QPoint(50, 50) << QRect(0, 0, 0, 0);
    }

    void edgesResize() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, by);
        QFETCH(QRect, change);
        start();
        const QRect before = window->geometry();
        QCOMPARE(before, QRect(419, 129, 442, 766));
        drag(window.get(), from, by);
        const QRect expected(before.x() + change.x(), before.y() + change.y(),
                             before.width() + change.width(), before.height() + change.height());
        QCOMPARE(window->geometry(), expected);
    }

    // The pointer shows which edges it would grab, and the widgets' own cursors elsewhere; a press on
    // an edge belongs to the frame, not to the control beneath it.
    void edgeCursor_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("shape"); // -1: no cursor of the frame's
        QTest::newRow("inside") << QPoint(200, 400) << -1;
        QTest::newRow("right edge") << QPoint(439, 400) << int(Qt::SizeHorCursor);
        QTest::newRow("bottom edge") << QPoint(200, 764) << int(Qt::SizeVerCursor);
        QTest::newRow("bottom-right corner") << QPoint(441, 765) << int(Qt::SizeFDiagCursor);
        QTest::newRow("top-right corner") << QPoint(438, 1) << int(Qt::SizeBDiagCursor);
        QTest::newRow("bottom-left corner") << QPoint(10, 764) << int(Qt::SizeBDiagCursor);
    }

    void edgeCursor() {
        QFETCH(QPoint, at);
        QFETCH(int, shape);
        start();
        sendMouse(window.get(), QEvent::MouseMove, at, Qt::NoButton);
        const QCursor* cursor = QApplication::overrideCursor();
        QCOMPARE(cursor ? int(cursor->shape()) : -1, shape);
        // Back inside, the frame's cursor is gone.
        sendMouse(window.get(), QEvent::MouseMove, QPoint(200, 400), Qt::NoButton);
        QVERIFY(!QApplication::overrideCursor());
    }

    // A grab whose release never came (the pointer taken by another program) ends at the next move
    // without the button: the window does not follow a pointer that no longer drags it.
    void grabEndsWithTheButton() {
        start();
        const QRect before = window->geometry();
        sendMouse(window.get(), QEvent::MouseButtonPress, QPoint(440, 764), Qt::LeftButton);
        sendMouse(window.get(), QEvent::MouseMove, QPoint(460, 784), Qt::LeftButton);
        QCOMPARE(window->size(), before.size() + QSize(20, 20));
        sendMouse(window.get(), QEvent::MouseMove, QPoint(500, 800), Qt::NoButton);
        sendMouse(window.get(), QEvent::MouseMove, QPoint(560, 850), Qt::NoButton);
        QCOMPARE(window->size(), before.size() + QSize(20, 20));
    }

    void pressOnTheEdgeIsTheFrames() {
        start();
        ui::TabControl* tabs = tabBar(*window);
        const QPoint strip = tabs->tabButton(MainWindow::kHelpTab)->mapTo(window.get(), QPoint(55, 0));
        sendMouse(window.get(), QEvent::MouseButtonPress, QPoint(strip.x(), 764), Qt::LeftButton);
        sendMouse(window.get(), QEvent::MouseButtonRelease, QPoint(strip.x(), 764), Qt::NoButton);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kAnalysisTab));
        // Above the edge's band, the tab takes the click.
        sendMouse(window.get(), QEvent::MouseButtonPress, QPoint(strip.x(), 740), Qt::LeftButton);
        sendMouse(window.get(), QEvent::MouseButtonRelease, QPoint(strip.x(), 740), Qt::NoButton);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kHelpTab));
    }

    // A double-click on the header outside the logo maximises the window to the screen's free area
    // and another restores it where it was; a maximised window neither moves nor resizes.
    void headerDoubleClickMaximises_data() {
        QTest::addColumn<QPoint>("at"); // in the header
        QTest::newRow("the title") << QPoint(221, 25);
        QTest::newRow("beside the logo") << QPoint(80, 25);
        QTest::newRow("right of the title") << QPoint(400, 40);
    }

    void headerDoubleClickMaximises() {
        QFETCH(QPoint, at);
        start();
        window->setGeometry(100, 80, 500, 800);
        const QRect normal = window->geometry();
        QTest::mouseDClick(header(*window), Qt::LeftButton, {}, at);
        QCOMPARE(window->geometry(), area());
        QVERIFY(frame()->isMaximized());
        // Maximised: the header does not drag it, the edges do not resize it.
        drag(window.get(), QPoint(200, 25), QPoint(40, 40));
        QCOMPARE(window->geometry(), area());
        drag(window.get(), QPoint(area().width() - 2, area().height() - 2), QPoint(-100, -100));
        QCOMPARE(window->geometry(), area());
        QTest::mouseDClick(header(*window), Qt::LeftButton, {}, at);
        QCOMPARE(window->geometry(), normal);
        QVERIFY(!frame()->isMaximized());
        QVERIFY(window->isVisible());
    }

    // The header's menu offers 最大化 first, and 还原 once maximised.
    void headerMenuMaximises() {
        start();
        const QRect normal = window->geometry();
        QCOMPARE(useMenu(QStringLiteral("最大化")), (QStringList{"最大化", "最小化", "退出"}));
        QCOMPARE(window->geometry(), area());
        QCOMPARE(useMenu(QStringLiteral("还原")), (QStringList{"还原", "最小化", "退出"}));
        QCOMPARE(window->geometry(), normal);
        QCOMPARE(useMenu(QString()), (QStringList{"最大化", "最小化", "退出"}));
        QCOMPARE(window->geometry(), normal);
        QVERIFY(script->shown().isEmpty());
    }

    // The data-entry page's header is a header too.
    void entryHeaderMaximises() {
        start();
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        entryPage(*window)->openForArchive();
        QTest::mouseDClick(control<QWidget>(entryPage(*window), "Layout2"), Qt::LeftButton, {},
                           QPoint(221, 25));
        QCOMPARE(window->geometry(), area());
    }

    // Every page uses the room of a larger window: nothing stays placed for 442 pixels.
    void pagesGrow() {
        start();
        window->setGeometry(20, 10, 1000, 1000);
        const auto placed = [this](const char* name) {
            auto* widget = control<QWidget>(window.get(), name);
            return QRect(widget->mapTo(window.get(), QPoint(0, 0)), widget->size());
        };
        const auto show = [this](int tab) {
            tabBar(*window)->setCurrentIndex(tab);
            QCoreApplication::processEvents();
        };
        show(MainWindow::kAnalysisTab);
        QCOMPARE(placed("StringGrid1"), QRect(10, 50, 980, 900));
        QCOMPARE(control<QTableView>(window.get(), "StringGrid1")->columnWidth(0), 980 - 136);
        show(MainWindow::kTrendTab);
        QCOMPARE(placed("Grid_trend"), QRect(10, 94, 980, 900 - 44 - 134 - 4 - 44 - 4 - 38));
        QCOMPARE(placed("Grid_footer").width(), 980);
        QCOMPARE(placed("Label_check").width(), 980);
        show(MainWindow::kSettingsTab);
        QCOMPARE(placed("ListBox2"), QRect(10, 50, 980, 900));
        QCOMPARE(placed("Edit_x").right(), 1000 - 10 - 10 - 1);
        show(MainWindow::kHelpTab);
        QCOMPARE(placed("Memo1"), QRect(15, 60, 970, 900 - 120));
        QCOMPARE(placed("Button8"), QRect(0, 850, 1000, 100));
        QCOMPARE(placed("Button_save"), QRect(940, 0, 50, 50));
        QCOMPARE(placed("TabItem4"), QRect(750, 950, 250, 50));
        entryPage(*window)->openForArchive();
        QCoreApplication::processEvents();
        QCOMPARE(placed("StringGrid2"), QRect(10, 188, 980, 1000 - 188));
        QCOMPARE(placed("Edit_hm").right(), 1000 - 10 - 10 - 1);
    }

    // Closing keeps the window's place in window.ini, and the next start opens there; set.ini stays as
    // it was.
    void placeKept_data() {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("moved and grown") << QRect(30, 40, 700, 900) << false;
        QTest::newRow("maximised") << QRect(300, 50, 600, 800) << true;
        QTest::newRow("as it opened") << QRect(419, 129, 442, 766) << false;
    }

    void placeKept() {
        QFETCH(QRect, geometry);
        QFETCH(bool, maximized);
        start();
        window->setGeometry(geometry);
        if (maximized)
            frame()->setMaximized(true);
        const QByteArray settings = readFile(globalSettingsPath());
        QVERIFY(!settings.isEmpty());
        QVERIFY(window->close());
        QCOMPARE(readFile(globalSettingsPath()), settings);
        const std::optional<WindowState> kept = loadWindowState();
        QVERIFY(kept);
        QCOMPARE(kept->geometry, geometry);
        QCOMPARE(kept->maximized, maximized);
        QVERIFY(readFile(windowStatePath()).startsWith("[window]"));

        window.reset();
        start();
        QCOMPARE(frame()->isMaximized(), maximized);
        QCOMPARE(window->geometry(), maximized ? area() : geometry);
        QCOMPARE(frame()->normalGeometry(), geometry);
        QCOMPARE(window->minimumSize(), QSize(442, 766));
    }

    // A kept place that no screen holds as it is now, or smaller than the window opens, is not taken:
    // the window opens centred at its design size.
    void placeIgnored_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("off every screen")
            << QByteArray("[window]\nleft=1500\ntop=40\nwidth=700\nheight=900\n");
        QTest::newRow("across the edge") << QByteArray("[window]\nleft=900\ntop=40\nwidth=700\nheight=900\n");
        QTest::newRow("taller than the screen")
            << QByteArray("[window]\nleft=0\ntop=0\nwidth=700\nheight=1100\nmaximized=true\n");
        QTest::newRow("smaller than it opens")
            << QByteArray("[window]\nleft=100\ntop=100\nwidth=300\nheight=500\n");
        QTest::newRow("no size") << QByteArray("[window]\nleft=100\ntop=100\n");
        QTest::newRow("not numbers") << QByteArray("[window]\nleft=a\ntop=b\nwidth=c\nheight=d\n");
        QTest::newRow("no group") << QByteArray("left=100\ntop=100\nwidth=600\nheight=800\n");
    }

    void placeIgnored() {
        QFETCH(QByteArray, file);
        writeFile(home->dataFolder() + QStringLiteral("window.ini"), file);
        start();
        QVERIFY(!frame()->isMaximized());
        QCOMPARE(window->geometry(), QRect(419, 129, 442, 766));
    }

    // An archive named "window" keeps its settings in window.ini: the window leaves that file alone,
    // and takes nothing from it.
    void archiveNamedWindow() {
        const QByteArray archiveSettings =
            settingsBytes(QStringLiteral("window"), QStringLiteral("36 6 6 0"), 1, 0, 0);
        writeFile(home->dataFolder() + QStringLiteral("window.ini"), archiveSettings);
        start();
        QCOMPARE(window->geometry(), QRect(419, 129, 442, 766));
        window->setGeometry(30, 40, 700, 900);
        QVERIFY(window->close());
        QCOMPARE(readFile(home->dataFolder() + QStringLiteral("window.ini")), archiveSettings);
    }
};

DRAVIK_GUI_TEST_MAIN(FrameTest)
#include "tst_frame.moc"
