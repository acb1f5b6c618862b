// The trend tab in the real window: built on selection only, the span, the unsaved-settings prompt on
// the way in, and export to CSV and PNG, failures included.
#include "gui_harness.h"
#include "pages/grouping_scan_dialog.h"
#include "pages/settings_tab.h"
#include "pages/trend_layout.h"
#include "pages/trend_picture.h"
#include "pages/trend_tab.h"
#include "pages/trend_table.h"
#include "storage/data_folder.h"
#include "ui/choice_combo.h"
#include "ui/frozen_table.h"
#include "ui/image_button.h"
#include "ui/tab_control.h"

#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kQuestion = QStringLiteral("设置已更改，是否保存？");

// Record lines 23001.. of `count` draws, numbers 01..36 in a fixed walk.
QStringList longArchive(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("%1.%2").arg(23001 + i).arg((i * 7) % 36 + 1, 2, 10, QLatin1Char('0')));
    return lines;
}

const QColor kHeaderFill(0xF2, 0xF7, 0xFF);
const QColor kGridLine(0xD6, 0xE4, 0xF5);

// The files of a picture cut into `files` pages, chosen as "走势.png".
QStringList pageFiles(int files) {
    QStringList names;
    for (int page = 1; page <= files; ++page)
        names.append(files == 1 ? QStringLiteral("走势.png") : QStringLiteral("走势-%1.png").arg(page));
    return names;
}

// A folder's entries, hidden ones included, as "name=content" for files and "name/" for folders.
QStringList entries(const QString& folder) {
    QStringList listed;
    for (const QFileInfo& info :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        listed.append(info.isDir() ? info.fileName() + QLatin1Char('/')
                                   : info.fileName() + QLatin1Char('=') +
                                         QString::fromUtf8(readFile(info.filePath())));
    return listed;
}

// Makes the entries of such a listing.
void createEntries(const QString& folder, const QStringList& listed) {
    for (const QString& entry : listed) {
        if (entry.endsWith(QLatin1Char('/'))) {
            QDir(folder).mkdir(entry.chopped(1));
        } else {
            const qsizetype split = entry.indexOf(QLatin1Char('='));
            writeFile(folder + QLatin1Char('/') + entry.left(split), entry.mid(split + 1).toUtf8());
        }
    }
}

QStringList rowTexts(const QAbstractItemModel* model, int row) {
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts.append(model->index(row, column).data().toString());
    return texts;
}

} // namespace

class TrendTabTest : public WindowTestCase {
    Q_OBJECT

    TrendTab* tab = nullptr;

    void start() {
        window = startOffline(*home);
        tab = trendTab(*window);
        script->clear();
    }

    void selectTrendTab() {
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kTrendTab), Qt::LeftButton);
    }

    // The chart of 1,600 draws, which the picture cuts into three pages.
    void startOnLongChart() {
        start();
        writeFile(recordPath(), recordFileBytes(longArchive(1600)));
        selectTrendTab();
        pickFromList(control<ui::ChoiceCombo>(tab, "Combo_span"), QStringLiteral("全部"));
        script->clear();
    }

    QString recordPath() const { return home->dataFolder() + kBuiltInArchive + QStringLiteral(".dat"); }

    // The lines under the chart in a picture: the mark check's, then the uniformity check's.
    QString checkTexts() const {
        return control<QLabel>(tab, "Label_check")->text() + QLatin1Char('\n') +
               control<QLabel>(tab, "Label_fair")->text();
    }

    const QAbstractItemModel* chart() const { return control<TrendGrid>(tab, "Grid_trend")->model(); }
    const QAbstractItemModel* footers() const {
        return control<ui::FrozenColumnsTable>(tab, "Grid_footer")->model();
    }

private slots:
    // Start-up leaves the chart alone; selecting the tab shows the current settings' chart over the
    // analysis depth, newest row in view, the footers under it.
    void selectingShowsTheChart() {
        start();
        QVERIFY(!tab->isBuilt());
        QCOMPARE(chart()->rowCount(), 0);
        QCOMPARE(tabBar(*window)->tabButton(MainWindow::kTrendTab)->text(), QStringLiteral("走势"));

        selectTrendTab();
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kTrendTab));
        QVERIFY(tab->isBuilt());
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Combo_span")->currentText(), QStringLiteral("30期"));
        QCOMPARE(chart()->rowCount(), 30);
        QCOMPARE(rowTexts(chart(), 0), (QStringList{"24001", "08", "1", "08", "1", "1", "1", "1"}));
        QCOMPARE(chart()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("1"));
        QCOMPARE(chart()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("01.02.03.04.05.06"));
        QCOMPARE(chart()->index(0, 3).data(Qt::AccessibleTextRole).toString(), QStringLiteral("08"));
        QCOMPARE(rowTexts(footers(), 0), (QStringList{"出现次数", "", "2", "8", "9", "7", "4", "0"}));
        QCOMPARE(rowTexts(footers(), 5), (QStringList{"当前遗漏", "", "0", "6", "12", "2", "7", "30"}));
        QCOMPARE(control<QLabel>(tab, "Label_check")->text(), QStringLiteral("数据量不足，无法回测"));
        QTRY_VERIFY(control<TrendGrid>(tab, "Grid_trend")->isVisible());
        QTRY_VERIFY(control<TrendGrid>(tab, "Grid_trend")
                        ->viewport()
                        ->rect()
                        .contains(control<TrendGrid>(tab, "Grid_trend")->visualRect(chart()->index(29, 0))));
        QVERIFY(script->shown().isEmpty());
    }

    // The trend tab of an archive of 60 groups, one label each, too many to show side by side.
    void showManyGroups() {
        start();
        // The built-in archive's X is held at 36 by the settings tab; an archive of our own takes 60.
        writeFile(home->dataFolder() + QStringLiteral("宽.dat"), recordFileBytes(longArchive(40)));
        writeFile(home->dataFolder() + QStringLiteral("宽.ini"),
                  settingsBytes(QStringLiteral("宽"), QStringLiteral("60 60 1 0"), 1, 0, 0));
        control<ui::ChoiceCombo>(settingsTab(*window), "Edit_name")->setText(QStringLiteral("宽"));
        window->runAction(QStringLiteral("act_datset"));
        saveButton(*window)->setEnabled(false);
        selectTrendTab();
    }

    // Many groups scroll sideways under the frozen 期数 and 号码 columns, the footers with them.
    void manyGroupsScrollSideways() {
        showManyGroups();
        QCOMPARE(chart()->columnCount(), 62);
        QScrollBar* sideways = control<TrendGrid>(tab, "Grid_trend")->horizontalScrollBar();
        QVERIFY(sideways->maximum() > 0);
        sideways->setValue(sideways->maximum());
        QCOMPARE(control<ui::FrozenColumnsTable>(tab, "Grid_footer")->horizontalScrollBar()->value(),
                 sideways->value());
        // The frozen columns stay where they were.
        QCOMPARE(control<TrendGrid>(tab, "Grid_trend")->frozenView()->columnViewportPosition(0), 0);
        QCOMPARE(control<TrendGrid>(tab, "Grid_trend")->frozenView()->geometry().width(),
                 control<TrendGrid>(tab, "Grid_trend")->frozenWidth());
        // A click with Ctrl in the frozen columns selects as in the rest: one cell.
        QTableView* frozen = control<TrendGrid>(tab, "Grid_trend")->frozenView();
        const QModelIndex first = frozen->indexAt(QPoint(5, 5));
        const QModelIndex second = frozen->indexAt(
            QPoint(frozen->columnViewportPosition(1) + 5, 5 + frozen->rowHeight(first.row())));
        QVERIFY(first.isValid() && second.isValid());
        QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, frozen->visualRect(first).center());
        QTest::mouseClick(frozen->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          frozen->visualRect(second).center());
        QCOMPARE(control<TrendGrid>(tab, "Grid_trend")->selectionModel()->selectedIndexes().size(), 1);
    }

    void span() {
        start();
        writeFile(recordPath(), recordFileBytes(longArchive(130)));
        selectTrendTab();
        QCOMPARE(chart()->rowCount(), 30);
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Combo_span")->accessibleName(), QStringLiteral("统计期数"));
        QCOMPARE(comboItems(*control<ui::ChoiceCombo>(tab, "Combo_span")),
                 (QStringList{"30期", "60期", "100期", "200期", "500期", "全部"}));

        pickFromList(control<ui::ChoiceCombo>(tab, "Combo_span"), QStringLiteral("100期"));
        QCOMPARE(chart()->rowCount(), 100);
        QCOMPARE(chart()->index(0, 0).data().toString(), QStringLiteral("23031"));
        // The frozen 期数 and 号码 columns show the same rows as the rest.
        QTRY_COMPARE(control<TrendGrid>(tab, "Grid_trend")->frozenView()->verticalScrollBar()->value(),
                     control<TrendGrid>(tab, "Grid_trend")->verticalScrollBar()->value());
        QVERIFY(control<TrendGrid>(tab, "Grid_trend")->verticalScrollBar()->value() > 0);
        QVERIFY(
            control<QLabel>(tab, "Label_check")->text().startsWith(QStringLiteral("荐号回测：近100期命中")));
        pickFromList(control<ui::ChoiceCombo>(tab, "Combo_span"), QStringLiteral("全部"));
        QCOMPARE(chart()->rowCount(), 130);
        QVERIFY(
            control<QLabel>(tab, "Label_check")->text().startsWith(QStringLiteral("荐号回测：近100期命中")));
        pickFromList(control<ui::ChoiceCombo>(tab, "Combo_span"), QStringLiteral("500期"));
        QCOMPARE(chart()->rowCount(), 130);

        // The pick stays for the run, also when the analysis depth changes.
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kAnalysisTab), Qt::LeftButton);
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        control<QRadioButton>(settingsTab(*window), "RadioButton6")->setChecked(true);
        saveButton(*window)->click();
        selectTrendTab();
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Combo_span")->currentText(), QStringLiteral("500期"));
        QCOMPARE(chart()->rowCount(), 130);
    }

    // Leaving the settings tab for 走势 with unsaved settings asks first, as for the analysis tab;
    // the chart then shows the settings the answer left.
    void unsavedSettingsPrompt_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("firstGroup");
        QTest::newRow("yes") << dialogs::kYes << QStringLiteral("01.07.13.19.25.31");
        QTest::newRow("no") << dialogs::kNo << QStringLiteral("01.02.03.04.05.06");
    }

    void unsavedSettingsPrompt() {
        QFETCH(int, answer);
        QFETCH(QString, firstGroup);
        start();
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        QVERIFY(control<QRadioButton>(settingsTab(*window), "RadioButton3")->isChecked());
        control<QRadioButton>(settingsTab(*window), "RadioButton4")->setChecked(true);
        QVERIFY(saveButton(*window)->isEnabled());
        script->queueAnswer(answer);
        selectTrendTab();
        QCOMPARE(script->texts(), QStringList{kQuestion});
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kSettingsTab));
        QVERIFY(!tab->isBuilt());

        selectTrendTab();
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kTrendTab));
        QCOMPARE(chart()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(), firstGroup);
        QCOMPARE(script->texts(), QStringList{kQuestion});
    }

    // A rebuilt analysis table refreshes a chart already built.
    void followsTheAnalysis() {
        start();
        selectTrendTab();
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        control<QRadioButton>(settingsTab(*window), "RadioButton4")->setChecked(true);
        saveButton(*window)->click();
        QCOMPARE(chart()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("01.07.13.19.25.31"));
    }

    // Missing records and a setting that is no integer: an empty chart and the reason, no box.
    void edgeTexts() {
        start();
        QVERIFY(QFile::remove(recordPath()));
        selectTrendTab();
        QCOMPARE(chart()->rowCount(), 0);
        QCOMPARE(control<QLabel>(tab, "Label_check")->text(),
                 QStringLiteral("Dravik[%1]丢失，请重录").arg(kBuiltInArchive));

        writeFile(recordPath(), recordFileBytes(workedExampleLines()));
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        control<ui::ChoiceCombo>(settingsTab(*window), "Edit_a")->setText(QStringLiteral("x"));
        saveButton(*window)->setEnabled(false);
        selectTrendTab();
        QCOMPARE(chart()->rowCount(), 0);
        QCOMPARE(chart()->columnCount(), 2);
        QCOMPARE(control<QLabel>(tab, "Label_check")->text(), QStringLiteral("设置错，无法显示走势"));
        QVERIFY(script->shown().isEmpty());
    }

    // The uniformity check under the mark check, over the window as it follows the span, and in the
    // CSV after the check; then the scan of every grouping from its button, and a scan cancelled
    // part-way, which changes no setting.
    void fairAndScan() {
        start();
        // 360 draws walking through the 36 numbers: each drawn exactly ten times.
        writeFile(recordPath(), recordFileBytes(longArchive(360)));
        selectTrendTab();
        auto* fair = control<QLabel>(tab, "Label_fair");
        QCOMPARE(fair->text(), QStringLiteral("均匀性检验：期数太少（每个号码期望出现不足5次）"));
        QCOMPARE(fair->accessibleDescription(), QStringLiteral("均匀性检验"));
        pickFromList(control<ui::ChoiceCombo>(tab, "Combo_span"), QStringLiteral("全部"));
        QCOMPARE(fair->text(),
                 QStringLiteral("均匀性检验：近360期χ²=0.0（自由度35），p=1.00\n号码出现与随机抽取相符"));
        QTemporaryDir out;
        script->queueFileName(out.filePath(QStringLiteral("走势.csv")));
        QTest::mouseClick(control<QPushButton>(tab, "Button_csv"), Qt::LeftButton);
        const QList<QByteArray> lines = readFile(out.filePath(QStringLiteral("走势.csv"))).split('\n');
        const QStringList check = control<QLabel>(tab, "Label_check")->text().split(QLatin1Char('\n'));
        QCOMPARE(QString::fromUtf8(lines.value(lines.size() - 5)).chopped(1), check.value(0));
        QCOMPARE(QString::fromUtf8(lines.value(lines.size() - 3)),
                 QStringLiteral("均匀性检验：近360期χ²=0.0（自由度35），p=1.00\r"));
        QCOMPARE(QString::fromUtf8(lines.value(lines.size() - 2)),
                 QStringLiteral("号码出现与随机抽取相符\r"));

        const QByteArray settings = readFile(home->dataFolder() + kBuiltInArchive + QStringLiteral(".ini"));
        script->clear();
        QTest::mouseClick(control<QPushButton>(tab, "Button_scan"), Qt::LeftButton);
        QCOMPARE(control<QPushButton>(tab, "Button_scan")->text(), QStringLiteral("回测全部分组"));
        GroupingScanDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = window->findChild<GroupingScanDialog*>()));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("全部分组回测"));
        // The ten best settings of the 54 of X = 36, then what luck would give and the verdict.
        const QList<QLabel*> labels = dialog->lineLabels();
        QCOMPARE(labels.size(), 12);
        QVERIFY2(labels[0]->text().startsWith(QStringLiteral("A=")), qPrintable(labels[0]->text()));
        QVERIFY2(labels[10]->text().startsWith(QStringLiteral("共回测54种分组，最好的z=")),
                 qPrintable(labels[10]->text()));
        dialog->close();
        QTRY_VERIFY(!window->findChild<GroupingScanDialog*>());

        script->queueProgressCancel(5);
        QTest::mouseClick(control<QPushButton>(tab, "Button_scan"), Qt::LeftButton);
        QVERIFY(!window->findChild<GroupingScanDialog*>());
        QCOMPARE(readFile(home->dataFolder() + kBuiltInArchive + QStringLiteral(".ini")), settings);
        QVERIFY(!saveButton(*window)->isEnabled());
        QCOMPARE(settingsTab(*window)->analysisInputs().a, QStringLiteral("6"));
        QCOMPARE(script->texts().filter(QStringLiteral("错")), QStringList());
    }

    void csv() {
        start();
        selectTrendTab();
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("走势.csv"));
        script->queueFileName(file);
        QTest::mouseClick(control<QPushButton>(tab, "Button_csv"), Qt::LeftButton);
        QCOMPARE(script->shown().size(), 1);
        QCOMPARE(script->shown().first().title, QStringLiteral("导出CSV"));
        QVERIFY(script->shown().first().text.endsWith(QLatin1Char('/') + kBuiltInArchive +
                                                      QStringLiteral("-走势.csv")));
        const QByteArray bytes = readFile(file);
        const QByteArray head = "\xEF\xBB\xBF"
                                "期数,号码,1,2,3,4,5,6\r\n"
                                "24001,08,1,08,1,1,1,1\r\n"
                                "24002,18,2,1,18,2,2,2\r\n";
        QVERIFY2(bytes.startsWith(head), bytes.left(120).constData());
        const QByteArray tail = "24030,03,03,6,12,2,7,30\r\n"
                                "出现次数,,2,8,9,7,4,0\r\n"
                                "理论次数,,5.0,5.0,5.0,5.0,5.0,5.0\r\n"
                                "平均遗漏,,9,2,2,2,5,30\r\n"
                                "最大遗漏,,28,6,12,7,7,30\r\n"
                                "最大连出,,2,1,1,4,1,0\r\n"
                                "当前遗漏,,0,6,12,2,7,30\r\n"
                                "数据量不足，无法回测\r\n"
                                "均匀性检验：期数太少（每个号码期望出现不足5次）\r\n";
        QVERIFY2(bytes.endsWith(tail), bytes.right(300).constData());
        QCOMPARE(bytes.count("\r\n"), 1 + 30 + 6 + 2);
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));

        // Cancelled: nothing written, nothing shown.
        script->clear();
        QTest::mouseClick(control<QPushButton>(tab, "Button_csv"), Qt::LeftButton);
        QCOMPARE(script->shown().size(), 1);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("走势.csv")});
    }

    void png() {
        start();
        writeFile(recordPath(), recordFileBytes(longArchive(600)));
        selectTrendTab();
        pickFromList(control<ui::ChoiceCombo>(tab, "Combo_span"), QStringLiteral("500期"));
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("走势.png"));
        script->queueFileName(file);
        QTest::mouseClick(control<QPushButton>(tab, "Button_png"), Qt::LeftButton);
        QCOMPARE(script->texts().size(), 1);
        QVERIFY(script->texts().first().endsWith(kBuiltInArchive + QStringLiteral("-走势.png")));
        QImage image;
        QVERIFY(image.load(file, "PNG"));
        auto* model = static_cast<const TrendModel*>(chart());
        const QSize logical = trendPictureSize(model->chart(), checkTexts());
        QCOMPARE(image.size(), logical * 2);
        QVERIFY(logical.height() > 500 * kTrendRowHeight);
        // The newest row's ball, red beside its number, where the chart's columns put it.
        const TrendChart& shown = model->chart();
        QCOMPARE(shown.rowCount(), 500);
        const int group = shown.hitGroup[499];
        QVERIFY(group >= 0);
        const TrendColumns widths = trendColumns(shown);
        const int x = widths.period + widths.number + group * widths.group + widths.group / 2 - 8;
        const int y = kTrendHeaderHeight + 499 * kTrendRowHeight + kTrendRowHeight / 2;
        const QColor ball = image.pixelColor(2 * x, 2 * y);
        QVERIFY2(ball.red() > 200 && ball.green() < 80, qPrintable(ball.name()));
    }

    // The chart's last column can be scrolled into view: the footers, which have no scroll bar of their
    // own beside the chart's, scroll over the same range and do not pull the chart back.
    void chartScrollsToItsRightEnd() {
        showManyGroups();
        QScrollBar* sideways = control<TrendGrid>(tab, "Grid_trend")->horizontalScrollBar();
        QScrollBar* footers = control<ui::FrozenColumnsTable>(tab, "Grid_footer")->horizontalScrollBar();
        QTRY_VERIFY(control<TrendGrid>(tab, "Grid_trend")->verticalScrollBar()->isVisible());
        QTRY_COMPARE(footers->maximum(), sideways->maximum());
        sideways->setValue(sideways->maximum());
        QCOMPARE(sideways->value(), sideways->maximum());
        QCOMPARE(footers->value(), footers->maximum());
        // The last group's column ends where both views end.
        const int last = chart()->columnCount() - 1;
        QCOMPARE(control<TrendGrid>(tab, "Grid_trend")->columnViewportPosition(last) +
                     control<TrendGrid>(tab, "Grid_trend")->columnWidth(last),
                 control<TrendGrid>(tab, "Grid_trend")->viewport()->width());
        QCOMPARE(control<ui::FrozenColumnsTable>(tab, "Grid_footer")->columnViewportPosition(last),
                 control<TrendGrid>(tab, "Grid_trend")->columnViewportPosition(last));
    }

    // A picture too tall for one file is cut at row lines into numbered files at twice its pixels,
    // each with the header row on top, that together hold it whole; a progress dialog names them
    // before they are written, and the status after.
    void pngLongChart_data() {
        QTest::addColumn<int>("draws");
        QTest::addColumn<int>("files");
        QTest::newRow("1000 draws: two files") << 1000 << 2;
        QTest::newRow("1600 draws: three files") << 1600 << 3;
    }

    void pngLongChart() {
        QFETCH(int, draws);
        QFETCH(int, files);
        start();
        writeFile(recordPath(), recordFileBytes(longArchive(draws)));
        selectTrendTab();
        pickFromList(control<ui::ChoiceCombo>(tab, "Combo_span"), QStringLiteral("全部"));
        QTemporaryDir out;
        script->queueFileName(out.filePath(QStringLiteral("走势.png")));
        QTest::mouseClick(control<QPushButton>(tab, "Button_png"), Qt::LeftButton);
        const QString names = files == 2 ? QStringLiteral("走势-1.png … 走势-2.png")
                                         : QStringLiteral("走势-1.png … 走势-3.png");
        QCOMPARE(script->shown().size(), 2);
        QCOMPARE(script->shown().last().title, QStringLiteral("导出图片"));
        QCOMPARE(script->shown().last().text,
                 QStringLiteral("图片较长，将分为%1个文件：%2").arg(files).arg(names));
        const QSize logical =
            trendPictureSize(static_cast<const TrendModel*>(chart())->chart(), checkTexts());
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), pageFiles(files));
        int height = 0;
        QImage first;
        for (const QString& name : pageFiles(files)) {
            QImage image;
            QVERIFY(image.load(out.filePath(name), "PNG"));
            QCOMPARE(image.width(), 2 * logical.width());
            QVERIFY(image.height() <= 32767);
            QVERIFY(image.height() % 2 == 0);
            // The header row on top, filled as in the chart, then the row line under it.
            QCOMPARE(image.pixelColor(4, kTrendHeaderHeight), kHeaderFill);
            QCOMPARE(image.pixelColor(4, 2 * kTrendHeaderHeight), kGridLine);
            QCOMPARE(image.pixelColor(4, 2 * kTrendHeaderHeight + kTrendRowHeight), QColor(Qt::white));
            const QRect header(0, 0, image.width(), 2 * kTrendHeaderHeight);
            if (first.isNull())
                first = image;
            else
                QCOMPARE(image.copy(header), first.copy(header));
            height += image.height() / 2;
        }
        QCOMPARE(height, logical.height() + (files - 1) * kTrendHeaderHeight);
        QCOMPARE(control<QLabel>(tab, "Label_status")->text(),
                 QStringLiteral("图片较长，已分为%1个文件：%2").arg(files).arg(names));
    }

    // Where pages would replace files, or leave those of an earlier, longer export looking like part
    // of them, one question names them all; only Yes writes the pages and removes the old ones, and
    // nothing else in the folder changes.
    void pagesReplaceOnlyAfterAsking_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << dialogs::kYes;
        QTest::newRow("no") << dialogs::kNo;
    }

    void pagesReplaceOnlyAfterAsking() {
        QFETCH(int, answer);
        startOnLongChart();
        QTemporaryDir out;
        const QStringList before{"走势-1.png=old 1", "走势-3.png=old 3", "走势-4.png=old 4",
                                 "走势-5.png=old 5", "走势-7.png=old 7", "走势.png=mine"};
        createEntries(out.path(), before);
        script->queueFileName(out.filePath(QStringLiteral("走势.png")));
        script->queueAnswer(answer);
        QTest::mouseClick(control<QPushButton>(tab, "Button_png"), Qt::LeftButton);
        QCOMPARE(script->shown().size(), answer == dialogs::kYes ? 3 : 2);
        QCOMPARE(script->shown().at(1).title, QStringLiteral("确认"));
        QCOMPARE(script->shown().at(1).text,
                 QStringLiteral("图片较长，将分为3个文件：走势-1.png … 走势-3.png\n"
                                "其中已存在的将被替换：走势-1.png、走势-3.png\n"
                                "先前导出的走势-4.png … 走势-5.png将被删除\n"
                                "是否继续？"));
        QCOMPARE(script->unanswered(), 0);
        if (answer == dialogs::kNo) {
            QCOMPARE(entries(out.path()), before);
            QCOMPARE(control<QLabel>(tab, "Label_status")->text(), QString());
            return;
        }
        const QStringList after = entries(out.path());
        QCOMPARE(after.size(), 5);
        QCOMPARE(after.mid(3), (QStringList{"走势-7.png=old 7", "走势.png=mine"}));
        for (const QString& name : pageFiles(3)) {
            QImage image;
            QVERIFY(image.load(out.filePath(name), "PNG"));
        }
        QCOMPARE(control<QLabel>(tab, "Label_status")->text(),
                 QStringLiteral("图片较长，已分为3个文件：走势-1.png … 走势-3.png"));
    }

    // A page that cannot take its place, or a folder that takes no file, fails the export whole: no
    // page new, the old ones as they were, no temporary file left.
    void pagesWholeOrNothing_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::addColumn<int>("boxes"); // save dialog, question, progress, failure
        // A folder in the place of page 2 of 3: pages 1 and 3 are written first, then page 1 takes its
        // place before page 2 fails to take its own.
        QTest::newRow("page 2 of 3 fails")
            << QStringList{"走势-1.png=old 1", "走势-2.png/", "走势-3.png=old 3", "走势-4.png=old 4"} << false
            << 4;
        // Refused before anything is drawn or asked.
        QTest::newRow("read-only folder") << QStringList{"走势-1.png=old 1"} << true << 2;
    }

    void pagesWholeOrNothing() {
        QFETCH(QStringList, before);
        QFETCH(bool, readOnlyFolder);
        QFETCH(int, boxes);
        startOnLongChart();
        QTemporaryDir out;
        createEntries(out.path(), before);
        constexpr auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
        if (readOnlyFolder)
            QVERIFY(QFile::setPermissions(out.path(), readOnly));
        script->queueFileName(out.filePath(QStringLiteral("走势.png")));
        script->queueAnswer(dialogs::kYes);
        QTest::mouseClick(control<QPushButton>(tab, "Button_png"), Qt::LeftButton);
        QFile::setPermissions(out.path(), readOnly | QFile::WriteOwner);
        QCOMPARE(script->shown().size(), boxes);
        QCOMPARE(script->shown().last().title, QStringLiteral("提示"));
        QVERIFY2(script->shown().last().text.startsWith(QStringLiteral("导出失败：")),
                 qPrintable(script->shown().last().text));
        QVERIFY(script->shown().last().text.size() > 5);
        QCOMPARE(entries(out.path()), before);
        QCOMPARE(control<QLabel>(tab, "Label_status")->text(), QString());
    }

    // Cancelled at any step, before the first page or after the last, nothing is written.
    void pagesCancelled_data() {
        QTest::addColumn<int>("step");
        QTest::newRow("before page 1") << 0;
        QTest::newRow("before page 3") << 2;
        QTest::newRow("after page 3") << 3;
    }

    void pagesCancelled() {
        QFETCH(int, step);
        startOnLongChart();
        QTemporaryDir out;
        const QStringList before{"走势-2.png=old 2", "走势-4.png=old 4"};
        createEntries(out.path(), before);
        script->queueFileName(out.filePath(QStringLiteral("走势.png")));
        script->queueAnswer(dialogs::kYes);
        script->queueProgressCancel(step);
        QTest::mouseClick(control<QPushButton>(tab, "Button_png"), Qt::LeftButton);
        QCOMPARE(script->shown().size(), 3);
        QCOMPARE(entries(out.path()), before);
        QCOMPARE(control<QLabel>(tab, "Label_status")->text(), QStringLiteral("已取消导出"));
    }

    // The real progress dialog, not the seam: shown at once over the window with its texts; its
    // Cancel button, or Esc, stops the work at the next step.
    void realProgressDialog_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Esc") << true;
    }

    void realProgressDialog() {
        QFETCH(bool, byKey);
        start();
        script.reset();
        dialogs::Progress progress(window.get(), QStringLiteral("导出图片"), QStringLiteral("将分为3个文件"),
                                   3);
        auto* dialog = window->findChild<QProgressDialog*>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("导出图片"));
        QCOMPARE(dialog->labelText(), QStringLiteral("将分为3个文件"));
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QVERIFY(progress.advance(1));
        QCOMPARE(dialog->value(), 1);
        auto* cancel = dialog->findChild<QPushButton*>();
        QVERIFY(cancel);
        QCOMPARE(cancel->text(), QStringLiteral("取消"));
        if (byKey)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            cancel->click();
        QVERIFY(!progress.advance(2));
        QVERIFY(!progress.advance(3));
    }

    // The pages of a picture: the header row on the first page only once, every later page as much
    // less; rows, footers and the mark check never cut.
    void pageBreaks_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("checkHeight");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QList<int>>("breaks");
        const int h = kTrendHeaderHeight;
        const int r = kTrendRowHeight;
        // 2 rows and 6 footers: 24 + 8 · 22 + 40 = 240.
        QTest::newRow("one page") << 2 << 40 << 240 << QList<int>{0, 240};
        QTest::newRow("the check alone on a page") << 2 << 40 << 239 << QList<int>{0, h + 8 * r, 240};
        // Each later page holds header + 3 rows.
        QTest::newRow("header on every page")
            << 2 << 40 << h + 3 * r << QList<int>{0, h + 3 * r, h + 6 * r, h + 8 * r, 240};
        QTest::newRow("a check taller than a page still whole")
            << 0 << 200 << h + 3 * r << QList<int>{0, h + 3 * r, h + 6 * r, h + 6 * r + 200};
    }

    void pageBreaks() {
        QFETCH(int, rows);
        QFETCH(int, checkHeight);
        QFETCH(int, limit);
        QFETCH(QList<int>, breaks);
        QCOMPARE(trendPageBreaks(rows, checkHeight, limit), breaks);
    }

    // How the tab shares its height. The chart's least is ten rows, under the header, in a frame, with
    // a sideways scroll bar where the columns do not fit; a footer row needs 24 with the frame, all six
    // 134. Results: compact, chart top and height, footer height, texts top and height, status top,
    // buttons' top.
    void bands_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("texts");
        QTest::addColumn<int>("textsLeast"); // the mark check alone
        QTest::addColumn<int>("textsMoved"); // the buttons that do not fit beside the span list
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("chartLeast");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<QList<int>>("bands");
        // The design size: 766 less the header and the tab strip; two lines of text take the 44 the
        // tab was designed with, as before.
        QTest::newRow("design size") << 666 << 36 << 36 << 0 << 0 << 246 << true
                                     << QList<int>{0, 44, 398, 134, 580, 44, 0, 628};
        QTest::newRow("design size, three lines of text")
            << 666 << 54 << 54 << 0 << 0 << 261 << true << QList<int>{0, 44, 388, 134, 570, 54, 0, 628};
        QTest::newRow("taller: the chart grows")
            << 900 << 36 << 36 << 0 << 0 << 246 << true << QList<int>{0, 44, 632, 134, 814, 44, 0, 862};
        // 1366 × 768 at 125 %: 614 high, the footers scroll.
        QTest::newRow("footers give up height")
            << 514 << 54 << 54 << 0 << 0 << 261 << true << QList<int>{0, 44, 261, 109, 418, 54, 0, 476};
        // At 150 %: 512 high; the export buttons go up beside the span list.
        QTest::newRow("buttons beside the span list")
            << 412 << 54 << 54 << 0 << 0 << 261 << true << QList<int>{1, 44, 261, 41, 350, 54, 404, 8};
        QTest::newRow("the status under the texts")
            << 412 << 54 << 54 << 0 << 16 << 261 << true << QList<int>{1, 44, 261, 25, 334, 54, 388, 8};
        // Where the buttons do not fit beside the list, they stay; the chart gives up rows.
        QTest::newRow("buttons that do not fit")
            << 412 << 54 << 54 << 0 << 0 << 261 << false << QList<int>{0, 44, 244, 24, 316, 54, 0, 374};
        // Shorter than the mark check and the uniformity check with the scan button under them (it does
        // not fit beside the span list) allow: they scroll, keeping the mark check whole.
        QTest::newRow("the texts scroll")
            << 412 << 90 << 54 << 30 << 0 << 261 << true << QList<int>{1, 44, 261, 24, 333, 71, 404, 8};
        QTest::newRow("the texts scroll, the buttons at the foot")
            << 412 << 90 << 54 << 0 << 0 << 261 << false << QList<int>{0, 44, 244, 24, 316, 54, 0, 374};
        // Shorter still: the footers keep one row, the texts all theirs, the chart the rest.
        QTest::newRow("very short") << 300 << 36 << 36 << 0 << 0 << 246 << true
                                    << QList<int>{1, 44, 184, 24, 256, 36, 292, 8};
    }

    void bands() {
        QFETCH(int, tab);
        QFETCH(int, texts);
        QFETCH(int, textsLeast);
        QFETCH(int, textsMoved);
        QFETCH(int, status);
        QFETCH(int, chartLeast);
        QFETCH(bool, fits);
        QFETCH(QList<int>, bands);
        TrendHeights heights;
        heights.tab = tab;
        heights.texts = texts;
        heights.textsLeast = textsLeast;
        heights.textsMoved = textsMoved;
        heights.status = status;
        heights.chartLeast = chartLeast;
        heights.footerFull = 134;
        heights.footerLeast = 24;
        heights.exportFitsBesideSpan = fits;
        const TrendBands got = trendBands(heights);
        QCOMPARE((QList<int>{got.compact, got.chartTop, got.chartHeight, got.footerHeight, got.textsTop,
                             got.textsHeight, got.statusTop, got.buttonsTop}),
                 bands);
        QCOMPARE(got.footerTop, got.chartTop + got.chartHeight);
    }

    void pageNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<QString>("names");
        QTest::newRow("one") << "/d/a.png" << QList<int>{4} << "a-4.png";
        QTest::newRow("in a row") << "/d/a.png" << QList<int>{1, 2, 3} << "a-1.png … a-3.png";
        QTest::newRow("two in a row") << "/d/a.png" << QList<int>{4, 5} << "a-4.png … a-5.png";
        QTest::newRow("apart") << "/d/a.png" << QList<int>{1, 3, 5, 6, 7}
                               << "a-1.png、a-3.png、a-5.png … a-7.png";
        QTest::newRow("another suffix") << "/d/a.txt" << QList<int>{1, 2} << "a.txt-1.png … a.txt-2.png";
    }

    void pageNames() {
        QFETCH(QString, path);
        QFETCH(QList<int>, pages);
        QFETCH(QString, names);
        QCOMPARE(trendPageNames(path, pages), names);
    }

    // A name typed without a suffix gets the export's own.
    void exportAddsTheSuffix_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("csv") << "Button_csv"
                             << "abc"
                             << "abc.csv";
        QTest::newRow("png") << "Button_png"
                             << "abc"
                             << "abc.png";
        QTest::newRow("a suffix of its own") << "Button_csv"
                                             << "abc.txt"
                                             << "abc.txt";
    }

    void exportAddsTheSuffix() {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        start();
        selectTrendTab();
        QTemporaryDir out;
        script->queueFileName(out.filePath(typed));
        QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(control<QLabel>(tab, "Label_status")->text(), QStringLiteral("已导出：") + written);
    }

    // An export into a folder that cannot be written says so and leaves nothing there; an old file
    // that cannot be replaced stays as it was.
    void exportFails_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("oldFile");
        QTest::newRow("csv, read-only folder") << "Button_csv" << false;
        QTest::newRow("png, read-only folder") << "Button_png" << false;
        QTest::newRow("csv, read-only old file") << "Button_csv" << true;
        QTest::newRow("png, read-only old file") << "Button_png" << true;
    }

    void exportFails() {
        QFETCH(QString, button);
        QFETCH(bool, oldFile);
        start();
        selectTrendTab();
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("走势.out"));
        constexpr auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
        if (oldFile) {
            writeFile(file, "old");
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner));
        } else {
            QVERIFY(QFile::setPermissions(out.path(), readOnly));
        }
        script->queueFileName(file);
        QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
        QFile::setPermissions(out.path(), readOnly | QFile::WriteOwner);
        QCOMPARE(script->shown().size(), 2);
        QCOMPARE(script->shown().last().title, QStringLiteral("提示"));
        QVERIFY2(script->shown().last().text.startsWith(QStringLiteral("导出失败：")),
                 qPrintable(script->shown().last().text));
        QVERIFY(script->shown().last().text.size() > 5);
        const QStringList left = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, oldFile ? QStringList{QStringLiteral("走势.out")} : QStringList());
        if (oldFile)
            QCOMPARE(readFile(file), QByteArray("old"));
    }
};

DRAVIK_GUI_TEST_MAIN(TrendTabTest)
#include "tst_trend.moc"
