// The trend chart on the screens it is made for, each in an X server of its own size (CTest runs it
// under xvfb-run): on 1366 × 768 at 100 %, 125 % and 150 % (QT_SCALE_FACTOR), the window as it opens
// shows at least ten rows of the chart and the whole mark check, the footers still reachable; on
// 1920 × 1080 the maximised window shows all 33 columns of 双色球's red balls. A run on another screen
// skips what is not its own.
#include "gui_harness.h"
#include "pages/trend_picture.h"
#include "pages/trend_table.h"
#include "storage/data_folder.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kRedBalls = QStringLiteral("双色球红球");

// 120 draws of one number out of 36.
QStringList builtInHistory() {
    QStringList lines;
    for (int i = 0; i < 120; ++i)
        lines.append(QStringLiteral("%1.%2").arg(23001 + i).arg((i * 7) % 36 + 1, 2, 10, QLatin1Char('0')));
    return lines;
}

// Whether the screen has this size in the X server's pixels (Qt's, times the scale, are rounded).
bool screenIs(QSize size) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSizeF pixels = QSizeF(screen->geometry().size()) * screen->devicePixelRatio();
    return std::abs(pixels.width() - size.width()) < 2 && std::abs(pixels.height() - size.height()) < 2;
}

QRect placed(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

} // namespace

class ScreensTest : public WindowTestCase {
    Q_OBJECT

    // The window started as the program starts, on an archive of 双色球's red balls counted number by
    // number (33 ÷ 33) or the built-in archive; then on the trend tab.
    void startOn(bool redBalls) {
        if (redBalls) {
            writeFile(home->dataFolder() + kRedBalls + QStringLiteral(".ini"),
                      settingsBytes(kRedBalls, QStringLiteral("33 33 1 0"), 1, 0, 0, 6));
            window = startOnArchive(*home, kRedBalls, recordFileBytes(redBallHistory()));
        } else {
            window = startOnArchive(*home, kBuiltInArchive, recordFileBytes(builtInHistory()));
        }
        window->runAction(QStringLiteral("act_datset"));
        script->clear();
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kTrendTab), Qt::LeftButton);
        QTRY_VERIFY(chartGrid()->isVisible());
        QCoreApplication::processEvents();
    }

    TrendGrid* chartGrid() const { return control<TrendGrid>(trendTab(*window), "Grid_trend"); }

private slots:
    void smallScreen_data() {
        QTest::addColumn<bool>("redBalls");
        QTest::newRow("one number a draw") << false;
        QTest::newRow("six numbers a draw") << true;
    }

    void smallScreen() {
        QFETCH(bool, redBalls);
        if (!screenIs(QSize(1366, 768)))
            QSKIP("a 1366 × 768 screen's test");
        startOn(redBalls);
        const QRect area = window->screen()->availableGeometry();
        QVERIFY(area.contains(window->geometry()));
        QCOMPARE(window->width(), 442);
        qInfo("the window at %g: %dx%d", window->devicePixelRatio(), window->width(), window->height());

        // Ten whole rows of the chart in view, the newest among them.
        TrendGrid* grid = chartGrid();
        QCOMPARE(grid->model()->rowCount(), 30);
        int whole = 0;
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            if (grid->viewport()->rect().contains(grid->visualRect(grid->model()->index(row, 0))))
                ++whole;
        }
        qInfo("%d whole rows of the chart in view", whole);
        QVERIFY2(whole >= 10, qPrintable(QString::number(whole)));
        QVERIFY(grid->viewport()->rect().contains(grid->visualRect(grid->model()->index(29, 0))));

        // The whole mark check, on lines of its own, inside the window and above the tab strip.
        auto* check = control<QLabel>(trendTab(*window), "Label_check");
        QVERIFY(check->text().startsWith(QStringLiteral("荐号回测：")));
        QVERIFY(check->isVisible());
        QVERIFY(check->wordWrap());
        QVERIFY2(check->heightForWidth(check->width()) <= check->height(),
                 qPrintable(QStringLiteral("%1 lines' height in %2")
                                .arg(check->heightForWidth(check->width()))
                                .arg(check->height())));
        const QRect strip = placed(tabBar(*window)->tabButton(0));
        QVERIFY(window->rect().contains(placed(check)));
        QVERIFY(placed(check).bottom() < strip.top());
        QVERIFY(!placed(check).intersects(placed(grid)));

        // The footers: at least a row in view, all six reached by scrolling and by a screen reader.
        auto* footer = control<ui::FrozenColumnsTable>(trendTab(*window), "Grid_footer");
        QVERIFY(footer->isVisible());
        QVERIFY(footer->viewport()->height() >= kTrendRowHeight);
        QVERIFY(!placed(footer).intersects(placed(check)));
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(footer);
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->tableInterface()->rowCount(), 6);
        footer->scrollToBottom();
        QVERIFY(footer->viewport()->rect().intersects(footer->visualRect(footer->model()->index(5, 0))));

        // The export buttons whole in the window.
        for (const char* name : {"Button_csv", "Button_png"}) {
            auto* button = control<QPushButton>(trendTab(*window), name);
            QVERIFY(button->isVisible());
            QVERIFY(window->rect().contains(placed(button)));
            QVERIFY(!placed(button).intersects(placed(grid)));
        }

        // The uniformity check and the scan of every grouping, in view or scrolled into it as the
        // keyboard reaches them after the mark check.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        check->setFocus(Qt::TabFocusReason);
        for (const char* name : {"Label_fair", "Button_csv", "Button_png", "Button_scan"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QCOMPARE(focus->objectName(), QString::fromLatin1(name));
            QVERIFY2(focus->visibleRegion().contains(focus->rect()), name);
            QVERIFY(window->rect().contains(placed(focus)));
        }
    }

    // Maximised on 1920 × 1080, the 33 numbers of 双色球's red balls all stand side by side.
    void maximisedShowsEveryColumn() {
        if (!screenIs(QSize(1920, 1080)))
            QSKIP("a 1920 × 1080 screen's test");
        startOn(true);
        QTest::mouseDClick(header(*window), Qt::LeftButton, {}, QPoint(221, 25));
        QCOMPARE(window->geometry(), window->screen()->availableGeometry());
        QCoreApplication::processEvents();
        TrendGrid* grid = chartGrid();
        const int last = grid->model()->columnCount() - 1;
        QCOMPARE(last, TrendModel::kFixedColumns + 32);
        QVERIFY(grid->columnViewportPosition(TrendModel::kFixedColumns) >= grid->frozenWidth());
        QVERIFY2(grid->columnViewportPosition(last) + grid->columnWidth(last) <= grid->viewport()->width(),
                 qPrintable(QStringLiteral("the last column ends at %1 of %2")
                                .arg(grid->columnViewportPosition(last) + grid->columnWidth(last))
                                .arg(grid->viewport()->width())));
        QVERIFY(!grid->horizontalScrollBar()->isVisible());
    }
};

DRAVIK_GUI_TEST_MAIN(ScreensTest)
#include "tst_screens.moc"
