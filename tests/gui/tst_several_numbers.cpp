// An archive of six numbers a draw, as a 双色球 player keeps the red balls: a history imported with one
// choice, then the analysis table, the trend chart, its footers and the mark check, over zones of 11
// (33 ÷ 3 = 11 … 0) and over single numbers (33 ÷ 33 = 1 … 0). Every draw is the same six numbers, so
// that each figure can be worked out by hand.
#include "gui_harness.h"
#include "pages/import_dialog.h"
#include "pages/trend_table.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kArchive = QStringLiteral("双色球红球");
const QString kRedBalls = QStringLiteral("01 02 12 23 24 25");
constexpr int kDraws = 33;

QByteArray settingsOf(int a, int b) {
    return QStringLiteral("[dravik]\r\nname=%1\r\n[math]\r\nX=33\r\nA=%2\r\nB=%3\r\nC=0\r\nK=6\r\n"
                          "[from]\r\nr1=1\r\n[model]\r\nr2=0\r\n[count]\r\nr3=0\r\n")
        .arg(kArchive)
        .arg(a)
        .arg(b)
        .toUtf8();
}

QStringList rowTexts(const QAbstractItemModel* model, int row, int role = Qt::DisplayRole) {
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts.append(model->index(row, column).data(role).toString());
    return texts;
}

} // namespace

class SeveralNumbersTest : public WindowTestCase {
    Q_OBJECT

    QString path(const QString& suffix) const { return home->dataFolder() + kArchive + suffix; }

    // The archive made by importing a 双色球 history, period, red balls and blue ball a line, with the
    // choice the dialog offers first; the window then on the trend tab.
    void importHistory(int a, int b) {
        writeFile(path(QStringLiteral(".ini")), settingsOf(a, b));
        window = startOnArchive(*home, kArchive, recordFileBytes({QStringLiteral("2024001.") + kRedBalls}));
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        QTest::mouseClick(control<ui::ImageButton>(settingsTab(*window), "Button_in"), Qt::LeftButton);
        QString history = QStringLiteral("期号 红球 蓝球\n");
        for (int draw = kDraws; draw >= 2; --draw)
            history += QStringLiteral("20240%1 %2 %3\n")
                           .arg(draw, 2, 10, QLatin1Char('0'))
                           .arg(kRedBalls)
                           .arg(draw % 16 + 1);
        QGuiApplication::clipboard()->setText(history);
        QTest::mouseClick(control<ui::ImageButton>(entryPage(*window), "Button_import"), Qt::LeftButton);
        auto* dialog = window->findChild<ImportDialog*>();
        QVERIFY(dialog);
        QCOMPARE(control<QComboBox>(dialog, "Combo_column")->currentText(), QStringLiteral("第2列起6列"));
        QCOMPARE(control<QLabel>(dialog, "Label_summary")->text(),
                 QStringLiteral("新增32条，替换0条，相同0条，无法识别1行"));
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QTRY_VERIFY(!window->findChild<ImportDialog*>());
        QStringList lines;
        for (int draw = 1; draw <= kDraws; ++draw)
            lines.append(QStringLiteral("20240%1.%2").arg(draw, 2, 10, QLatin1Char('0')).arg(kRedBalls));
        QCOMPARE(readFile(path(QStringLiteral(".dat"))), recordFileBytes(lines));
        script->clear();
        QTest::mouseClick(control<ui::ImageButton>(entryPage(*window), "Button_back"), Qt::LeftButton);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kAnalysisTab), Qt::LeftButton);
        // The analysis after the import: what the stored settings give.
        window->runAction(QStringLiteral("act_grid"));
        QCOMPARE(script->texts(), QStringList());
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kTrendTab), Qt::LeftButton);
    }

    const QAbstractItemModel* chart() { return control<TrendGrid>(trendTab(*window), "Grid_trend")->model(); }
    const QAbstractItemModel* footers() {
        return control<ui::FrozenColumnsTable>(trendTab(*window), "Grid_footer")->model();
    }
    QString check() { return control<QLabel>(trendTab(*window), "Label_check")->text(); }

    TrendGrid* chartGrid() { return control<TrendGrid>(trendTab(*window), "Grid_trend"); }

    // The colour of the chart's cell (row, column) at `offset` from its centre, as shown.
    QColor cellColour(int row, int column, QPoint offset) {
        TrendGrid* grid = chartGrid();
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        return grid->viewport()->grab().toImage().pixelColor(cell.center() + offset);
    }

    // What the pointer's pause over a cell of a table shows; empty for no tooltip.
    static QString toolTipOver(QTableView* table, int row, int column) {
        return toolTipAt(table->viewport(), table->visualRect(table->model()->index(row, column)).center());
    }

private slots:
    void zones() {
        importHistory(3, 11);
        // N = 30 draws of six numbers: zone 1 holds 01 02, zone 2 12, zone 3 23 24 25 of every draw;
        // m = (30 · 6) div 3 = 60, and every zone is hit by the latest draw.
        QCOMPARE(gridRows(*window), (QStringList{"01.02.03.04.05.06.07.08.09.10.11|60|0|√",
                                                 "12.13.14.15.16.17.18.19.20.21.22|30|0|√",
                                                 "23.24.25.26.27.28.29.30.31.32.33|90|0|√"}));
        // The zones' texts are cut to the 号码 column; the pointer's pause shows them whole.
        auto* analysis = control<QTableView>(analysisTab(*window), "StringGrid1");
        QCOMPARE(toolTipOver(analysis, 2, 0), QStringLiteral("23.24.25.26.27.28.29.30.31.32.33"));
        QCOMPARE(toolTipOver(analysis, 2, 1), QString());
        // The window of 30 draws; the newest row at the bottom.
        QCOMPARE(chart()->rowCount(), 30);
        QCOMPARE(rowTexts(chart(), 29), (QStringList{"2024033", kRedBalls, "2", "12", "3"}));
        QCOMPARE(rowTexts(chart(), 29, Qt::AccessibleTextRole),
                 (QStringList{"2024033", kRedBalls, "01 02", "12", "23 24 25"}));
        QCOMPARE(rowTexts(chart(), 29, Qt::ToolTipRole), (QStringList{"", "", "01 02", "12", "23 24 25"}));
        QVERIFY(chart()->index(29, 2).data(TrendModel::kHitRole).toBool());
        // A count is an orange square with rounded corners, a number a red ball: near the corner of
        // the cell's mark the square is coloured and the ball is not.
        QTRY_VERIFY(chartGrid()->isVisible());
        const QColor orange(0xF0, 0x8A, 0x00);
        const QColor red(0xE0, 0x28, 0x2E);
        for (const auto& [column, colour] : {std::pair{2, orange}, std::pair{3, red}, std::pair{4, orange}}) {
            QCOMPARE(cellColour(29, column, QPoint(0, 7)), colour);
            QCOMPARE(cellColour(29, column, QPoint(7, 7)) == colour, colour == orange);
        }
        // 理论次数 = 30 · 6 · 11 / 33 = 60.0 for each zone.
        QCOMPARE(rowTexts(footers(), 0), (QStringList{"出现次数", "", "60", "30", "90"}));
        QCOMPARE(rowTexts(footers(), 1), (QStringList{"理论次数", "", "60.0", "60.0", "60.0"}));
        QCOMPARE(rowTexts(footers(), 2), (QStringList{"平均遗漏", "", "0", "0", "0"}));
        QCOMPARE(rowTexts(footers(), 3), (QStringList{"最大遗漏", "", "0", "0", "0"}));
        QCOMPARE(rowTexts(footers(), 4), (QStringList{"最大连出", "", "30", "30", "30"}));
        QCOMPARE(rowTexts(footers(), 5), (QStringList{"当前遗漏", "", "0", "0", "0"}));
        // Three draws have 30 before them; every zone is marked, so all 18 numbers hit and chance
        // expects as many, with no spread.
        QCOMPARE(check(),
                 QStringLiteral("荐号回测：近3期开出18个号码，荐号组命中18个（100%），随机期望18.0个\n"
                                "荐号与随机无明显差异"));

        // The CSV holds the numbers of a ball; the picture is drawn whole.
        QTemporaryDir out;
        script->queueFileName(out.filePath(QStringLiteral("走势.csv")));
        QTest::mouseClick(control<QPushButton>(trendTab(*window), "Button_csv"), Qt::LeftButton);
        const QList<QByteArray> csv = readFile(out.filePath(QStringLiteral("走势.csv"))).split('\n');
        QCOMPARE(csv.value(30), QByteArray("2024033,01 02 12 23 24 25,01 02,12,23 24 25\r"));
        script->queueFileName(out.filePath(QStringLiteral("走势.png")));
        QTest::mouseClick(control<QPushButton>(trendTab(*window), "Button_png"), Qt::LeftButton);
        QVERIFY(!QImage(out.filePath(QStringLiteral("走势.png"))).isNull());
        QCOMPARE(script->texts().filter(QStringLiteral("失败")), QStringList());
    }

    void singleNumbers() {
        importHistory(33, 1);
        // m = (30 · 6) div 33 = 5: the six numbers of every draw are marked, the others never drawn.
        const QStringList drawn{"01", "02", "12", "23", "24", "25"};
        QStringList expected;
        for (int n = 1; n <= 33; ++n) {
            const QString number = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
            expected.append(drawn.contains(number) ? number + "|30|0|√" : number + "|0|30|");
        }
        QCOMPARE(gridRows(*window), expected);
        const QStringList last = rowTexts(chart(), 29);
        QCOMPARE(last.mid(0, 5), (QStringList{"2024033", kRedBalls, "01", "02", "33"}));
        // Narrow columns: at the design size at least nine whole groups stand beside 期数 and 号码.
        TrendGrid* grid = chartGrid();
        QTRY_VERIFY(grid->isVisible());
        QCOMPARE(window->size(), QSize(442, 766));
        int whole = 0;
        for (int column = TrendModel::kFixedColumns; column < grid->model()->columnCount(); ++column) {
            const int left = grid->columnViewportPosition(column);
            if (left >= grid->frozenWidth() && left + grid->columnWidth(column) <= grid->viewport()->width())
                ++whole;
            QVERIFY2(grid->columnWidth(column) < 28, qPrintable(QString::number(grid->columnWidth(column))));
        }
        QVERIFY2(whole >= 9, qPrintable(QString::number(whole)));
        QCOMPARE(last.value(2 + 11), QStringLiteral("12"));
        // 03, never drawn, has missed all 33 draws of the archive. 理论次数 = 30 · 6 · 1 / 33 = 5.45…,
        // shown as 5.5; over the window 03 misses all 30.
        QCOMPARE(rowTexts(footers(), 1).mid(2, 3), (QStringList{"5.5", "5.5", "5.5"}));
        QCOMPARE(rowTexts(footers(), 0).mid(2, 3), (QStringList{"30", "30", "0"}));
        QCOMPARE(rowTexts(footers(), 2).mid(2, 3), (QStringList{"0", "0", "30"}));
        QCOMPARE(rowTexts(footers(), 3).mid(2, 3), (QStringList{"0", "0", "30"}));
        QCOMPARE(rowTexts(footers(), 4).mid(2, 3), (QStringList{"30", "30", "0"}));
        QCOMPARE(rowTexts(footers(), 5).mid(2, 3), (QStringList{"0", "0", "30"}));
        // Six of 33 labels marked: E = 3 · 6 · 6 / 33 = 3.27…; two standard deviations,
        // 2 √(3 · 6 · (6/33)(27/33)(27/32)) = 3.0, are far below 18 − 3.3.
        QCOMPARE(check(),
                 QStringLiteral("荐号回测：近3期开出18个号码，荐号组命中18个（100%），随机期望3.3个\n"
                                "荐号命中率高于随机"));
    }
};

DRAVIK_GUI_TEST_MAIN(SeveralNumbersTest)
#include "tst_several_numbers.moc"
