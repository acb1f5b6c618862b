// The settings tab: saving and its checks, the question on leaving the tab or closing the window with
// unsaved settings, the built-in archive's fixed X, and reloading by closing the archive list.
#include "analysis/division_settings.h"
#include "gui_harness.h"
#include "pages/settings_rules.h"
#include "pages/settings_tab.h"
#include "storage/data_folder.h"
#include "ui/choice_combo.h"
#include "ui/image_button.h"
#include "ui/item_list.h"
#include "ui/tab_control.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kArchive = QStringLiteral("测试");
const QString kQuestion = QStringLiteral("设置已更改，是否保存？");
const QString kBadValues = QStringLiteral("设置错，请检查X、A、B、C值");

QByteArray settingsBytes(const QString& name, int x, int a, int b, int c, int r1, int r2, int r3) {
    return dravik::test::settingsBytes(name, QStringLiteral("%1 %2 %3 %4").arg(x).arg(a).arg(b).arg(c), r1,
                                       r2, r3);
}

// 测试 as stored before each test: 20 ÷ 3 = 6 … 2, numbers from 1, sequential, 30 draws.
const QByteArray kStoredTest = settingsBytes(kArchive, 20, 3, 6, 2, 1, 0, 0);

} // namespace

class SettingsTest : public WindowTestCase {
    Q_OBJECT

    SettingsTab* tab = nullptr;

    QString path(const QString& file) const { return home->dataFolder() + file; }
    QByteArray testIni() const { return readFile(path(kArchive + QStringLiteral(".ini"))); }

    // A later start, offline, with the archive 测试 last used.
    void start(const QString& lastUsed = kArchive) {
        const QByteArray draws = recordFileBytes(workedExampleLines());
        writeFile(path(kBuiltInArchive + QStringLiteral(".dat")), draws);
        writeFile(path(kArchive + QStringLiteral(".dat")), draws);
        writeFile(path(kArchive + QStringLiteral(".ini")), kStoredTest);
        writeFile(path(QStringLiteral("set.ini")), globalBytes(3, lastUsed));
        window = startOnMainPage(closedSiteRoot());
        tab = settingsTab(*window);
        QCOMPARE(shownPage(*window), mainPage(*window));
        QCOMPARE(script->texts(), QStringList{QStringLiteral("更新好彩1数据失败")});
        script->clear();
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kSettingsTab), Qt::LeftButton);
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kSettingsTab));
        QVERIFY(!saveButton(*window)->isHidden());
        QVERIFY(!saveButton(*window)->isEnabled());
    }

    void pickValues(const QString& x, const QString& a, const QString& b, const QString& c) {
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_x"), x);
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), a);
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_b"), b);
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_c"), c);
    }

    void clickSave() { QTest::mouseClick(saveButton(*window), Qt::LeftButton); }

    // Typed as the user would: Latin text key by key, Chinese text committed by the input method.
    void typeName(const QString& name) {
        QLineEdit* edit = control<ui::ChoiceCombo>(tab, "Edit_name")->lineEdit();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        bool latin = true;
        for (QChar ch : name)
            latin = latin && ch.unicode() < 128;
        if (latin) {
            QTest::keyClicks(edit, name);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(name);
            QApplication::sendEvent(edit, &commit);
        }
        QCOMPARE(tab->archiveName(), name);
    }

    QStringList values() const {
        return {control<ui::ChoiceCombo>(tab, "Edit_x")->currentText(),
                control<ui::ChoiceCombo>(tab, "Edit_a")->currentText(),
                control<ui::ChoiceCombo>(tab, "Edit_b")->currentText(),
                control<ui::ChoiceCombo>(tab, "Edit_c")->currentText()};
    }

    // After A and B of the stored 20 3 6 2 were swapped and the save question answered: Yes stores and
    // keeps the change, No keeps the file and brings the stored values back.
    void checkAnswered(int answer) {
        if (answer == dialogs::kYes) {
            QCOMPARE(testIni(), settingsBytes(kArchive, 20, 6, 3, 2, 1, 0, 0));
            QCOMPARE(values(), (QStringList{"20", "6", "3", "2"}));
        } else {
            QCOMPARE(testIni(), kStoredTest);
            QCOMPARE(values(), (QStringList{"20", "3", "6", "2"}));
        }
    }

private slots:
    void divisionRule_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<bool>("fits");
        QTest::newRow("26 8 3 2") << 26 << 8 << 3 << 2 << true;
        QTest::newRow("26 5 5 1") << 26 << 5 << 5 << 1 << true;
        QTest::newRow("26 13 2 0") << 26 << 13 << 2 << 0 << true;
        QTest::newRow("A below B") << 26 << 3 << 8 << 2 << true;
        QTest::newRow("C equals B") << 27 << 8 << 3 << 3 << false;
        QTest::newRow("C above A") << 36 << 2 << 15 << 6 << false;
        QTest::newRow("sum off") << 36 << 6 << 6 << 1 << false;
        QTest::newRow("product wraps in 32 bits") << 0 << 65536 << 65536 << 0 << false;
        // The rule holds, but the analysis could not use them.
        QTest::newRow("C below 0") << 5 << 2 << 3 << -1 << false;
        QTest::newRow("A 0") << -5 << 0 << 3 << -5 << false;
        QTest::newRow("B 0") << -5 << 3 << 0 << -5 << false;
        QTest::newRow("A and B below 0") << 2 << -2 << -3 << -4 << false;
        QTest::newRow("10,000 labels") << 10000 << 100 << 100 << 0 << true;
        QTest::newRow("10,001 labels") << 10001 << 1 << 10001 << 0 << false;
    }

    void divisionRule() {
        QFETCH(int, x);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(bool, fits);
        QCOMPARE(isUsableDivision({x, a, b, c}), fits);
    }

    // Picking X or A makes B and C the quotient and remainder, where they pass the checks and the
    // lists offer them.
    void divisionFollows_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b"); // -1: no division follows
        QTest::addColumn<int>("c");
        QTest::newRow("33 by 3") << 33 << 3 << 11 << 0;
        QTest::newRow("36 by 5") << 36 << 5 << 7 << 1;
        QTest::newRow("C not below B") << 10 << 7 << -1 << -1;
        QTest::newRow("A above X: B 0") << 10 << 11 << -1 << -1;
        QTest::newRow("A 0") << 10 << 0 << -1 << -1;
        QTest::newRow("X by 1") << 60 << 1 << 60 << 0;
        QTest::newRow("beyond the labels") << 10001 << 1 << -1 << -1;
    }

    void divisionFollows() {
        QFETCH(int, x);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        const std::optional<DivisionSettings> division = divisionFor(x, a);
        QCOMPARE(division.has_value(), b >= 0);
        if (division)
            QCOMPARE(*division, (DivisionSettings{x, a, b, c}));
    }

    // Through the lists, as a player sets up 双色球's red balls in three zones; B can still be
    // picked by hand after.
    void divisionFollowsPicks() {
        start();
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_x"), QStringLiteral("33"));
        QCOMPARE(values(), (QStringList{"33", "3", "11", "0"}));
        QVERIFY(saveButton(*window)->isEnabled());
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), QStringLiteral("5"));
        QCOMPARE(values(), (QStringList{"33", "5", "6", "3"}));
        // 33 ÷ 10 = 3 … 3 fails C < B: B and C stay.
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), QStringLiteral("10"));
        QCOMPARE(values(), (QStringList{"33", "10", "6", "3"}));
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_b"), QStringLiteral("4"));
        QCOMPARE(values(), (QStringList{"33", "10", "4", "3"}));
        QVERIFY(script->texts().isEmpty());
    }

    // A typed name of an archive with a settings file, then Enter or leaving the field, shows that
    // archive's settings; a name without one changes nothing.
    void typedNameLoads_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("Enter") << true;
        QTest::newRow("leaving the field") << false;
    }

    void typedNameLoads() {
        QFETCH(bool, byEnter);
        writeFile(path(QStringLiteral("33.ini")), settingsBytes(QStringLiteral("33"), 33, 3, 11, 0, 1, 1, 2));
        start();
        const auto finish = [&] {
            if (byEnter)
                QTest::keyClick(control<ui::ChoiceCombo>(tab, "Edit_name")->lineEdit(), Qt::Key_Return);
            else
                control<ui::ChoiceCombo>(tab, "Edit_x")->setFocus(Qt::TabFocusReason);
        };
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        control<ui::ChoiceCombo>(tab, "Edit_name")->lineEdit()->setFocus(Qt::MouseFocusReason);
        typeName(QStringLiteral("nothing"));
        finish();
        QCOMPARE(values(), (QStringList{"20", "3", "6", "2"}));
        control<ui::ChoiceCombo>(tab, "Edit_name")->lineEdit()->setFocus(Qt::MouseFocusReason);
        typeName(QStringLiteral("33"));
        finish();
        QCOMPARE(values(), (QStringList{"33", "3", "11", "0"}));
        QVERIFY(control<QRadioButton>(tab, "RadioButton4")->isChecked());
        QVERIFY(control<QRadioButton>(tab, "RadioButton7")->isChecked());
        // Focus coming and going without typing loads nothing: a change made meanwhile stays.
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), QStringLiteral("11"));
        control<ui::ChoiceCombo>(tab, "Edit_name")->lineEdit()->setFocus(Qt::MouseFocusReason);
        finish();
        QCOMPARE(values(), (QStringList{"33", "11", "3", "0"}));
        QCOMPARE(script->texts(), QStringList());
    }

    void storedChoices() {
        QCOMPARE(startValueChoice(0), 0);
        QCOMPARE(startValueChoice(-1), 1);
        QCOMPARE(displayModeChoice(1), 1);
        QCOMPARE(depthChoice(0), 0);
        QCOMPARE(depthChoice(1), 1);
        QCOMPARE(depthChoice(5), 2);
        QCOMPARE(depthChoice(-1), 2);
    }

    void choiceLists() {
        start();
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_x")->count(), 51);
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_x")->itemText(0), QStringLiteral("10"));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_a")->count(), 60);
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_b")->count(), 60);
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_c")->count(), 61);
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_c")->itemText(60), QStringLiteral("60"));
        QStringList names;
        for (int i = 0; i < control<ui::ChoiceCombo>(tab, "Edit_name")->count(); ++i)
            names.append(control<ui::ChoiceCombo>(tab, "Edit_name")->itemText(i));
        QStringList expected{kArchive, kBuiltInArchive};
        names.sort();
        expected.sort();
        QCOMPARE(names, expected);
        QCOMPARE(control<ui::ItemList>(tab, "ListBox2")->count(), 20);
        ui::ChoiceCombo* k = control<ui::ChoiceCombo>(tab, "Edit_k");
        QCOMPARE(comboItems(*k).size(), 20);
        QCOMPARE(comboItems(*k).first(), QStringLiteral("1"));
        QCOMPARE(comboItems(*k).last(), QStringLiteral("20"));
        QCOMPARE(k->currentText(), QStringLiteral("1"));
        QCOMPARE(values(), (QStringList{"20", "3", "6", "2"}));
        QVERIFY(control<QRadioButton>(tab, "RadioButton2")->isChecked());
        QVERIFY(control<QRadioButton>(tab, "RadioButton3")->isChecked());
        QVERIFY(control<QRadioButton>(tab, "RadioButton5")->isChecked());
    }

    // K, the numbers of a draw: stored after C when it is not 1, refused unless below X, held at 1 for
    // the built-in archive; a change of it marks the settings unsaved like any other.
    void numbersPerDraw_data() {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("k");
        QTest::addColumn<QString>("message"); // empty: saved
        QTest::newRow("6 of 33") << "33"
                                 << "6"
                                 << "";
        QTest::newRow("19 of 20") << "20"
                                  << "19"
                                  << "";
        QTest::newRow("K = X") << "20"
                               << "20" << QStringLiteral("设置错，K须小于X");
        QTest::newRow("K above X") << "10"
                                   << "12" << QStringLiteral("设置错，K须小于X");
    }

    void numbersPerDraw() {
        QFETCH(QString, x);
        QFETCH(QString, k);
        QFETCH(QString, message);
        start();
        pickValues(x, "1", x, "0");
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_k"), k);
        QVERIFY(saveButton(*window)->isEnabled());
        clickSave();
        if (!message.isEmpty()) {
            QCOMPARE(script->texts(), QStringList{message});
            QCOMPARE(testIni(), kStoredTest);
            QVERIFY(saveButton(*window)->isEnabled());
            return;
        }
        QCOMPARE(script->texts(), QStringList());
        QCOMPARE(testIni(),
                 QStringLiteral("[dravik]\r\nname=%1\r\n[math]\r\nX=%2\r\nA=1\r\nB=%2\r\nC=0\r\nK=%3\r\n"
                                "[from]\r\nr1=1\r\n[model]\r\nr2=0\r\n[count]\r\nr3=0\r\n")
                     .arg(kArchive, x, k)
                     .toUtf8());
        QVERIFY(!saveButton(*window)->isEnabled());
        QCOMPARE(tab->numbersPerDraw(), k.toInt());

        // Another archive and back: K comes from the file as the other settings do.
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_name"), kBuiltInArchive);
        QTRY_COMPARE(values(), (QStringList{"36", "6", "6", "0"}));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_k")->currentText(), QStringLiteral("1"));
        // The built-in archive holds K at 1 as it holds X at 36.
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_k"), "6");
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_k")->currentText(), QStringLiteral("1"));
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_name"), kArchive);
        QTRY_COMPARE(control<ui::ChoiceCombo>(tab, "Edit_k")->currentText(), k);
        QCOMPARE(script->texts(), QStringList());
    }

    void save_data() {
        QTest::addColumn<QStringList>("xabc");
        QTest::addColumn<bool>("saved");
        QTest::newRow("26 8 3 2") << QStringList{"26", "8", "3", "2"} << true;
        QTest::newRow("26 5 5 1") << QStringList{"26", "5", "5", "1"} << true;
        QTest::newRow("26 13 2 0") << QStringList{"26", "13", "2", "0"} << true;
        QTest::newRow("36 6 6 0") << QStringList{"36", "6", "6", "0"} << true;
        QTest::newRow("A need not exceed B") << QStringList{"26", "3", "8", "2"} << true;
        QTest::newRow("C not below B") << QStringList{"27", "8", "3", "3"} << false;
        QTest::newRow("C not below A") << QStringList{"36", "2", "15", "6"} << false;
    }

    void save() {
        QFETCH(QStringList, xabc);
        QFETCH(bool, saved);
        start();
        const QStringList gridBefore = gridRows(*window);
        pickValues(xabc[0], xabc[1], xabc[2], xabc[3]);
        QTest::mouseClick(control<QRadioButton>(tab, "RadioButton4"), Qt::LeftButton);
        QVERIFY(control<QRadioButton>(tab, "RadioButton4")->isChecked());
        QVERIFY(saveButton(*window)->isEnabled());
        clickSave();
        if (!saved) {
            QCOMPARE(script->texts(), QStringList{kBadValues});
            QCOMPARE(script->shown().first().title, QStringLiteral("提示"));
            QCOMPARE(testIni(), kStoredTest);
            QVERIFY(saveButton(*window)->isEnabled());
            QCOMPARE(gridRows(*window), gridBefore);
            return;
        }
        QVERIFY2(script->shown().isEmpty(), qPrintable(script->texts().join(',')));
        QCOMPARE(testIni(), settingsBytes(kArchive, xabc[0].toInt(), xabc[1].toInt(), xabc[2].toInt(),
                                          xabc[3].toInt(), 1, 1, 0));
        QCOMPARE(readFile(path(QStringLiteral("set.ini"))), globalBytes(4, kArchive));
        QVERIFY(!saveButton(*window)->isEnabled());
        QCOMPARE(settingsTab(*window)->savedArchiveName(), kArchive);
        // The analysis ran again: interval grouping gives one row per group.
        QCOMPARE(control<QTableWidget>(analysisTab(*window), "StringGrid1")->rowCount(), xabc[1].toInt());
    }

    // Values that fit X = A·B + C, C < A, C < B but that the analysis would replace, as a
    // hand-edited settings file can put them into the controls: refused like any other bad values.
    void unusableValues_data() {
        QTest::addColumn<QStringList>("xabc");
        QTest::newRow("C below 0") << QStringList{"5", "2", "3", "-1"};
        QTest::newRow("A 0") << QStringList{"-5", "0", "3", "-5"};
        QTest::newRow("B below 0") << QStringList{"-4", "2", "-1", "-2"};
        QTest::newRow("10,001 labels") << QStringList{"10001", "1", "10001", "0"};
    }

    void unusableValues() {
        QFETCH(QStringList, xabc);
        start();
        const QStringList gridBefore = gridRows(*window);
        ui::ChoiceCombo* combos[] = {
            control<ui::ChoiceCombo>(tab, "Edit_x"), control<ui::ChoiceCombo>(tab, "Edit_a"),
            control<ui::ChoiceCombo>(tab, "Edit_b"), control<ui::ChoiceCombo>(tab, "Edit_c")};
        for (int i = 0; i < 4; ++i)
            combos[i]->setText(xabc[i]);
        QVERIFY(saveButton(*window)->isEnabled());
        clickSave();
        QCOMPARE(script->texts(), QStringList{kBadValues});
        QCOMPARE(script->shown().first().title, QStringLiteral("提示"));
        QCOMPARE(testIni(), kStoredTest);
        QCOMPARE(readFile(path(QStringLiteral("set.ini"))), globalBytes(4, kArchive));
        QVERIFY(saveButton(*window)->isEnabled());
        QCOMPARE(gridRows(*window), gridBefore);
    }

    void nonIntegerText_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("X abc") << 0 << "abc";
        QTest::newRow("C empty") << 3 << "";
        QTest::newRow("B blank after") << 2 << "6 ";
    }

    void nonIntegerText() {
        QFETCH(int, field);
        QFETCH(QString, text);
        start();
        ui::ChoiceCombo* combos[] = {
            control<ui::ChoiceCombo>(tab, "Edit_x"), control<ui::ChoiceCombo>(tab, "Edit_a"),
            control<ui::ChoiceCombo>(tab, "Edit_b"), control<ui::ChoiceCombo>(tab, "Edit_c")};
        combos[field]->setText(text); // as a hand-edited settings file could have put it there
        QVERIFY(saveButton(*window)->isEnabled());
        clickSave();
        QCOMPARE(script->shown().size(), 1);
        QCOMPARE(script->shown().first().title, QStringLiteral("错误"));
        QCOMPARE(script->shown().first().text,
                 QStringLiteral("'%1' is not a valid integer value.").arg(text));
        QCOMPARE(testIni(), kStoredTest);
        QVERIFY(saveButton(*window)->isEnabled());
        QVERIFY(window->isVisible());
    }

    void unsafeName_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("slash") << "a/b";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("dot dot") << "..";
    }

    void unsafeName() {
        QFETCH(QString, name);
        start();
        const QStringList before =
            QDir(home->dataFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        typeName(name);
        clickSave();
        QCOMPARE(script->texts(), QStringList{QStringLiteral("档案名无效，请重新输入")});
        QCOMPARE(QDir(home->dataFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QCOMPARE(readFile(path(QStringLiteral("set.ini"))), globalBytes(4, kArchive));
        QVERIFY(saveButton(*window)->isEnabled());
    }

    void saveUnderNewName() {
        start();
        typeName(QStringLiteral("新档案"));
        clickSave();
        QCOMPARE(readFile(path(QStringLiteral("新档案.ini"))),
                 settingsBytes(QStringLiteral("新档案"), 20, 3, 6, 2, 1, 0, 0));
        QCOMPARE(readFile(path(QStringLiteral("set.ini"))), globalBytes(4, QStringLiteral("新档案")));
        QCOMPARE(settingsTab(*window)->savedArchiveName(), QStringLiteral("新档案"));
        // It has no draws yet, and nothing was lost: no message, an empty table, the name in the list.
        QCOMPARE(script->texts(), QStringList());
        QCOMPARE(gridRows(*window), QStringList());
        QVERIFY(comboItems(*control<ui::ChoiceCombo>(tab, "Edit_name")).contains(QStringLiteral("新档案")));
        // Picked from the list again at once: its settings come back.
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_name"), kArchive);
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_name"), QStringLiteral("新档案"));
        QCOMPARE(values(), (QStringList{"20", "3", "6", "2"}));
        // A later analysis of it does say the draws are missing, as for any archive without them.
        script->clear();
        window->runAction(QStringLiteral("act_grid"));
        QCOMPARE(script->texts(), QStringList{QStringLiteral("Dravik[新档案]丢失，请重录")});
    }

    void leaveTabWithChanges_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("target");
        QTest::newRow("yes, to analysis") << dialogs::kYes << int(MainWindow::kAnalysisTab);
        QTest::newRow("yes, to help") << dialogs::kYes << int(MainWindow::kHelpTab);
        QTest::newRow("no, to analysis") << dialogs::kNo << int(MainWindow::kAnalysisTab);
        QTest::newRow("no, to help") << dialogs::kNo << int(MainWindow::kHelpTab);
    }

    void leaveTabWithChanges() {
        QFETCH(int, answer);
        QFETCH(int, target);
        start();
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), QStringLiteral("6"));
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_b"), QStringLiteral("3"));
        script->queueAnswer(answer);
        QTest::mouseClick(tabBar(*window)->tabButton(target), Qt::LeftButton);
        QCOMPARE(script->shown().size(), 1);
        QCOMPARE(script->shown().first().title, QStringLiteral("确认"));
        QCOMPARE(script->shown().first().text, kQuestion);
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kSettingsTab));
        QVERIFY(!saveButton(*window)->isHidden());
        QVERIFY(!saveButton(*window)->isEnabled());
        checkAnswered(answer);
        if (QTest::currentTestFailed())
            return;
        // Clean again: the tab can now be left without a question.
        QTest::mouseClick(tabBar(*window)->tabButton(target), Qt::LeftButton);
        QCOMPARE(tabBar(*window)->currentIndex(), target);
        QCOMPARE(script->shown().size(), 1);
    }

    void realQuestionStaysUntilAnswered_data() {
        QTest::addColumn<QString>("dismissal");
        QTest::addColumn<int>("answer");
        QTest::newRow("Esc, then No") << "Esc" << dialogs::kNo;
        QTest::newRow("Esc, then Yes") << "Esc" << dialogs::kYes;
        QTest::newRow("close button, then No") << "close" << dialogs::kNo;
        QTest::newRow("close button, then Yes") << "close" << dialogs::kYes;
    }

    // The real box, not the seam: Esc and the title bar's close button (the window system's close
    // request) leave the question open, and only Yes or No answer it.
    void realQuestionStaysUntilAnswered() {
        QFETCH(QString, dismissal);
        QFETCH(int, answer);
        start();
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), QStringLiteral("6"));
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_b"), QStringLiteral("3"));
        script.reset();

        QString asked;
        bool stayed = false;
        QPointer<QMessageBox> box;
        int ticks = 0;
        QTimer user;
        user.setInterval(20);
        connect(&user, &QTimer::timeout, this, [&] {
            if (++ticks > 250) // five seconds: the test fails below instead of waiting for ever
                user.stop();
            if (!box) {
                box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box || !box->isVisible())
                    return;
                asked = box->text();
                if (dismissal == "Esc")
                    QTest::keyClick(box->focusWidget() ? box->focusWidget() : box.data(), Qt::Key_Escape);
                else
                    box->windowHandle()->close();
                return;
            }
            user.stop();
            stayed = box->isVisible() && QApplication::activeModalWidget() == box;
            if (stayed)
                box->button(answer == dialogs::kYes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        user.start();
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kAnalysisTab), Qt::LeftButton);
        user.stop();

        QCOMPARE(asked, kQuestion);
        QVERIFY(stayed);
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kSettingsTab));
        QVERIFY(!saveButton(*window)->isEnabled());
        checkAnswered(answer);
    }

    void leaveTabAnsweringNoWithoutStoredSettings() {
        start();
        typeName(QStringLiteral("新档案"));
        clickSave(); // 新档案 becomes the saved archive, but its file is then removed
        QVERIFY(QFile::remove(path(QStringLiteral("新档案.ini"))));
        script->clear();
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), QStringLiteral("5"));
        script->queueAnswer(dialogs::kNo);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kHelpTab), Qt::LeftButton);
        QCOMPARE(tab->archiveName(), QStringLiteral("新档案"));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_a")->currentText(), QStringLiteral("5"));
        QVERIFY(!saveButton(*window)->isEnabled());
    }

    void yesWithBadValuesKeepsTheChanges() {
        start();
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_b"), QStringLiteral("5"));
        script->queueAnswer(dialogs::kYes);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kAnalysisTab), Qt::LeftButton);
        QCOMPARE(script->texts(), (QStringList{kQuestion, kBadValues}));
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kSettingsTab));
        QVERIFY(saveButton(*window)->isEnabled());
        QCOMPARE(testIni(), kStoredTest);
        // Leaving again asks again.
        script->queueAnswer(dialogs::kNo);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kAnalysisTab), Qt::LeftButton);
        QCOMPARE(script->texts(), (QStringList{kQuestion, kBadValues, kQuestion}));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_b")->currentText(), QStringLiteral("6"));
    }

    void closeWithChanges_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("yes") << "6" << dialogs::kYes << QStringList{kQuestion}
                             << settingsBytes(kArchive, 20, 6, 3, 2, 1, 0, 0);
        QTest::newRow("no") << "6" << dialogs::kNo << QStringList{kQuestion} << kStoredTest;
        QTest::newRow("yes with bad values")
            << "5" << dialogs::kYes << QStringList{kQuestion, kBadValues} << kStoredTest;
    }

    void closeWithChanges() {
        QFETCH(QString, a);
        QFETCH(int, answer);
        QFETCH(QStringList, shown);
        QFETCH(QByteArray, stored);
        start();
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), a);
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_b"), QStringLiteral("3"));
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kHelpTab), Qt::LeftButton);
        script->clear(); // leaving the tab asked (and No restored); change again, stay on the tab
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), a);
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_b"), QStringLiteral("3"));
        script->queueAnswer(answer);
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QCOMPARE(script->texts(), shown);
        QCOMPARE(testIni(), stored);
    }

    void closeAnsweringYesWithNonIntegerTextStaysOpen() {
        start();
        control<ui::ChoiceCombo>(tab, "Edit_c")->setText(QString());
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        script->queueAnswer(dialogs::kYes);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QCOMPARE(script->shown().size(), 2);
        QCOMPARE(script->shown().at(1).title, QStringLiteral("错误"));
        QCOMPARE(script->shown().at(1).text, QStringLiteral("'' is not a valid integer value."));
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kSettingsTab));
        QVERIFY(saveButton(*window)->isEnabled());
        QCOMPARE(testIni(), kStoredTest);
    }

    void closeWithoutChangesAsksNothing() {
        start();
        QVERIFY(window->close());
        QVERIFY(script->shown().isEmpty());
    }

    void builtInArchiveHoldsXAt36() {
        start(kBuiltInArchive);
        QCOMPARE(tab->archiveName(), kBuiltInArchive);
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_x")->currentText(), QStringLiteral("36"));
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_x"), QStringLiteral("40"));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_x")->currentText(), QStringLiteral("36"));
        QVERIFY(saveButton(*window)->isEnabled());
        // Any other bound control puts it back as well.
        control<ui::ChoiceCombo>(tab, "Edit_x")->setText(QStringLiteral("12"));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_x")->currentText(), QStringLiteral("36"));
    }

    // A click anywhere on a radio row checks its button, as in any list of options: on its caption's
    // text, or in the middle of the row, far from the button at its right end.
    void radioRowClick_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("where");
        for (const char* button : {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4",
                                   "RadioButton5", "RadioButton6", "RadioButton7"}) {
            for (const char* where : {"caption", "middle"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(button, where))) << button << where;
        }
    }

    void radioRowClick() {
        QFETCH(QString, button);
        QFETCH(QString, where);
        start();
        auto* list = control<ui::ItemList>(tab, "ListBox2");
        auto* radio = control<QRadioButton>(tab, qPrintable(button));
        // Another button of the group first, so that the click has something to change.
        for (QAbstractButton* other : radio->group()->buttons()) {
            if (other != radio) {
                other->click();
                break;
            }
        }
        QVERIFY(!radio->isChecked());
        QLabel* caption = nullptr;
        for (QLabel* label : list->findChildren<QLabel*>()) {
            if (label->buddy() == radio)
                caption = label;
        }
        QVERIFY(caption);
        const QPoint at(where == "caption" ? caption->x() + 10 : list->width() / 2,
                        caption->geometry().center().y());
        QWidget* under = list->childAt(at);
        QCOMPARE(under, caption);
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(list, at));
        QVERIFY(radio->isChecked());
        QVERIFY(saveButton(*window)->isEnabled());
    }

    // Only a click that begins and ends on the same radio row counts; a group's header is no option.
    void radioRowClickStaysOnItsRow() {
        start();
        auto* list = control<ui::ItemList>(tab, "ListBox2");
        const auto captionOf = [list](const QString& text) {
            for (QLabel* label : list->findChildren<QLabel*>()) {
                if (label->text() == text)
                    return label;
            }
            qFatal("no caption %s", qPrintable(text));
        };
        auto* sequential = control<QRadioButton>(tab, "RadioButton3");
        auto* interval = control<QRadioButton>(tab, "RadioButton4");
        QVERIFY(sequential->isChecked());
        QTest::mouseClick(captionOf(QStringLiteral("显示模式")), Qt::LeftButton);
        QVERIFY(sequential->isChecked());
        // Pressed on 间隔, released on 顺序: neither is clicked.
        QLabel* intervalCaption = captionOf(QStringLiteral("间隔"));
        QLabel* sequentialCaption = captionOf(QStringLiteral("顺序"));
        QTest::mousePress(intervalCaption, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(sequentialCaption, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(sequential->isChecked());
        QVERIFY(!interval->isChecked());
        QVERIFY(!saveButton(*window)->isEnabled());
        // The right button chooses nothing either.
        QTest::mouseClick(intervalCaption, Qt::RightButton);
        QVERIFY(!interval->isChecked());
    }

    // The 数据录入 row opens the data-entry page from anywhere on it, its caption included.
    void dataEntryRowClick_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("caption") << "caption";
        QTest::newRow("middle") << "middle";
        QTest::newRow("button") << "button";
    }

    void dataEntryRowClick() {
        QFETCH(QString, where);
        start();
        auto* list = control<ui::ItemList>(tab, "ListBox2");
        auto* button = control<QWidget>(tab, "Button_in");
        QLabel* caption = nullptr;
        for (QLabel* label : list->findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("数据录入"))
                caption = label;
        }
        QVERIFY(caption);
        const int y = caption->geometry().center().y();
        const QPoint at = where == "caption"  ? QPoint(caption->x() + 10, y)
                          : where == "middle" ? QPoint(list->width() / 2, y)
                                              : button->geometry().center();
        QWidget* under = list->childAt(at);
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(list, at));
        QCOMPARE(shownPage(*window), entryPage(*window));
    }

    void closingTheArchiveListReloads() {
        start();
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_a"), QStringLiteral("6"));
        QTest::mouseClick(control<QRadioButton>(tab, "RadioButton7"), Qt::LeftButton);
        // The same archive picked again: its stored settings replace the unsaved ones.
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_name"), kArchive);
        QTRY_COMPARE(control<ui::ChoiceCombo>(tab, "Edit_a")->currentText(), QStringLiteral("3"));
        QVERIFY(control<QRadioButton>(tab, "RadioButton5")->isChecked());
        // Another archive picked: its settings come in.
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_name"), kBuiltInArchive);
        QTRY_COMPARE(values(), (QStringList{"36", "6", "6", "0"}));
        QVERIFY(control<QRadioButton>(tab, "RadioButton2")->isChecked());
        QVERIFY(saveButton(*window)->isEnabled());
        QVERIFY(script->shown().isEmpty());
    }

    void closingTheArchiveListWithoutPicking() {
        start();
        pickFromList(control<ui::ChoiceCombo>(tab, "Edit_b"), QStringLiteral("9"));
        control<ui::ChoiceCombo>(tab, "Edit_name")->showPopup();
        QTRY_VERIFY(control<ui::ChoiceCombo>(tab, "Edit_name")->view()->isVisible());
        QTest::keyClick(control<ui::ChoiceCombo>(tab, "Edit_name")->view(), Qt::Key_Escape);
        QTRY_COMPARE(control<ui::ChoiceCombo>(tab, "Edit_b")->currentText(), QStringLiteral("6"));
        QCOMPARE(tab->archiveName(), kArchive);
    }
};

DRAVIK_GUI_TEST_MAIN(SettingsTest)
#include "tst_settings.moc"
