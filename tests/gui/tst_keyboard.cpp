// The keyboard and screen readers: the Tab order of every page, working the window with keys alone,
// and the names that a screen reader says for controls without a text of their own.
#include "app/download_page.h"
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "pages/settings_tab.h"
#include "storage/data_folder.h"
#include "ui/choice_combo.h"
#include "ui/image_button.h"
#include "ui/tab_control.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>

using namespace dravik;
using namespace dravik::test;

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

const QStringList kTabs = {"TabItem1", "TabItem3", "TabItem2", "TabItem4"};
// A group of radio buttons is one stop, at its checked button; the arrow keys move within the group.
const QStringList kSettings = {"Edit_name", "Button_in", "Edit_x", "Edit_a", "Edit_b",
                               "Edit_c",    "r1",        "r2",     "r3",     "Edit_k"};

} // namespace

class KeyboardTest : public WindowTestCase {
    Q_OBJECT

    void startOffline() {
        window = dravik::test::startOffline(*home);
        script->clear();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    QWidget* widget(const QString& name) const {
        auto* found = window->findChild<QWidget*>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }

    QString focusName() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("(none)");
    }

    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

private slots:
    void tabOrder_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("analysis") << "analysis" << QStringList{"StringGrid1"} + kTabs;
        QTest::newRow("settings") << "settings" << kSettings + kTabs;
        QTest::newRow("settings, unsaved") << "unsaved" << QStringList{"Button_save"} + kSettings + kTabs;
        QTest::newRow("help") << "help" << QStringList{"Memo1", "Button8"} + kTabs;
        QTest::newRow("trend") << "trend"
                               << QStringList{"Combo_span", "Grid_trend", "Grid_footer", "Label_check",
                                              "Label_fair", "Button_csv", "Button_png",  "Button_scan"} +
                                      kTabs;
        QTest::newRow("data entry") << "entry"
                                    << QStringList{"Button_back",   "Edit_qs",    "Edit_hm",    "Button_add",
                                                   "Button_import", "Button_del", "StringGrid2"};
    }

    // Tab visits every control of the page shown, top to bottom, each once, and comes round again;
    // Shift+Tab goes back. Each control it reaches is in full view.
    void tabOrder() {
        QFETCH(QString, page);
        QFETCH(QStringList, order);
        startOffline();
        if (page == "settings" || page == "unsaved" || page == "entry")
            tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        if (page == "unsaved") {
            QRadioButton* other = control<QRadioButton>(settingsTab(*window), "RadioButton1")->isChecked()
                                      ? control<QRadioButton>(settingsTab(*window), "RadioButton2")
                                      : control<QRadioButton>(settingsTab(*window), "RadioButton1");
            other->setChecked(true);
            QVERIFY(saveButton(*window)->isEnabled());
        }
        if (page == "help")
            tabBar(*window)->setCurrentIndex(MainWindow::kHelpTab);
        if (page == "trend")
            tabBar(*window)->setCurrentIndex(MainWindow::kTrendTab);
        if (page == "entry")
            entryPage(*window)->openForArchive();

        for (QString& name : order)
            if (auto* group = window->findChild<QButtonGroup*>(name))
                name = group->checkedButton()->objectName();

        widget(order.first())->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(focusName(), order.first());
        QStringList visited = {focusName()};
        for (int i = 0; i < order.size(); ++i) {
            press(Qt::Key_Tab);
            visited.append(focusName());
            QWidget* focus = QApplication::focusWidget();
            QVERIFY2(focus->visibleRegion().contains(focus->rect()), qPrintable(focusName()));
        }
        QCOMPARE(visited, order + QStringList{order.first()});

        press(Qt::Key_Backtab);
        QCOMPARE(focusName(), order.last());
    }

    // Within a group the arrow keys move the focus and the choice; the settings then count as changed.
    void arrowsChooseInAGroup() {
        startOffline();
        SettingsTab* settings = settingsTab(*window);
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        control<QRadioButton>(settings, "RadioButton5")->setChecked(true);
        saveButton(*window)->setEnabled(false);
        control<QRadioButton>(settings, "RadioButton5")->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Down);
        QCOMPARE(focusName(), QStringLiteral("RadioButton6"));
        QVERIFY(control<QRadioButton>(settings, "RadioButton6")->isChecked());
        press(Qt::Key_Down);
        QVERIFY(control<QRadioButton>(settings, "RadioButton7")->isChecked());
        QCOMPARE(settings->depth(), 100);
        QVERIFY(saveButton(*window)->isEnabled());
    }

    // From the analysis tab to a new draw and back, and the help button, with keys alone.
    void keysAlone() {
        startOffline();
        DataEntryPage* entry = entryPage(*window);
        tabBar(*window)->tabButton(MainWindow::kSettingsTab)->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Space);
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kSettingsTab));

        control<ui::ImageButton>(settingsTab(*window), "Button_in")->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Space);
        QCOMPARE(shownPage(*window), entry);
        QVERIFY(entry->isAncestorOf(QApplication::focusWidget()));

        // Enter on a row of the table copies it into the fields.
        control<QTableWidget>(entry, "StringGrid2")->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Down);
        press(Qt::Key_Return);
        QCOMPARE(control<ui::ChoiceCombo>(entry, "Edit_qs")->currentText(), QStringLiteral("24029"));
        QCOMPARE(control<ui::ChoiceCombo>(entry, "Edit_hm")->currentText(), QStringLiteral("05"));

        control<ui::ChoiceCombo>(entry, "Edit_qs")->setFocus(Qt::TabFocusReason);
        control<ui::ChoiceCombo>(entry, "Edit_qs")->lineEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("24031"));
        press(Qt::Key_Tab);
        control<ui::ChoiceCombo>(entry, "Edit_hm")->lineEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("17"));
        press(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Button_add"));
        press(Qt::Key_Space);
        QCOMPARE(control<QTableWidget>(entry, "StringGrid2")->item(0, 1)->text(), QStringLiteral("24031"));

        control<ui::ImageButton>(entry, "Button_back")->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Space);
        QCOMPARE(shownPage(*window), mainPage(*window));
        QCOMPARE(focusName(), QStringLiteral("Button_in"));
        const QByteArray file = readFile(home->dataFolder() + kBuiltInArchive + QStringLiteral(".dat"));
        QVERIFY(file.endsWith("24031.17\r\n"));

        tabBar(*window)->tabButton(MainWindow::kHelpTab)->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Space);
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kHelpTab));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        control<ui::ImageButton>(helpTab(*window), "Button8")->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Space);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(downloadPageUrl())});
        QVERIFY(script->shown().isEmpty());
    }

    // A click on a picture button or a tab leaves the focus where it was.
    void clicksKeepTheFocus() {
        startOffline();
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        control<ui::ChoiceCombo>(settingsTab(*window), "Edit_x")->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kHelpTab), Qt::LeftButton);
        QTest::mouseClick(tabBar(*window)->tabButton(MainWindow::kSettingsTab), Qt::LeftButton);
        QCOMPARE(focusName(), QStringLiteral("Edit_x"));
    }

    void typedEntry_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("picked");
        QStringList x;
        for (int n = 10; n <= 60; ++n)
            x.append(QString::number(n));
        const QStringList abc = QStringList{"1", "2", "3", "4", "5", "6"} + x;
        QTest::newRow("equal, before the current") << abc << "5" << 5 << 4;
        QTest::newRow("equal, two keys") << abc << "45" << 5 << int(abc.indexOf("45"));
        QTest::newRow("start, after the current") << x << "4" << 26 << 30;
        QTest::newRow("start, from the top again") << x << "1" << 26 << 0;
        QTest::newRow("start, the current itself last") << x << "36" << 26 << 26;
        QTest::newRow("start, no current") << x << "2" << -1 << 10;
        QTest::newRow("none") << abc << "0" << 5 << -1;
        QTest::newRow("empty list") << QStringList() << "1" << -1 << -1;
    }

    void typedEntry() {
        QFETCH(QStringList, entries);
        QFETCH(QString, typed);
        QFETCH(int, current);
        QFETCH(int, picked);
        QCOMPARE(ui::typedEntry(entries, typed, current), picked);
    }

    void readOnlyCombos_data() {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QString>("clicked"); // where: on the text, on the frame beside it, on the arrow
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("value");
        QTest::newRow("A, text, 5") << "Edit_a"
                                    << "text"
                                    << "5"
                                    << "5";
        QTest::newRow("B, frame, 12") << "Edit_b"
                                      << "frame"
                                      << "12"
                                      << "12";
        QTest::newRow("C, arrow, 4") << "Edit_c"
                                     << "arrow"
                                     << "4"
                                     << "4";
        QTest::newRow("A, no such entry") << "Edit_a"
                                          << "text"
                                          << "0"
                                          << "6";
        QTest::newRow("X, frame, nothing typed") << "Edit_x"
                                                 << "frame"
                                                 << ""
                                                 << "36";
    }

    // A click anywhere on a read-only combo opens its list; with the list closed, typing picks the
    // entry typed, and the settings then count as changed.
    void readOnlyCombos() {
        QFETCH(QString, combo);
        QFETCH(QString, clicked);
        QFETCH(QString, typed);
        QFETCH(QString, value);
        startOffline();
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        auto* box = qobject_cast<ui::ChoiceCombo*>(widget(combo));
        QVERIFY(box);
        const QString before = box->currentText();
        const QRect field = box->lineEdit()->geometry();
        QPoint point(field.left() + 5, box->height() / 2);
        if (clicked == "frame")
            point = QPoint(field.left() - 1, box->height() / 2);
        if (clicked == "arrow")
            point = QPoint(box->width() - 5, box->height() / 2);
        QVERIFY(!field.contains(point) || clicked == "text");
        QWidget* target = box->childAt(point) ? box->childAt(point) : box;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(box, point));
        QTRY_VERIFY(box->view()->isVisible());
        QTest::keyClick(box->view(), Qt::Key_Escape);
        QTRY_VERIFY(!box->view()->isVisible());
        QCOMPARE(box->currentText(), before);

        saveButton(*window)->setEnabled(false);
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QCOMPARE(box->currentText(), value);
        QCOMPARE(saveButton(*window)->isEnabled(), value != before);
    }

    void spokenNames_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("save") << "Button_save"
                              << "保存设置";
        QTest::newRow("data entry") << "Button_in"
                                    << "数据录入";
        QTest::newRow("back") << "Button_back"
                              << "返回";
        QTest::newRow("add") << "Button_add"
                             << "添加记录";
        QTest::newRow("delete") << "Button_del"
                                << "删除记录";
        QTest::newRow("update") << "Button_update"
                                << "更新";
        QTest::newRow("help button") << "Button8"
                                     << "点击检查更新或扫码下载安卓版本";
        QTest::newRow("settings tab") << "TabItem2"
                                      << "设置";
        QTest::newRow("start 1") << "RadioButton2"
                                 << "开始值 1";
        QTest::newRow("interval") << "RadioButton4"
                                  << "显示模式 间隔";
        QTest::newRow("100 periods") << "RadioButton7"
                                     << "分析期数 100期";
        QTest::newRow("results") << "StringGrid1"
                                 << "分析结果";
        QTest::newRow("records") << "StringGrid2"
                                 << "开奖记录";
        QTest::newRow("help text") << "Memo1"
                                   << "帮助";
        QTest::newRow("trend tab") << "TabItem3"
                                   << "走势";
        QTest::newRow("trend chart") << "Grid_trend"
                                     << "走势表";
        QTest::newRow("trend footers") << "Grid_footer"
                                       << "走势统计";
        QTest::newRow("csv") << "Button_csv"
                             << "导出CSV";
        QTest::newRow("png") << "Button_png"
                             << "导出图片";
    }

    // What the accessibility interface, and so a screen reader, gives as each control's name.
    void spokenNames() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        startOffline();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget(control));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), name);
    }

    void labelledBy_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("label");
        QTest::newRow("X") << "Edit_x"
                           << "Ｘ＝";
        QTest::newRow("C") << "Edit_c"
                           << "Ｃ＝";
        QTest::newRow("period") << "Edit_qs"
                                << "期数：";
        QTest::newRow("number") << "Edit_hm"
                                << "号码：";
        QTest::newRow("span") << "Combo_span"
                              << "统计期数";
    }

    // A combo's name on Linux is its value; a screen reader names it by the caption that labels it.
    void labelledBy() {
        QFETCH(QString, control);
        QFETCH(QString, label);
        startOffline();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget(control));
        QVERIFY(accessible);
        QStringList labels;
        for (const auto& [other, relation] : accessible->relations(QAccessible::Label))
            labels.append(other->text(QAccessible::Name));
        QCOMPARE(labels, QStringList{label});
    }

    void describedControls_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("description");
        QTest::newRow("archive") << "Edit_name"
                                 << "档案名";
        QTest::newRow("mark check") << "Label_check"
                                    << "荐号回测";
        QTest::newRow("help button") << "Button8" << downloadPageUrl();
    }

    void describedControls() {
        QFETCH(QString, control);
        QFETCH(QString, description);
        startOffline();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget(control));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Description), description);
    }
};

DRAVIK_GUI_TEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
