// The trend tab's columns in fonts wider than the default, as another system's fallback for the
// program's font gives them: every caption and cell text shows whole, and the columns held in place
// (期数, 号码) meet the scrolling ones. CTest runs it at scale factors 1, 1.25 and 2.
#include "gui_harness.h"
#include "pages/trend_picture.h"
#include "pages/trend_tab.h"
#include "pages/trend_table.h"
#include "storage/data_folder.h"
#include "ui/choice_combo.h"
#include "ui/frozen_table.h"
#include "ui/tab_control.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionHeader>
#include <cmath>

using namespace dravik;
using namespace dravik::test;

namespace {

// 130 draws of seven-digit periods, wider than the worked example's.
QStringList longPeriods() {
    QStringList lines;
    for (int i = 0; i < 130; ++i)
        lines.append(QStringLiteral("2024%1.%2")
                         .arg(i + 1, 3, 10, QLatin1Char('0'))
                         .arg((i * 11) % 36 + 1, 2, 10, QLatin1Char('0')));
    return lines;
}

QFont widened(const QFont& font, const QString& family, qreal pointSize, bool bold) {
    QFont wide = font;
    if (!family.isEmpty())
        wide.setFamilies({family});
    wide.setPointSizeF(pointSize);
    wide.setBold(bold);
    return wide;
}

// Where a column starts, in the table's own coordinates, for the table or its overlay.
int columnLeft(const QTableView* view, const QWidget* table, int column) {
    return view->viewport()->mapTo(table, QPoint(view->columnViewportPosition(column), 0)).x();
}

// Empty when every text of the table shows whole in the font that draws it and the overlay's columns
// lie on the table's; else what does not.
QString columnFaults(const ui::FrozenColumnsTable* table) {
    QStringList faults;
    const QTableView* fixed = table->frozenView();
    const QAbstractItemModel* model = table->model();
    const int columns = model->columnCount();
    for (int column = 0; column < TrendColumnsModel::kFixedColumns; ++column) {
        if (fixed->columnWidth(column) != table->columnWidth(column) ||
            columnLeft(fixed, table, column) != columnLeft(table, table, column))
            faults.append(QStringLiteral("held column %1 at %2 (%3 wide), the table's at %4 (%5 wide)")
                              .arg(column)
                              .arg(columnLeft(fixed, table, column))
                              .arg(fixed->columnWidth(column))
                              .arg(columnLeft(table, table, column))
                              .arg(table->columnWidth(column)));
    }
    const int overlayEnd = fixed->geometry().x() + fixed->width();
    if (overlayEnd != columnLeft(table, table, TrendColumnsModel::kFixedColumns))
        faults.append(QStringLiteral("the held columns end at %1, group 1 starts at %2")
                          .arg(overlayEnd)
                          .arg(columnLeft(table, table, TrendColumnsModel::kFixedColumns)));

    // A caption shows as the header paints it: elided to its label's width when it does not fit.
    for (int column = 0; column < columns && table->horizontalHeader()->isVisible(); ++column) {
        const QHeaderView* header =
            column < TrendColumnsModel::kFixedColumns ? fixed->horizontalHeader() : table->horizontalHeader();
        const QString caption = model->headerData(column, Qt::Horizontal).toString();
        QStyleOptionHeader option;
        option.initFrom(header);
        option.rect = QRect(0, 0, header->sectionSize(column), header->height());
        option.text = caption;
        option.section = column;
        const QRect label = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
        if (header->fontMetrics().elidedText(caption, Qt::ElideRight, label.width(), Qt::TextShowMnemonic) !=
            caption)
            faults.append(QStringLiteral("caption %1 in %2 pixels").arg(caption).arg(label.width()));
    }
    // A cell's text has the cell less the style's margins (the focus frame's and one more, each side).
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            const QTableView* view = column < TrendColumnsModel::kFixedColumns ? fixed : table;
            const QModelIndex index = model->index(row, column);
            const QString text = index.data().toString();
            const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
            const int room = view->visualRect(index).width() - 2 * margin;
            const qreal width = QFontMetricsF(view->font(), view).horizontalAdvance(text);
            if (std::ceil(width) > room)
                faults.append(QStringLiteral("cell %1 (row %2, column %3): %4 pixels in %5")
                                  .arg(text)
                                  .arg(row)
                                  .arg(column)
                                  .arg(width)
                                  .arg(room));
        }
    }
    return faults.mid(0, 8).join(QLatin1Char('\n'));
}

} // namespace

class TrendColumnsTest : public WindowTestCase {
    Q_OBJECT

    QFont applicationFont_;

private slots:
    void initTestCase() { applicationFont_ = QApplication::font(); }

    // In place of the fixture's: the application's font goes back too.
    void cleanup() {
        window.reset();
        script.reset();
        home.reset();
        QApplication::setFont(applicationFont_);
    }

    void columnsFitTheFont_data() {
        QTest::addColumn<QString>("where");  // which font grows
        QTest::addColumn<QString>("family"); // empty: the font's own
        QTest::addColumn<qreal>("pointSize");
        QTest::addColumn<bool>("bold");
        QTest::newRow("default fonts") << "none" << QString() << 0.0 << false;
        // The application's font, which reaches no part of the chart (chartFontsAreTheWindows).
        QTest::newRow("application font, at start") << "application" << QString() << 14.0 << false;
        QTest::newRow("application font, another family") << "application"
                                                          << "DejaVu Serif" << 12.0 << true;
        // The scrolling cells in the tables' own.
        QTest::newRow("tables' font, changed while shown") << "tables" << QString() << 14.0 << true;
        QTest::newRow("both") << "both"
                              << "DejaVu Serif" << 13.0 << false;
    }

    void columnsFitTheFont() {
        QFETCH(QString, where);
        QFETCH(QString, family);
        QFETCH(qreal, pointSize);
        QFETCH(bool, bold);
        if (where == "application" || where == "both")
            QApplication::setFont(widened(applicationFont_, family, pointSize, bold));
        window = startOnArchive(*home, kBuiltInArchive, recordFileBytes(longPeriods()));
        TrendTab* tab = trendTab(*window);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kTrendTab), Qt::LeftButton);
        pickFromList(control<ui::ChoiceCombo>(tab, "Combo_span"), QStringLiteral("全部"));
        auto* chart = control<TrendGrid>(tab, "Grid_trend");
        auto* footer = control<ui::FrozenColumnsTable>(tab, "Grid_footer");
        if (where == "tables" || where == "both") {
            chart->setFont(widened(chart->font(), family, pointSize, bold));
            footer->setFont(widened(footer->font(), family, pointSize, bold));
        }
        QCOMPARE(chart->model()->rowCount(), 130);
        QTRY_VERIFY(chart->isVisible());
        const QString chartFaults = columnFaults(chart);
        QVERIFY2(chartFaults.isEmpty(), qPrintable(chartFaults));
        const QString footerFaults = columnFaults(footer);
        QVERIFY2(footerFaults.isEmpty(), qPrintable(footerFaults));
        // The chart and its footers share their columns.
        for (int column = 0; column < chart->model()->columnCount(); ++column)
            QCOMPARE(footer->columnWidth(column), chart->columnWidth(column));
    }

    // Every part of the chart, its header and held columns included, is drawn in the program's own
    // fonts, as every other text of the window, never in the application's: where that is a serif (as
    // under Wine, where the program's first family is missing) the chart still falls back as the
    // window's labels do.
    void chartFontsAreTheWindows() {
        QFont serif = applicationFont_;
        serif.setFamilies({QStringLiteral("DejaVu Serif")});
        QApplication::setFont(serif);
        window = startOffline(*home);
        TrendTab* tab = trendTab(*window);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kTrendTab), Qt::LeftButton);
        auto* chart = control<TrendGrid>(tab, "Grid_trend");
        auto* footer = control<ui::FrozenColumnsTable>(tab, "Grid_footer");
        QTRY_VERIFY(chart->isVisible());
        const QString family = QFontInfo(control<QLabel>(tab, "Label_check")->font()).family();
        QVERIFY(family != QFontInfo(serif).family());
        // A header paints on its viewport, in the viewport's font.
        const std::pair<const char*, const QWidget*> parts[] = {
            {"cells", chart},
            {"header", chart->horizontalHeader()},
            {"header, as painted", chart->horizontalHeader()->viewport()},
            {"期数 and 号码", chart->frozenView()},
            {"their header", chart->frozenView()->horizontalHeader()},
            {"their header, as painted", chart->frozenView()->horizontalHeader()->viewport()},
            {"footer values", footer},
            {"footer names", footer->frozenView()},
        };
        for (const auto& [part, widget] : parts) {
            const QString drawnIn = QFontInfo(widget->font()).family();
            QVERIFY2(drawnIn == family, qPrintable(QStringLiteral("%1 in %2").arg(part, drawnIn)));
            QCOMPARE(widget->font().pointSizeF(), trendFont().pointSizeF());
        }
        QCOMPARE(QFontInfo(trendFont()).family(), family); // the exported picture's
    }

    // The held columns take the table's widths whatever they are, also below the least width Qt gives
    // a header section of their font (its widest character and margins), which a Chinese system's
    // font makes wider than a narrow column.
    void heldColumnsFollowAnyWidth_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("narrower than a character") << 6;
        QTest::newRow("narrow") << 20;
        QTest::newRow("wide") << 90;
    }

    void heldColumnsFollowAnyWidth() {
        QFETCH(int, width);
        window = startOffline(*home);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kTrendTab), Qt::LeftButton);
        auto* chart = control<TrendGrid>(trendTab(*window), "Grid_trend");
        QTRY_VERIFY(chart->isVisible());
        for (int column = 0; column < TrendColumnsModel::kFixedColumns; ++column) {
            chart->setColumnWidth(column, width);
            QCOMPARE(chart->frozenView()->columnWidth(column), width);
            QCOMPARE(columnLeft(chart->frozenView(), chart, column), columnLeft(chart, chart, column));
        }
        QCOMPARE(chart->frozenView()->geometry().x() + chart->frozenView()->width(),
                 columnLeft(chart, chart, TrendColumnsModel::kFixedColumns));
    }
};

DRAVIK_GUI_TEST_MAIN(TrendColumnsTest)
#include "tst_trend_columns.moc"
