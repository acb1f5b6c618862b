// Importing draws on the data-entry page: the dialog 导入记录 from a paste or a file, its summary, the
// record file it writes and the page's table after it, 取消, a long paste and the keyboard.
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "pages/import_dialog.h"
#include "pages/settings_tab.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_list.h"
#include "ui/choice_combo.h"
#include "ui/image_button.h"
#include "ui/tab_control.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QStringEncoder>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kArchive = QStringLiteral("测试");
constexpr int kSumChoice = 8;

// A 双色球 history as a results page lists it, newest first under a header: period, date, the six red
// balls, the blue ball.
const QString kDoubleColour = QStringLiteral("期号\t开奖日期\t红球\t蓝球\n"
                                             "2024003\t2024-01-07\t02 09 15 21 27 33\t08\n"
                                             "2024002\t2024-01-04\t01 05 11 18 24 30\t12\n"
                                             "2024001\t2024-01-02\t03 07 12 19 25 31\t16\n");
// A 3D history: period and the three digits.
const QString kThreeD = QStringLiteral("期号 开奖号码\r\n2024001 1 2 3\r\n2024002 9 9 9\r\n");

} // namespace

class ImportTest : public WindowTestCase {
    Q_OBJECT

    DataEntryPage* page = nullptr;

    QString recordPath(const QString& archive = kArchive) const {
        return home->dataFolder() + archive + QStringLiteral(".dat");
    }

    // An offline start with the archive last used and its record file holding the lines, then the
    // data-entry page opened on it. Its settings are those of the built-in game unless the test wrote
    // others.
    void open(const QStringList& lines, const QString& archive = kArchive) {
        // Settings of its own, unless the test gave some: the numbers an import takes are those of X.
        const QString settings = home->dataFolder() + archive + QStringLiteral(".ini");
        if (!QFile::exists(settings))
            writeFile(settings, settingsBytes(archive, QStringLiteral("36 6 6 0"), 1, 0, 0));
        window = startOnArchive(*home, archive, recordFileBytes(lines));
        page = entryPage(*window);
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        QCOMPARE(settingsTab(*window)->archiveName(), archive);
        script->clear();
        QTest::mouseClick(control<ui::ImageButton>(settingsTab(*window), "Button_in"), Qt::LeftButton);
        QCOMPARE(shownPage(*window), entryPage(*window));
        QCOMPARE(script->texts(), QStringList());
    }

    // Clicks the import button with the text on the clipboard; the dialog it opens.
    ImportDialog* openDialog(const QString& clipboard) {
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_import"), Qt::LeftButton);
        auto* dialog = window->findChild<ImportDialog*>();
        if (dialog && !QTest::qWaitForWindowExposed(dialog))
            qWarning("dialog not exposed");
        return dialog;
    }

    QStringList rows() const { return gridRows(*control<QTableWidget>(page, "StringGrid2")); }

private slots:
    void dialog() {
        open({"2024001.16"});
        QCOMPARE(control<ui::ImageButton>(page, "Button_import")->accessibleName(),
                 QStringLiteral("导入记录"));
        QVERIFY(!control<ui::ImageButton>(page, "Button_import")->icon().isNull());
        QCOMPARE(control<ui::ImageButton>(page, "Button_import")->cursor().shape(), Qt::PointingHandCursor);
        ImportDialog* dialog = openDialog(QString());
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("导入记录"));
        QCOMPARE(control<QPlainTextEdit>(dialog, "Memo_import")->accessibleName(),
                 QStringLiteral("导入文本"));
        QCOMPARE(control<QPushButton>(dialog, "Button_open")->text(), QStringLiteral("打开文件…"));
        QCOMPARE(control<QComboBox>(dialog, "Combo_column")->accessibleName(), QStringLiteral("号码取"));
        QCOMPARE(comboItems(*control<QComboBox>(dialog, "Combo_column")),
                 (QStringList{"最后一列", "第2列", "第3列", "第4列", "第5列", "第6列", "第7列", "第8列",
                              "第2列起各列之和"}));
        QCOMPARE(control<QComboBox>(dialog, "Combo_column")->currentText(), QStringLiteral("最后一列"));
        // A screen reader says the summary itself; its caption describes it.
        QCOMPARE(control<QLabel>(dialog, "Label_summary")->accessibleDescription(),
                 QStringLiteral("导入摘要"));
        QCOMPARE(control<QLabel>(dialog, "Label_summary")->text(),
                 QStringLiteral("新增0条，替换0条，相同0条，无法识别0行"));
        QCOMPARE(QAccessible::queryAccessibleInterface(control<QLabel>(dialog, "Label_summary"))
                     ->text(QAccessible::Name),
                 control<QLabel>(dialog, "Label_summary")->text());
        QCOMPARE(control<QPushButton>(dialog, "Button_ok")->text(), QStringLiteral("导入"));
        QCOMPARE(control<QPushButton>(dialog, "Button_cancel")->text(), QStringLiteral("取消"));
        // Said only for the built-in archive.
        QVERIFY(!control<QLabel>(dialog, "Label_builtIn")->isVisible());
        for (QWidget* control : dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (control->focusPolicy() & Qt::TabFocus)
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }

    // A history table as results pages list it, pasted with its header row into an archive of the
    // game's numbers: the dialog picks the choice that reads it by itself, says why the header is no
    // draw, and the import writes the draws' numbers as the archive's labels. Going back, the analysis
    // shows the new draws.
    void historyTables_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("extraColumns"); // after the K numbers
        QTest::addColumn<int>("extraRange");           // the extra numbers are 1 to this
        QTest::addColumn<QString>("choice");
        QTest::newRow("双色球 red balls") << 33 << 6 << QStringList{"蓝球"} << 16 << "第3列起6列";
        QTest::newRow("大乐透 front zone") << 35 << 5 << QStringList{"后区1", "后区2"} << 12 << "第3列起5列";
        QTest::newRow("七乐彩") << 30 << 7 << QStringList{"特别号"} << 30 << "第3列起7列";
    }

    void historyTables() {
        QFETCH(int, x);
        QFETCH(int, k);
        QFETCH(QStringList, extraColumns);
        QFETCH(int, extraRange);
        QFETCH(QString, choice);
        writeFile(home->dataFolder() + kArchive + QStringLiteral(".ini"),
                  QStringLiteral("[dravik]\r\nname=测试\r\n[math]\r\nX=%1\r\nA=%1\r\nB=1\r\nC=0\r\nK=%2\r\n"
                                 "[from]\r\nr1=1\r\n")
                      .arg(x)
                      .arg(k)
                      .toUtf8());
        open({});
        const QStringList before = gridRows(*window);

        // 300 draws, newest first; numbers written without their "0" in every fifth draw, as some
        // pages do. The draws' own numbers are different from each other; the extra ones need not be.
        QString header = QStringLiteral("期号\t开奖日期");
        for (int i = 1; i <= k; ++i)
            header += QStringLiteral("\t号码%1").arg(i);
        header += QLatin1Char('\t') + extraColumns.join(QLatin1Char('\t'));
        QString table = header + QLatin1Char('\n');
        QStringList expected;
        quint32 seed = 2023;
        const auto next = [&seed](int range) {
            seed = seed * 1103515245u + 12345u;
            return int((seed >> 16) % quint32(range)) + 1;
        };
        QList<QList<int>> draws;
        for (int draw = 0; draw < 300; ++draw) {
            QList<int> numbers;
            while (numbers.size() < k) {
                const int n = next(x);
                if (!numbers.contains(n))
                    numbers.append(n);
            }
            std::sort(numbers.begin(), numbers.end());
            draws.append(numbers);
            QStringList labels;
            for (int n : numbers)
                labels.append(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
            expected.append(QStringLiteral("%1.%2").arg(2023001 + draw).arg(labels.join(QLatin1Char(' '))));
        }
        for (int draw = 299; draw >= 0; --draw) {
            QString line = QStringLiteral("%1\t%2")
                               .arg(2023001 + draw)
                               .arg(QDate(2023, 1, 1).addDays(draw * 2).toString(Qt::ISODate));
            for (int n : draws[draw])
                line += draw % 5 == 0 ? QStringLiteral("\t%1").arg(n)
                                      : QStringLiteral("\t%1").arg(n, 2, 10, QLatin1Char('0'));
            for (int i = 0; i < extraColumns.size(); ++i)
                line += QStringLiteral("\t%1").arg(next(extraRange), 2, 10, QLatin1Char('0'));
            table += line + QLatin1Char('\n');
        }

        ImportDialog* dialog = openDialog(table);
        QVERIFY(dialog);
        QCOMPARE(control<QComboBox>(dialog, "Combo_column")->currentText(), choice);
        QCOMPARE(control<QLabel>(dialog, "Label_summary")->text(),
                 QStringLiteral("新增300条，替换0条，相同0条，无法识别1行"));
        QCOMPARE(control<QLabel>(dialog, "Label_rejected")->text(),
                 QStringLiteral("第1行：期号不是数字：") + QString(header).replace('\t', ' ').left(40) +
                     (header.size() > 40 ? QStringLiteral("…") : QString()));
        // The new draws as they will be written: the first five of them.
        QCOMPARE(control<QLabel>(dialog, "Label_records")->text().split('\n').mid(0, 2),
                 (QStringList{"新增 " + expected[0], "新增 " + expected[1]}));
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QTRY_VERIFY(!window->findChild<ImportDialog*>());
        QCOMPARE(readFile(recordPath()), recordFileBytes(expected));

        // Back on the main page the analysis is that of the 300 draws: one row per number, 出现值 the
        // draws of the latest 30 that hold it.
        QTest::mouseClick(control<ui::ImageButton>(page, "Button_back"), Qt::LeftButton);
        QCOMPARE(script->texts(), QStringList());
        const QStringList after = gridRows(*window);
        QCOMPARE(after.size(), x);
        QVERIFY(after != before);
        for (int n = 1; n <= x; ++n) {
            int hits = 0;
            for (int draw = 270; draw < 300; ++draw)
                hits += draws[draw].contains(n) ? 1 : 0;
            QCOMPARE(after[n - 1].section('|', 1, 1), QString::number(hits));
        }
    }

    // A choice picked by the user stays his while the text changes; until then the dialog follows
    // the text.
    void pickedChoiceStays() {
        writeFile(
            home->dataFolder() + kArchive + QStringLiteral(".ini"),
            "[dravik]\r\nname=测试\r\n[math]\r\nX=33\r\nA=3\r\nB=11\r\nC=0\r\nK=6\r\n[from]\r\nr1=1\r\n");
        open({"2024001.03 07 12 19 25 31"});
        ImportDialog* dialog = openDialog(QStringLiteral("2024002 01 02 03 04 05 06 16"));
        QVERIFY(dialog);
        auto* column = control<QComboBox>(dialog, "Combo_column");
        auto* text = control<QPlainTextEdit>(dialog, "Memo_import");
        QCOMPARE(column->currentText(), QStringLiteral("第2列起6列"));
        text->setPlainText(QStringLiteral("2024002 2024-01-04 01 02 03 04 05 06 16"));
        QTRY_COMPARE(column->currentText(), QStringLiteral("第3列起6列"));
        pickFromList(column, QStringLiteral("最后6列"));
        QCOMPARE(control<QLabel>(dialog, "Label_records")->text(),
                 QStringLiteral("新增 2024002.02 03 04 05 06 16"));
        text->setPlainText(QStringLiteral("2024002 01 02 03 04 05 06 16\n2024003 07 08 09 10 11 12 13"));
        QTRY_COMPARE(control<QLabel>(dialog, "Label_summary")->text(),
                     QStringLiteral("新增2条，替换0条，相同0条，无法识别0行"));
        QCOMPARE(column->currentText(), QStringLiteral("最后6列"));
        // Replaced records come first in the preview, with their old and new numbers.
        text->setPlainText(QStringLiteral("2024009 1 2 3 4 5 6 7\n2024001 3 7 12 19 25 32 33"));
        QTRY_COMPARE(control<QLabel>(dialog, "Label_records")->text(),
                     QStringLiteral("替换 2024001：03 07 12 19 25 31 → 07 12 19 25 32 33\n"
                                    "新增 2024009.02 03 04 05 06 07"));
    }

    // A paste copied from a results page becomes an archive of blue balls or of 3D sums in one step:
    // the summary first, then the whole record file and the page's table.
    void pasteAndImport_data() {
        QTest::addColumn<QStringList>("archive");
        QTest::addColumn<QString>("paste");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("preview");
        QTest::addColumn<QString>("rejected");
        QTest::addColumn<QStringList>("file");
        QTest::newRow("双色球 blue balls") << QStringList{"2024001.16", "2024002.05"} << kDoubleColour << 0
                                           << "新增1条，替换1条，相同1条，无法识别1行"
                                           << "替换 2024002：05 → 12\n新增 2024003.08"
                                           << "第1行：期号不是数字：期号 开奖日期 红球 蓝球"
                                           << QStringList{"2024001.16", "2024002.12", "2024003.08"};
        QTest::newRow("3D sums") << QStringList{"2024001.6"} << kThreeD << kSumChoice
                                 << "新增1条，替换0条，相同1条，无法识别1行"
                                 << "新增 2024002.27"
                                 << "第1行：期号不是数字：期号 开奖号码"
                                 << QStringList{"2024001.6", "2024002.27"};
        // The lines before the page's window of 100 stay, the first one replaced; numbers are written
        // as the archive's labels.
        QTest::newRow("long history")
            << longHistory() << QStringLiteral("10001 36\n10131,1") << 0
            << "新增1条，替换1条，相同0条，无法识别0行"
            << "替换 10001：02 → 36\n新增 10131.01"
            << "无法识别：无" << QStringList{"10001.36"} + longHistory().mid(1) + QStringList{"10131.01"};
        // A period twice in the paste: the later line is the one written, and the one previewed.
        QTest::newRow("a period twice")
            << QStringList{"2024001.16"} << QStringLiteral("2024002 05\n2024003 07\n2024002 09") << 0
            << "新增2条，替换0条，相同0条，无法识别0行"
            << "新增 2024002.09\n新增 2024003.07"
            << "无法识别：无" << QStringList{"2024001.16", "2024002.09", "2024003.07"};
    }

    void pasteAndImport() {
        QFETCH(QStringList, archive);
        QFETCH(QString, paste);
        QFETCH(int, choice);
        QFETCH(QString, summary);
        QFETCH(QString, preview);
        QFETCH(QString, rejected);
        QFETCH(QStringList, file);
        if (choice == kSumChoice) // 3D sums, 0 to 27
            writeFile(home->dataFolder() + kArchive + QStringLiteral(".ini"),
                      settingsBytes(kArchive, QStringLiteral("28 4 7 0"), 0, 0, 0));
        open(archive);
        ImportDialog* dialog = openDialog(paste);
        QVERIFY(dialog);
        QCOMPARE(control<QPlainTextEdit>(dialog, "Memo_import")->toPlainText(),
                 QString(paste).replace("\r\n", "\n"));
        if (choice != 0)
            pickFromList(control<QComboBox>(dialog, "Combo_column"),
                         control<QComboBox>(dialog, "Combo_column")->itemText(choice));
        QTRY_COMPARE(control<QLabel>(dialog, "Label_summary")->text(), summary);
        QCOMPARE(control<QLabel>(dialog, "Label_records")->text(), preview);
        QCOMPARE(control<QLabel>(dialog, "Label_rejected")->text(), rejected);
        QCOMPARE(readFile(recordPath()), recordFileBytes(archive));

        QPointer<ImportDialog> open = dialog;
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QTRY_VERIFY(!open);
        QCOMPARE(script->texts(), QStringList());
        QCOMPARE(readFile(recordPath()), recordFileBytes(file));
        // The page shows the latest draws, newest first.
        const QStringList latest = file.mid(std::max<qsizetype>(file.size() - RecordList::kWindow, 0));
        QCOMPARE(entryPage(*window)->records().lines(), latest);
        QCOMPARE(rows().first(),
                 QStringLiteral("%1|%2").arg(latest.size()).arg(QString(latest.last()).replace('.', '|')));
        QCOMPARE(rows().size(), latest.size());
    }

    // A new archive: the import makes its record file.
    void importIntoANewArchive() {
        window = startOffline(*home);
        page = entryPage(*window);
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        control<ui::ChoiceCombo>(settingsTab(*window), "Edit_name")
            ->lineEdit()
            ->setText(QStringLiteral("双色球"));
        QCOMPARE(settingsTab(*window)->archiveName(), QStringLiteral("双色球"));
        script->clear();
        QTest::mouseClick(control<ui::ImageButton>(settingsTab(*window), "Button_in"), Qt::LeftButton);
        QCOMPARE(script->texts(), QStringList{"Dravik不存在，请录入！"});
        script->clear();
        ImportDialog* dialog = openDialog(kDoubleColour);
        QVERIFY(dialog);
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QCOMPARE(script->texts(), QStringList());
        QCOMPARE(readFile(recordPath(QStringLiteral("双色球"))),
                 recordFileBytes({"2024001.16", "2024002.12", "2024003.08"}));
        QCOMPARE(rows().size(), 3);
    }

    void cancelWritesNothing() {
        open({"2024001.16", "2024002.05"});
        const QByteArray before = readFile(recordPath());
        const QStringList table = rows();
        ImportDialog* dialog = openDialog(kDoubleColour);
        QVERIFY(dialog);
        QTRY_COMPARE(control<QLabel>(dialog, "Label_summary")->text(),
                     QStringLiteral("新增1条，替换1条，相同1条，无法识别1行"));
        QPointer<ImportDialog> open = dialog;
        QTest::mouseClick(control<QPushButton>(dialog, "Button_cancel"), Qt::LeftButton);
        QTRY_VERIFY(!open);
        QCOMPARE(readFile(recordPath()), before);
        QCOMPARE(rows(), table);
        QCOMPARE(entryPage(*window)->records().lines(), (QStringList{"2024001.16", "2024002.05"}));
        QCOMPARE(script->texts(), QStringList());
    }

    // Nothing that parses: 导入 writes nothing and the dialog stays with its summary.
    void nothingToImport() {
        open({"2024001.16"});
        const QByteArray before = readFile(recordPath());
        ImportDialog* dialog = openDialog(QStringLiteral("期号 蓝球\n第一期 16"));
        QVERIFY(dialog);
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QCOMPARE(control<QLabel>(dialog, "Label_summary")->text(),
                 QStringLiteral("新增0条，替换0条，相同0条，无法识别2行"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(readFile(recordPath()), before);
    }

    // "打开文件…" loads a file by the record files' rules: here GB18030 with CR LF line ends.
    void openFile() {
        open({"2024001.16"});
        ImportDialog* dialog = openDialog(QString());
        QVERIFY(dialog);
        const QString path = home->dataFolder() + QStringLiteral("history.csv");
        QStringEncoder gb18030("GB18030");
        writeFile(path, gb18030(QStringLiteral("期号,蓝球\r\n2024001,16\r\n2024002,12\r\n")));
        dialog->openFile(path);
        const QString text = QStringLiteral("期号,蓝球\n2024001,16\n2024002,12\n");
        QCOMPARE(control<QPlainTextEdit>(dialog, "Memo_import")->toPlainText(), text);
        QCOMPARE(control<QLabel>(dialog, "Label_summary")->text(),
                 QStringLiteral("新增1条，替换0条，相同1条，无法识别1行"));

        // A file that is gone: its read error, and the field keeps its text.
        try {
            dialog->openFile(home->dataFolder() + QStringLiteral("gone.txt"));
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(),
                     QStringLiteral("Cannot open file \"%1gone.txt\". No such file or directory")
                         .arg(home->dataFolder()));
        }
        QCOMPARE(control<QPlainTextEdit>(dialog, "Memo_import")->toPlainText(), text);
    }

    // "打开文件…" starts in the user's documents folder, else the home folder, never the working
    // folder (a shortcut's "Start in" may be one of the program's own), text files first.
    void openDialogStartsInDocuments() {
        open({"2024001.16"});
        ImportDialog* dialog = openDialog(QString());
        QVERIFY(dialog);
        QTemporaryDir user;
        const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", home);
            qputenv("XDG_CONFIG_HOME", config);
        });
        qputenv("HOME", user.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (user.path() + "/.config").toUtf8());
        const QString filter = QStringLiteral("文本文件 (*.txt *.csv);;所有文件 (*)");
        for (const QString& expected : {user.path(), user.path() + "/Documents"}) {
            QDir().mkpath(expected);
            script->clear();
            QTest::mouseClick(control<QPushButton>(dialog, "Button_open"), Qt::LeftButton);
            QCOMPARE(script->shown().size(), 1);
            QCOMPARE(script->shown().first().title, QStringLiteral("打开文件"));
            QCOMPARE(script->shown().first().text, expected);
            QCOMPARE(script->shown().first().filter, filter);
        }
        // Cancelled: the field keeps its text.
        QCOMPARE(control<QPlainTextEdit>(dialog, "Memo_import")->toPlainText(), QString());
    }

    void builtInArchive() {
        open(workedExampleLines(), kBuiltInArchive);
        ImportDialog* dialog = openDialog(QStringLiteral("24031 05"));
        QVERIFY(dialog);
        QVERIFY(control<QLabel>(dialog, "Label_builtIn")->isVisible());
        QVERIFY(control<QLabel>(dialog, "Label_builtIn")->text().contains(QStringLiteral("下次启动")));
        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QCOMPARE(readFile(recordPath(kBuiltInArchive)),
                 recordFileBytes(workedExampleLines() + QStringList{"24031.05"}));
    }

    // A paste of 2 MiB: the paste returns at once, the event loop keeps running, and the summary
    // follows; the import then writes every line.
    void longPaste() {
        open({"1000000.01"});
        QStringList lines;
        QString text;
        for (int i = 0; text.size() < 2 * 1024 * 1024; ++i) {
            const QString period = QString::number(1000000 + i);
            text += period + QStringLiteral(" 01 02 03 04 05 06 16\n");
            lines.append(period + QStringLiteral(".16"));
        }
        ImportDialog* dialog = openDialog(QString());
        QVERIFY(dialog);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        control<QPlainTextEdit>(dialog, "Memo_import")->setFocus();
        QGuiApplication::clipboard()->setText(text);

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);
        QTest::keyClick(control<QPlainTextEdit>(dialog, "Memo_import"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(control<QPlainTextEdit>(dialog, "Memo_import")->document()->blockCount(), lines.size() + 1);
        const QString summary =
            QStringLiteral("新增%1条，替换1条，相同0条，无法识别0行").arg(lines.size() - 1);
        QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>(dialog, "Label_summary")->text(), summary, 60000);
        QVERIFY(ticks > 0);

        QTest::mouseClick(control<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
        QCOMPARE(script->texts(), QStringList());
        QCOMPARE(readFile(recordPath()), recordFileBytes(lines));
        QCOMPARE(entryPage(*window)->records().lines(), lines.mid(lines.size() - RecordList::kWindow));
    }

    // Tab goes from the field through every control of the dialog in reading order; Escape cancels.
    void keyboard() {
        open({"2024001.16"});
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        control<ui::ImageButton>(page, "Button_add")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control<ui::ImageButton>(page, "Button_add"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control<ui::ImageButton>(page, "Button_import"));
        QGuiApplication::clipboard()->setText(kThreeD);
        QTest::keyClick(control<ui::ImageButton>(page, "Button_import"), Qt::Key_Space);
        auto* dialog = window->findChild<ImportDialog*>();
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTRY_COMPARE(QApplication::focusWidget(), control<QPlainTextEdit>(dialog, "Memo_import"));
        // 启动时自动更新 is passed over until a text was read from an address.
        const QList<QWidget*> order = {
            control<QPushButton>(dialog, "Button_open"),   control<QComboBox>(dialog, "Combo_column"),
            control<QPushButton>(dialog, "Button_ok"),     control<QPushButton>(dialog, "Button_cancel"),
            control<QLineEdit>(dialog, "Edit_url"),        control<QPushButton>(dialog, "Button_fetch"),
            control<QPlainTextEdit>(dialog, "Memo_import")};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // The column by the keyboard, then 导入 by Space. The sums are written as the labels of an
        // archive counted from one.
        control<QComboBox>(dialog, "Combo_column")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control<QComboBox>(dialog, "Combo_column"), Qt::Key_End);
        QCOMPARE(control<QComboBox>(dialog, "Combo_column")->currentText(),
                 QStringLiteral("第2列起各列之和"));
        QCOMPARE(control<QLabel>(dialog, "Label_summary")->text(),
                 QStringLiteral("新增1条，替换1条，相同0条，无法识别1行"));
        QPointer<ImportDialog> open = dialog;
        control<QPushButton>(dialog, "Button_ok")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control<QPushButton>(dialog, "Button_ok"), Qt::Key_Space);
        QTRY_VERIFY(!open);
        QCOMPARE(readFile(recordPath()), recordFileBytes({"2024001.06", "2024002.27"}));

        // Escape closes the dialog and writes nothing.
        QGuiApplication::clipboard()->setText(QStringLiteral("2024003 1 1 1"));
        control<ui::ImageButton>(page, "Button_import")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control<ui::ImageButton>(page, "Button_import"), Qt::Key_Space);
        dialog = window->findChild<ImportDialog*>();
        QVERIFY(dialog);
        open = dialog;
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!open);
        QCOMPARE(readFile(recordPath()), recordFileBytes({"2024001.06", "2024002.27"}));
    }
};

DRAVIK_GUI_TEST_MAIN(ImportTest)
#include "tst_import.moc"
