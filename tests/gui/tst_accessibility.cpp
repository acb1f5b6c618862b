// The window as a screen reader walks it, through the accessible interfaces alone (no AT-SPI bus):
// every control reached from the window's interface with its role and name, every control of the
// keyboard's Tab chain among them, the pages' controls in reading order, and the tabs switching pages
// through their accessible action as a click does.
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "pages/settings_tab.h"
#include "ui/image_button.h"
#include "ui/item_list.h"
#include "ui/tab_control.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kQuestion = QStringLiteral("设置已更改，是否保存？");

// The interfaces below `root`, depth first in child order, each with the path of child indexes that
// leads to it. A child that does not name its parent back, or whose parent does not list it at its
// index, is reported: a screen reader that walks up from a focused control would lose its way.
struct Node {
    QAccessibleInterface* iface;
    QString path;
};

void walk(QAccessibleInterface* iface, const QString& path, QList<Node>& nodes, QStringList& strays) {
    nodes.append({iface, path});
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child)
            continue;
        if (child->parent() != iface || iface->indexOfChild(child) != i)
            strays.append(path + QStringLiteral("/%1").arg(i));
        walk(child, path + QStringLiteral("/%1").arg(i), nodes, strays);
    }
}

} // namespace

class AccessibilityTest : public WindowTestCase {
    Q_OBJECT

    QList<Node> tree;

    void start() {
        window = startOffline(*home);
        script->clear();
        QList<Node> nodes;
        QStringList strays;
        walk(QAccessible::queryAccessibleInterface(window.get()), QString(), nodes, strays);
        QCOMPARE(strays, QStringList());
        tree = nodes;
    }

    QWidget* widget(const QString& name) const { return window->findChild<QWidget*>(name); }

    // The interface of the object as reached from the window, or null.
    QAccessibleInterface* reached(const QObject* object) const {
        for (const Node& node : tree)
            if (node.iface->object() == object)
                return node.iface;
        return nullptr;
    }

    // The objectNames of the named objects in the order a walk of the page reaches them.
    QStringList readingOrder(const QObject* page, const QStringList& names) const {
        QString pagePath;
        for (const Node& node : tree)
            if (node.iface->object() == page)
                pagePath = node.path + QLatin1Char('/');
        QStringList order;
        for (const Node& node : tree) {
            const QObject* object = node.iface->object();
            if (node.path.startsWith(pagePath) && object && names.contains(object->objectName()) &&
                !order.contains(object->objectName()))
                order.append(object->objectName());
        }
        return order;
    }

private slots:
    void cleanup() {
        tree.clear();
        window.reset();
        script.reset();
        home.reset();
    }

    void controls_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("caption");
        const auto row = [](const char* control, QAccessible::Role role, const char* caption) {
            QTest::newRow(control) << QString::fromLatin1(control) << int(role) << QString::fromUtf8(caption);
        };
        row("Button_save", QAccessible::Button, "保存设置");
        row("StringGrid1", QAccessible::Table, "分析结果");
        row("Edit_name", QAccessible::ComboBox, "档案名");
        row("Button_in", QAccessible::Button, "数据录入");
        row("Edit_x", QAccessible::ComboBox, "X");
        row("Edit_a", QAccessible::ComboBox, "A");
        row("Edit_b", QAccessible::ComboBox, "B");
        row("Edit_c", QAccessible::ComboBox, "C");
        row("RadioButton1", QAccessible::RadioButton, "开始值 0");
        row("RadioButton2", QAccessible::RadioButton, "开始值 1");
        row("RadioButton3", QAccessible::RadioButton, "显示模式 顺序");
        row("RadioButton4", QAccessible::RadioButton, "显示模式 间隔");
        row("RadioButton5", QAccessible::RadioButton, "分析期数 30期");
        row("RadioButton6", QAccessible::RadioButton, "分析期数 60期");
        row("RadioButton7", QAccessible::RadioButton, "分析期数 100期");
        row("Memo1", QAccessible::EditableText, "帮助");
        row("Button8", QAccessible::Button, "点击检查更新或扫码下载安卓版本");
        row("TabItem1", QAccessible::PageTab, "分析");
        row("TabItem2", QAccessible::PageTab, "设置");
        row("TabItem4", QAccessible::PageTab, "帮助");
        row("Button_back", QAccessible::Button, "返回");
        row("Edit_qs", QAccessible::ComboBox, "期数");
        row("Edit_hm", QAccessible::ComboBox, "号码");
        row("Button_del", QAccessible::Button, "删除记录");
        row("Button_add", QAccessible::Button, "添加记录");
        row("Button_import", QAccessible::Button, "导入记录");
        row("StringGrid2", QAccessible::Table, "开奖记录");
        row("TabItem3", QAccessible::PageTab, "走势");
        row("Combo_span", QAccessible::ComboBox, "统计期数");
        row("Grid_trend", QAccessible::Table, "走势表");
        row("Grid_footer", QAccessible::Table, "走势统计");
        row("Label_check", QAccessible::StaticText, "荐号回测");
        row("Button_csv", QAccessible::Button, "导出CSV");
        row("Button_png", QAccessible::Button, "导出图片");
    }

    // Each control is in the tree that starts at the window, whichever page is shown, with its role
    // and what a screen reader says of it: its caption, and a combo's value or a label's text. A combo
    // reads as Qt's own does here: its value as its name, the caption by its label and as its
    // description; a label that carries information is named by its text.
    void controls() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, caption);
        start();
        QWidget* object = widget(control);
        QVERIFY(object);
        QAccessibleInterface* iface = reached(object);
        QVERIFY2(iface, "not reached from the window");
        QCOMPARE(int(iface->role()), role);
        if (auto* combo = qobject_cast<QComboBox*>(object)) {
            const QString value = combo->currentText();
            QCOMPARE(iface->text(QAccessible::Value), value);
            QCOMPARE(iface->text(QAccessible::Name), value.isEmpty() ? caption : value);
            QCOMPARE(iface->text(QAccessible::Description), caption);
        } else if (auto* label = qobject_cast<QLabel*>(object)) {
            QCOMPARE(iface->text(QAccessible::Name), label->text());
            QCOMPARE(iface->text(QAccessible::Description), caption);
        } else {
            QCOMPARE(iface->text(QAccessible::Name), caption);
        }
        if (role == QAccessible::PageTab) {
            QAccessibleInterface* list = iface->parent();
            QCOMPARE(list->role(), QAccessible::PageTabList);
            QCOMPARE(list->childCount(), tabBar(*window)->count());
        }
    }

    // Every control that Tab reaches on any page is in the tree with a name and a role of its own.
    void everyKeyboardControl() {
        start();
        QStringList missing;
        QStringList checked;
        const QList<QWidget*> widgets = window->findChildren<QWidget*>();
        for (QWidget* w : widgets) {
            if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->window() != window.get())
                continue;
            // A combo's text field is reached as the combo.
            if (qobject_cast<QComboBox*>(w->parentWidget()))
                continue;
            // A label that carries information is named by its text, and has none to say before it
            // has one.
            if (auto* label = qobject_cast<QLabel*>(w); label && label->text().isEmpty())
                continue;
            checked.append(w->objectName());
            QAccessibleInterface* iface = reached(w);
            if (!iface || iface->text(QAccessible::Name).isEmpty() || iface->role() == QAccessible::Client)
                missing.append(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                         : w->objectName());
        }
        QCOMPARE(missing, QStringList());
        for (const char* name : {"Button_save", "Edit_x", "Button8", "TabItem1", "Edit_hm", "StringGrid2"})
            QVERIFY2(checked.contains(QLatin1String(name)), name);
    }

    void pagesInReadingOrder_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("settings") << "TabItem2Page"
                                  << QStringList{"Edit_name",    "Button_in",    "Edit_x",
                                                 "Edit_a",       "Edit_b",       "Edit_c",
                                                 "RadioButton1", "RadioButton2", "RadioButton3",
                                                 "RadioButton4", "RadioButton5", "RadioButton6",
                                                 "RadioButton7"};
        QTest::newRow("data entry") << "Tab3"
                                    << QStringList{"Button_back", "Edit_qs",       "Edit_hm",    "Button_del",
                                                   "Button_add",  "Button_import", "StringGrid2"};
        QTest::newRow("tab strip") << "TabControl1" << QStringList{"TabItem1", "TabItem2", "TabItem4"};
        QTest::newRow("trend") << "TabItem3Page" << QStringList{"Combo_span",  "Grid_trend", "Grid_footer",
                                                                "Label_check", "Button_csv", "Button_png"};
        QTest::newRow("tab strip with 走势")
            << "TabControl1" << QStringList{"TabItem1", "TabItem3", "TabItem2", "TabItem4"};
    }

    // Top to bottom, left to right; a row's caption comes just before its control.
    void pagesInReadingOrder() {
        QFETCH(QString, page);
        QFETCH(QStringList, order);
        start();
        QCOMPARE(readingOrder(widget(page), order), order);
        if (page != "TabItem2Page")
            return;
        // The list's own children: group headers, and each row's caption before its control.
        const QAccessibleInterface* list = reached(control<ui::ItemList>(settingsTab(*window), "ListBox2"));
        QVERIFY(list);
        QStringList spoken;
        for (int i = 0; i < 9 && i < list->childCount(); ++i)
            spoken.append(list->child(i)->text(QAccessible::Name));
        // (A combo says its value; its caption is the label before it.)
        QCOMPARE(spoken, (QStringList{"档案名", "南粤风采好彩1", "数据录入", "数据录入",
                                      "值设置（Ｘ÷Ａ＝Ｂ...Ｃ）", "Ｘ＝", "36", "Ａ＝", "6"}));
    }

    void tabsSwitchPages_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("selected");
        const int analysis = MainWindow::kAnalysisTab;
        const int settings = MainWindow::kSettingsTab;
        const int help = MainWindow::kHelpTab;
        QTest::newRow("analysis to settings") << analysis << false << 0 << settings << settings;
        QTest::newRow("settings to help") << settings << false << 0 << help << help;
        QTest::newRow("help to analysis") << help << false << 0 << analysis << analysis;
        QTest::newRow("the selected tab") << settings << false << 0 << settings << settings;
        QTest::newRow("unsaved settings, No") << settings << true << dialogs::kNo << help << settings;
        QTest::newRow("unsaved settings, Yes") << settings << true << dialogs::kYes << analysis << settings;
        const int trend = MainWindow::kTrendTab;
        QTest::newRow("analysis to trend") << analysis << false << 0 << trend << trend;
        QTest::newRow("unsaved settings to trend, Yes")
            << settings << true << dialogs::kYes << trend << settings;
    }

    // The tab's press action does what a click does: the page switches, one tab is selected, and
    // leaving unsaved settings asks the question (and stays on the settings tab).
    void tabsSwitchPages() {
        QFETCH(int, from);
        QFETCH(bool, unsaved);
        QFETCH(int, answer);
        QFETCH(int, to);
        QFETCH(int, selected);
        start();
        ui::TabControl* tabs = tabBar(*window);
        tabs->setCurrentIndex(from);
        if (unsaved) {
            SettingsTab* settings = settingsTab(*window);
            (control<QRadioButton>(settings, "RadioButton3")->isChecked()
                 ? control<QRadioButton>(settings, "RadioButton4")
                 : control<QRadioButton>(settings, "RadioButton3"))
                ->setChecked(true);
            QVERIFY(saveButton(*window)->isEnabled());
            script->queueAnswer(answer);
        }
        QAccessibleInterface* tab = reached(tabs->tabButton(to));
        QVERIFY(tab);
        QAccessibleActionInterface* actions = tab->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames().value(0), QAccessibleActionInterface::pressAction());
        actions->doAction(QAccessibleActionInterface::pressAction());

        QCOMPARE(tabs->currentIndex(), selected);
        QVERIFY(tabs->page(selected)->isVisible());
        QCOMPARE(saveButton(*window)->isVisible(), selected == MainWindow::kSettingsTab);
        QCOMPARE(script->texts(), unsaved ? QStringList{kQuestion} : QStringList());
        if (unsaved)
            QVERIFY(!saveButton(*window)->isEnabled());
        for (int i = 0; i < tabs->count(); ++i) {
            const QAccessible::State state = reached(tabs->tabButton(i))->state();
            QCOMPARE(bool(state.selected), i == selected);
            QCOMPARE(bool(state.checked), i == selected);
        }
    }
};

DRAVIK_GUI_TEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
