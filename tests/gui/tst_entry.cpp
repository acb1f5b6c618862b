// The data-entry page: opening it, the table and period list, adding, replacing and deleting draws,
// going back, long record files, new and refused archive names, and the keyboard.
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "pages/settings_tab.h"
#include "storage/data_folder.h"
#include "storage/record_list.h"
#include "ui/choice_combo.h"
#include "ui/image_button.h"
#include "ui/tab_control.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTableWidget>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kArchive = QStringLiteral("测试");
const QString kQuestion = QStringLiteral("记录已存在，是否更改？");
const QString kMissingFile = QStringLiteral("Dravik不存在，请录入！");
const QString kEmptyFields = QStringLiteral("请先填写期数和号码");
const QString kNothingToDelete = QStringLiteral("未选择期数或无记录");
const QString kNoSuchRecord = QStringLiteral("记录不存在");

const QStringList kThree = {"101.05", "102.17", "103.33"};

} // namespace

class EntryTest : public WindowTestCase {
    Q_OBJECT

    DataEntryPage* page = nullptr;

    QString recordPath(const QString& archive = kArchive) const {
        return home->dataFolder() + archive + QStringLiteral(".dat");
    }
    QStringList fileLines(const QString& archive = kArchive) const {
        QStringList lines = QString::fromUtf8(readFile(recordPath(archive))).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    QStringList rows() const { return gridRows(*control<QTableWidget>(page, "StringGrid2")); }

    // An offline start with 测试 as the last-used archive, its record file holding the bytes (none: no
    // file), on the settings tab. Its settings are those of the built-in game unless the test wrote others.
    void start(const std::optional<QByteArray>& records) {
        // Settings of its own, unless the test gave some: the analysis that follows going back needs them.
        const QString settings = home->dataFolder() + kArchive + QStringLiteral(".ini");
        if (!QFile::exists(settings))
            writeFile(settings, settingsBytes(kArchive, QStringLiteral("36 6 6 0"), 1, 0, 0));
        window = startOnArchive(*home, kArchive, records);
        page = entryPage(*window);
        QCOMPARE(settingsTab(*window)->archiveName(), kArchive);
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        script->clear();
    }

    void clickIn() {
        QTest::mouseClick(control<ui::ImageButton>(settingsTab(*window), "Button_in"), Qt::LeftButton);
    }

    // Starts with the lines as the record file and opens the page on it.
    void open(const QStringList& lines) {
        start(recordFileBytes(lines));
        clickIn();
        QCOMPARE(shownPage(*window), entryPage(*window));
        QCOMPARE(script->texts(), QStringList());
    }

    void typeInto(ui::ChoiceCombo* combo, const QString& text) {
        QLineEdit* edit = combo->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        QCOMPARE(combo->currentText(), text);
    }

    void typeName(const QString& name) {
        QLineEdit* edit = control<ui::ChoiceCombo>(settingsTab(*window), "Edit_name")->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, name);
        QCOMPARE(settingsTab(*window)->archiveName(), name);
    }

    void enter(const QString& period, const QString& number) {
        typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), period);
        typeInto(control<ui::ChoiceCombo>(page, "Edit_hm"), number);
    }

private slots:
    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect"); // in window coordinates
        QTest::newRow("Layout2") << "Layout2" << QRect(0, 0, 442, 50);
        QTest::newRow("Label4") << "Label4" << QRect(0, 0, 442, 50);
        QTest::newRow("Button_back") << "Button_back" << QRect(10, 0, 45, 50);
        QTest::newRow("ListBox3") << "ListBox3" << QRect(10, 50, 422, 138);
        QTest::newRow("Edit_qs") << "Edit_qs" << QRect(75, 53, 347, 32);
        QTest::newRow("Edit_hm") << "Edit_hm" << QRect(75, 93, 347, 32);
        // Centred in the row less 60 on one side: left of the centre for delete, right of it for add;
        // import 60 further right.
        QTest::newRow("Button_del") << "Button_del" << QRect(10 + 158, 127, 45, 45);
        QTest::newRow("Button_add") << "Button_add" << QRect(10 + 60 + 158, 127, 45, 45);
        QTest::newRow("Button_import") << "Button_import" << QRect(10 + 120 + 158, 127, 45, 45);
        QTest::newRow("StringGrid2") << "StringGrid2" << QRect(10, 188, 422, 578);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        open(kThree);
        auto* widget = window->findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(QRect(widget->mapTo(window.get(), QPoint(0, 0)), widget->size()), rect);
    }

    void controls() {
        open(kThree);
        QCOMPARE(control<QLabel>(page, "Label4")->text(), QStringLiteral("数据录入"));
        QCOMPARE(control<QLabel>(page, "Label4")->font().pointSize(), 20);
        QTableWidget* grid = control<QTableWidget>(page, "StringGrid2");
        QStringList headers;
        for (int c = 0; c < grid->columnCount(); ++c)
            headers.append(grid->horizontalHeaderItem(c)->text());
        QCOMPARE(headers, (QStringList{"序", "期数", "号码"}));
        QCOMPARE(grid->columnWidth(0), 60);
        QCOMPARE(grid->columnWidth(1), 180);
        QCOMPARE(grid->columnWidth(2), 60);
        QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 30);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(grid->item(0, 1)->textAlignment(), int(Qt::AlignCenter));
        QCOMPARE(grid->item(0, 1)->foreground().color(), QColor(0x1E, 0x90, 0xFF));
        for (QWidget* button : {static_cast<QWidget*>(control<ui::ImageButton>(page, "Button_back")),
                                static_cast<QWidget*>(control<ui::ImageButton>(page, "Button_add")),
                                static_cast<QWidget*>(control<ui::ImageButton>(page, "Button_import")),
                                static_cast<QWidget*>(control<ui::ImageButton>(page, "Button_del"))})
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        // act_setedit filled the number choices once.
        QStringList numbers;
        for (int n = 0; n <= 60; ++n)
            numbers.append(QString::number(n));
        QCOMPARE(comboItems(*control<ui::ChoiceCombo>(page, "Edit_hm")), numbers);
    }

    void opensNewestFirst() {
        open(kThree);
        QCOMPARE(rows(), (QStringList{"3|103|33", "2|102|17", "1|101|05"}));
        QCOMPARE(comboItems(*control<ui::ChoiceCombo>(page, "Edit_qs")), (QStringList{"103", "102", "101"}));
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->currentText(), QString());
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_hm")->currentText(), QString());
        QCOMPARE(entryPage(*window)->records().file(), recordPath());
    }

    void opensClearingTheFields() {
        open(kThree);
        enter(QStringLiteral("999"), QStringLiteral("9"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_back"), Qt::LeftButton);
        clickIn();
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->currentText(), QString());
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_hm")->currentText(), QString());
    }

    // Adding or replacing a record by the button or by Enter in the number field.
    void add_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("after"); // empty: the file is left as it was
        QTest::addColumn<QString>("topRow");

        const QStringList none;
        QTest::newRow("new period") << kThree << "104"
                                    << "12" << false << 0 << none
                                    << QStringList{"101.05", "102.17", "103.33", "104.12"} << "4|104|12";
        QTest::newRow("new period by Enter")
            << kThree << "104"
            << "12" << true << 0 << none << QStringList{"101.05", "102.17", "103.33", "104.12"} << "4|104|12";
        QTest::newRow("replace, Yes") << kThree << "102"
                                      << "08" << false << dialogs::kYes << QStringList{kQuestion}
                                      << QStringList{"101.05", "102.08", "103.33"} << "3|103|33";
        QTest::newRow("replace by Enter, Yes") << kThree << "102"
                                               << "08" << true << dialogs::kYes << QStringList{kQuestion}
                                               << QStringList{"101.05", "102.08", "103.33"} << "3|103|33";
        QTest::newRow("replace, No") << kThree << "102"
                                     << "08" << false << dialogs::kNo << QStringList{kQuestion} << none
                                     << "3|103|33";
        // The earlier line of the period in file order is the one replaced; the write is sorted.
        QTest::newRow("two lines of a period") << QStringList{"102.30", "101.05", "102.17"} << "102"
                                               << "08" << false << dialogs::kYes << QStringList{kQuestion}
                                               << QStringList{"101.05", "102.08", "102.17"} << "3|102|17";
        QTest::newRow("empty period")
            << kThree << ""
            << "12" << false << 0 << QStringList{kEmptyFields} << none << "3|103|33";
        QTest::newRow("empty number") << kThree << "104"
                                      << "" << false << 0 << QStringList{kEmptyFields} << none << "3|103|33";
        QTest::newRow("empty number by Enter")
            << kThree << "104"
            << "" << true << 0 << QStringList{kEmptyFields} << none << "3|103|33";
        // Periods are compared exactly; a line equal under the record comparison is not added twice.
        QTest::newRow("period differing in case")
            << QStringList{"A1.05"} << "a1"
            << "05" << false << 0 << none << QStringList{"A1.05"} << "1|A1|05";
        // A full stop in the period is kept as typed and read back split at the first one.
        QTest::newRow("full stop in the period")
            << kThree << "104.5"
            << "12" << false << 0 << none << QStringList{"101.05", "102.17", "103.33", "104.5.12"}
            << "4|104|5.12";
    }

    void add() {
        QFETCH(QStringList, before);
        QFETCH(QString, period);
        QFETCH(QString, number);
        QFETCH(bool, byEnter);
        QFETCH(int, answer);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, after);
        QFETCH(QString, topRow);
        open(before);
        const QByteArray bytes = readFile(recordPath());
        if (!period.isEmpty())
            typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), period);
        if (!number.isEmpty())
            typeInto(control<ui::ChoiceCombo>(page, "Edit_hm"), number);
        if (answer)
            script->queueAnswer(answer);
        if (byEnter)
            QTest::keyClick(control<ui::ChoiceCombo>(page, "Edit_hm"),
                            Qt::Key_Return); // the combo has the focus, not its text field
        else
            QTest::mouseClick(control<ui::ImageButton>(page, "Button_add"), Qt::LeftButton);
        QCOMPARE(script->texts(), shown);
        QCOMPARE(script->pendingAnswers(), 0);
        if (after.isEmpty())
            QCOMPARE(readFile(recordPath()), bytes);
        else
            QCOMPARE(fileLines(), after);
        QCOMPARE(rows().value(0), topRow);
        // The fields keep what was typed; the period list follows the table.
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->currentText(), period);
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_hm")->currentText(), number);
        QStringList periods;
        for (const QString& row : rows()) {
            const QString rowPeriod = row.section(QLatin1Char('|'), 1, 1);
            if (!periods.contains(rowPeriod))
                periods.append(rowPeriod);
        }
        QCOMPARE(comboItems(*control<ui::ChoiceCombo>(page, "Edit_qs")), periods);
    }

    // An archive of six numbers a draw (双色球's red balls, 33 ÷ 3 = 11 … 0): the number field takes six
    // different numbers, written joined by one blank; anything else is refused before anything else.
    void addSeveralNumbers_data() {
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("written"); // empty: the file is left as it was

        const QString refused = QStringLiteral("号码应为6个不同的数字，用空格分开");
        QTest::newRow("blanks") << "2024004"
                                << "01 05 12 18 22 31" << QStringList() << "2024004.01 05 12 18 22 31";
        QTest::newRow("commas and tabs")
            << "2024004"
            << "31,05，12\t18,,22 01" << QStringList() << "2024004.31 05 12 18 22 01";
        QTest::newRow("five") << "2024004"
                              << "01 05 12 18 22" << QStringList{refused} << "";
        QTest::newRow("a number twice") << "2024004"
                                        << "01 05 12 18 22 22" << QStringList{refused} << "";
        QTest::newRow("not a number") << "2024004"
                                      << "01 05 12 18 22 3l" << QStringList{refused} << "";
        QTest::newRow("before the empty period") << ""
                                                 << "01 05" << QStringList{refused} << "";
        // Numbers are the archive's: written as its labels, refused where no label has the value.
        const QString range = QStringLiteral("号码应在01～33之间");
        QTest::newRow("written as labels") << "2024004"
                                           << "1 2 3 4 5 6" << QStringList() << "2024004.01 02 03 04 05 06";
        QTest::newRow("leading zeros")
            << "2024004"
            << "001 002 003 004 005 033" << QStringList() << "2024004.01 02 03 04 05 33";
        QTest::newRow("above the last") << "2024004"
                                        << "01 05 12 18 22 34" << QStringList{range} << "";
        QTest::newRow("far above") << "2024004"
                                   << "01 05 12 18 22 99" << QStringList{range} << "";
        QTest::newRow("below the first") << "2024004"
                                         << "00 05 12 18 22 31" << QStringList{range} << "";
        QTest::newRow("one value twice, written two ways")
            << "2024004"
            << "1 01 12 18 22 31" << QStringList{refused} << "";
        QTest::newRow("empty period") << ""
                                      << "01 05 12 18 22 31" << QStringList{kEmptyFields} << "";
    }

    void addSeveralNumbers() {
        QFETCH(QString, period);
        QFETCH(QString, number);
        QFETCH(QStringList, shown);
        QFETCH(QString, written);
        writeFile(
            home->dataFolder() + kArchive + QStringLiteral(".ini"),
            "[dravik]\r\nname=测试\r\n[math]\r\nX=33\r\nA=3\r\nB=11\r\nC=0\r\nK=6\r\n[from]\r\nr1=1\r\n");
        const QStringList before{"2024001.02 09 15 21 27 33", "2024002.03 07 12 19 25 31"};
        open(before);
        const QByteArray bytes = readFile(recordPath());
        if (!period.isEmpty())
            typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), period);
        // Pasted: a tab and a full-width comma have no key to type them with.
        control<ui::ChoiceCombo>(page, "Edit_hm")->lineEdit()->setText(number);
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_add"), Qt::LeftButton);
        QCOMPARE(script->texts(), shown);
        if (written.isEmpty()) {
            QCOMPARE(readFile(recordPath()), bytes);
            return;
        }
        QCOMPARE(fileLines(), before + QStringList{written});
        // The table shows the whole number text, in a column wide enough for it.
        QTableWidget* grid = control<QTableWidget>(page, "StringGrid2");
        QCOMPARE(grid->item(0, 2)->text(), written.section(QLatin1Char('.'), 1));
        QVERIFY(grid->columnWidth(2) >=
                QFontMetrics(grid->item(0, 2)->font()).horizontalAdvance(grid->item(0, 2)->text()));
        QVERIFY(grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2) <=
                grid->viewport()->width());
    }

    void remove_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("after"); // empty: the file is left as it was
        QTest::addColumn<QStringList>("table");

        const QStringList none;
        QTest::newRow("one line") << kThree << "102" << none << QStringList{"101.05", "103.33"}
                                  << QStringList{"2|103|33", "1|101|05"};
        // Every line of the period goes; the lines that stay keep their order in the file.
        QTest::newRow("two lines, unsorted")
            << QStringList{"103.33", "102.30", "101.05", "102.17"} << "102" << none
            << QStringList{"103.33", "101.05"} << QStringList{"2|101|05", "1|103|33"};
        QTest::newRow("missing period") << kThree << "104" << QStringList{kNoSuchRecord} << none
                                        << QStringList{"3|103|33", "2|102|17", "1|101|05"};
        QTest::newRow("period differing in case")
            << QStringList{"A1.05"} << "a1" << QStringList{kNoSuchRecord} << none << QStringList{"1|A1|05"};
        QTest::newRow("empty period") << kThree << "" << QStringList{kNothingToDelete} << none
                                      << QStringList{"3|103|33", "2|102|17", "1|101|05"};
    }

    void remove() {
        QFETCH(QStringList, before);
        QFETCH(QString, period);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, after);
        QFETCH(QStringList, table);
        open(before);
        const QByteArray bytes = readFile(recordPath());
        if (!period.isEmpty())
            typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), period);
        typeInto(control<ui::ChoiceCombo>(page, "Edit_hm"), QStringLiteral("17"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_del"), Qt::LeftButton);
        QCOMPARE(script->texts(), shown);
        QCOMPARE(rows(), table);
        if (after.isEmpty()) {
            QCOMPARE(readFile(recordPath()), bytes);
            QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->currentText(), period);
            QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_hm")->currentText(), QStringLiteral("17"));
        } else {
            QCOMPARE(fileLines(), after);
            QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->currentText(), QString());
            QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_hm")->currentText(), QString());
        }
    }

    void removeTwice() {
        open(kThree);
        typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), QStringLiteral("102"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_del"), Qt::LeftButton);
        QCOMPARE(script->texts(), QStringList());
        typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), QStringLiteral("102"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_del"), Qt::LeftButton);
        QCOMPARE(script->texts(), QStringList{kNoSuchRecord});
        QCOMPARE(fileLines(), (QStringList{"101.05", "103.33"}));
    }

    void clickCopiesRow() {
        open(kThree);
        QTableWidget* grid = control<QTableWidget>(page, "StringGrid2");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(1, 1)).center());
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->currentText(), QStringLiteral("102"));
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_hm")->currentText(), QStringLiteral("17"));
        // Below the last row there is nothing to copy.
        typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), QStringLiteral("7"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(100, grid->viewport()->height() - 5));
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->currentText(), QStringLiteral("7"));
    }

    void backWritesSorted() {
        open({"103.33", "101.05", "102.17"});
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_back"), Qt::LeftButton);
        QCOMPARE(shownPage(*window), mainPage(*window));
        QCOMPARE(fileLines(), (QStringList{"101.05", "102.17", "103.33"}));
        QCOMPARE(script->texts(), QStringList());
    }

    // The page holds the last 100 lines; every save writes the 30 before them back first, unchanged.
    void longRecordFile() {
        const QStringList history = longHistory();
        const QStringList older = history.first(30);
        open(history);
        QCOMPARE(control<QTableWidget>(page, "StringGrid2")->rowCount(), 100);
        QCOMPARE(rows().first(), QStringLiteral("100|10130|") + history.last().mid(6));
        QCOMPARE(rows().last(), QStringLiteral("1|10031|") + history.at(30).mid(6));

        enter(QStringLiteral("10131"), QStringLiteral("7"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_add"), Qt::LeftButton);
        QCOMPARE(fileLines().size(), 131);
        QCOMPARE(fileLines().first(30), older);
        QCOMPARE(fileLines().last(), QStringLiteral("10131.7"));
        QCOMPARE(rows().first(), QStringLiteral("100|10131|7"));

        script->queueAnswer(dialogs::kYes);
        enter(QStringLiteral("10100"), QStringLiteral("9"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_add"), Qt::LeftButton);
        QCOMPARE(fileLines().first(30), older);
        QVERIFY(fileLines().contains(QStringLiteral("10100.9")));

        typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), QStringLiteral("10131"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_del"), Qt::LeftButton);
        QCOMPARE(fileLines().size(), 130);
        QCOMPARE(fileLines().first(30), older);

        QTest::mouseClick(control<ui::ImageButton>(page, "Button_back"), Qt::LeftButton);
        QStringList expected = history;
        expected[99] = QStringLiteral("10100.9");
        QCOMPARE(fileLines(), expected);
        QCOMPARE(script->texts(), QStringList{kQuestion});
    }

    // A typed new name: the missing file is reported, going back writes nothing, the first add creates it.
    void newArchive() {
        start(std::nullopt);
        typeName(QStringLiteral("fresh"));
        clickIn();
        QCOMPARE(shownPage(*window), entryPage(*window));
        QCOMPARE(script->texts(), QStringList{kMissingFile});
        QCOMPARE(control<QTableWidget>(page, "StringGrid2")->rowCount(), 0);
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->count(), 0);
        QCOMPARE(entryPage(*window)->records().file(), recordPath(QStringLiteral("fresh")));

        typeInto(control<ui::ChoiceCombo>(page, "Edit_qs"), QStringLiteral("1"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_del"), Qt::LeftButton);
        QCOMPARE(script->texts().last(), kNothingToDelete);
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_back"), Qt::LeftButton);
        QCOMPARE(shownPage(*window), mainPage(*window));
        QVERIFY(!QFile::exists(recordPath(QStringLiteral("fresh"))));

        script->clear();
        clickIn();
        QCOMPARE(script->texts(), QStringList{kMissingFile});
        enter(QStringLiteral("1"), QStringLiteral("5"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_add"), Qt::LeftButton);
        QCOMPARE(readFile(recordPath(QStringLiteral("fresh"))), QByteArray("1.5\r\n"));
        QCOMPARE(rows(), QStringList{"1|1|5"});
        QCOMPARE(script->texts(), QStringList{kMissingFile});
    }

    void refusedNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "请先设置档案名";
        QTest::newRow("separator") << "../outside"
                                   << "档案名无效，请重新输入";
        QTest::newRow("backslash") << "a\\b"
                                   << "档案名无效，请重新输入";
        QTest::newRow("dot dot") << ".."
                                 << "档案名无效，请重新输入";
    }

    void refusedNames() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        start(recordFileBytes(kThree));
        if (name.isEmpty()) {
            QLineEdit* edit = control<ui::ChoiceCombo>(settingsTab(*window), "Edit_name")->lineEdit();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QCOMPARE(settingsTab(*window)->archiveName(), QString());
        } else {
            typeName(name);
        }
        clickIn();
        QCOMPARE(script->texts(), QStringList{message});
        QCOMPARE(shownPage(*window), mainPage(*window));
        QVERIFY(entryPage(*window)->records().file().isEmpty());
    }

    // A record file that cannot be read: the error is shown and the table no longer holds the archive
    // shown before, so going back writes nothing and leaves the page.
    void unreadableFile() {
        open(kThree);
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_back"), Qt::LeftButton);
        const QByteArray bad = QByteArray("\xEF\xBB\xBF") + "101.05\r\n\xFF\xFE\r\n";
        writeFile(recordPath(QStringLiteral("bad")), bad);
        typeName(QStringLiteral("bad"));
        script->clear();
        clickIn();
        QCOMPARE(script->shown().size(), 1);
        QCOMPARE(script->shown().first().title, QStringLiteral("错误"));
        QCOMPARE(control<QTableWidget>(page, "StringGrid2")->rowCount(), 0);
        QCOMPARE(control<ui::ChoiceCombo>(page, "Edit_qs")->count(), 0);
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_back"), Qt::LeftButton);
        QCOMPARE(shownPage(*window), mainPage(*window));
        QCOMPARE(readFile(recordPath(QStringLiteral("bad"))), bad);
        QCOMPARE(fileLines(), kThree);
    }

    void utf8MarkKept() {
        const QByteArray mark("\xEF\xBB\xBF");
        start(mark + recordFileBytes({"103.33", "101.05"}));
        clickIn();
        enter(QStringLiteral("104"), QStringLiteral("12"));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_add"), Qt::LeftButton);
        QCOMPARE(readFile(recordPath()), mark + recordFileBytes({"101.05", "103.33", "104.12"}));
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_back"), Qt::LeftButton);
        QCOMPARE(readFile(recordPath()), mark + recordFileBytes({"101.05", "103.33", "104.12"}));
    }

    // A line break or NUL in a field would split the record or end the file early when it is read
    // again: the fields never take one, also not by pasting.
    void fieldsStayOneLine_data() {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("LF") << QStringLiteral("2\n3");
        QTest::newRow("CR") << QStringLiteral("2\r3");
        QTest::newRow("NUL") << QStringLiteral("2") + QChar(0) + QStringLiteral("3");
    }

    void fieldsStayOneLine() {
        QFETCH(QString, pasted);
        open(kThree);
        for (ui::ChoiceCombo* field :
             {control<ui::ChoiceCombo>(page, "Edit_qs"), control<ui::ChoiceCombo>(page, "Edit_hm")}) {
            typeInto(field, QStringLiteral("1"));
            field->lineEdit()->insert(pasted);
            QCOMPARE(field->currentText(), QStringLiteral("1"));
            field->lineEdit()->insert(QStringLiteral("2 3"));
            QCOMPARE(field->currentText(), QStringLiteral("12 3"));
        }
    }

    void tabOrder() {
        open(kThree);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        control<ui::ChoiceCombo>(page, "Edit_qs")->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), control<ui::ChoiceCombo>(page, "Edit_qs"));
        const QList<QWidget*> order = {
            control<ui::ChoiceCombo>(page, "Edit_hm"), control<ui::ImageButton>(page, "Button_add"),
            control<ui::ImageButton>(page, "Button_import"), control<ui::ImageButton>(page, "Button_del")};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // Space on the focused add button adds, as a click does.
        enter(QStringLiteral("104"), QStringLiteral("12"));
        control<ui::ImageButton>(page, "Button_add")->setFocus();
        QTest::keyClick(control<ui::ImageButton>(page, "Button_add"), Qt::Key_Space);
        QCOMPARE(fileLines().last(), QStringLiteral("104.12"));
    }
};

DRAVIK_GUI_TEST_MAIN(EntryTest)
#include "tst_entry.moc"
