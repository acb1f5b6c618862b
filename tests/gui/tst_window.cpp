// The window itself: its frame, pages and controls, navigation, the logo and help buttons, the
// dialogs and the application's error handling.
#include "gui_harness.h"
#include "pages/help_text.h"
#include "pages/main_header.h"
#include "pages/settings_tab.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "ui/choice_combo.h"
#include "ui/drag_header.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/item_list.h"
#include "ui/picture_box.h"
#include "ui/tab_control.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QWheelEvent>

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

class Thrower : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw Error(QStringLiteral("boom"));
        return QObject::event(event);
    }
};

} // namespace

class WindowTest : public WindowTestCase {
    Q_OBJECT

    // A start without network: the built-in archive already holds the worked example.
    void startOffline() {
        window = dravik::test::startOffline(*home);
        QCOMPARE(shownPage(*window), mainPage(*window));
        script->clear();
    }

private slots:
    void frame() {
        startOffline();
        QCOMPARE(window->objectName(), QStringLiteral("Dravik_Main"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Dravik"));
        // Desktops match the window to its desktop entry by these two.
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("io.github.dravik_app.dravik"));
        QCOMPARE(QGuiApplication::applicationName(), QStringLiteral("Dravik"));
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        // Windows gives a frameless window a system menu (Alt+Space) with 最小化 and 关闭 only with these.
        QVERIFY(window->windowFlags() & Qt::WindowSystemMenuHint);
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        // It opens at its design size, the least it can be made; it grows (gui_frame_test).
        QCOMPARE(window->size(), QSize(442, 766));
        QCOMPARE(window->minimumSize(), QSize(442, 766));
        QCOMPARE(window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        QCOMPARE(window->grab().toImage().pixelColor(441, 765), QColor(Qt::white));
        // Centred in the screen's free area, which holds it (the test's X server is 1280 × 1024).
        const QRect area = window->screen()->availableGeometry();
        QVERIFY(area.contains(window->frameGeometry()));
        QVERIFY(std::abs(window->frameGeometry().center().x() - area.center().x()) <= 1);
        QVERIFY(std::abs(window->frameGeometry().center().y() - area.center().y()) <= 1);
    }

    // The window fitted to a screen whose free area is shorter than 766 (the ratio-2 test and the
    // desktop test see it take that height on a real screen): the header and the tab strip show whole,
    // the pages give up height, and every tab is reached with a click. The trend chart keeps ten rows
    // in view: on the shortest window the export buttons move up beside the span list.
    void shortWindow_data() {
        QTest::addColumn<int>("height");
        for (const int height : {766, 728, 700, 600, 480})
            QTest::newRow(qPrintable(QString::number(height))) << height;
    }

    void shortWindow() {
        QFETCH(int, height);
        startOffline();
        window->setFixedSize(442, height);
        const int page = height - 100; // the tab's page: less the header and the tab strip
        const auto placed = [this](const char* name) {
            auto* widget = control<QWidget>(window.get(), name);
            return QRect(widget->mapTo(window.get(), QPoint(0, 0)), widget->size());
        };
        const int order[] = {MainWindow::kHelpTab, MainWindow::kTrendTab, MainWindow::kSettingsTab,
                             MainWindow::kAnalysisTab};
        for (const int tab : order) {
            QTest::mouseClick(tabBar(*window)->tabButton(tab), Qt::LeftButton);
            QCOMPARE(tabBar(*window)->currentIndex(), tab);
            QCoreApplication::processEvents();
            switch (tab) {
            case MainWindow::kHelpTab:
                QCOMPARE(placed("Memo1"), QRect(15, 60, 412, page - 120));
                QCOMPARE(placed("Button8"), QRect(0, 50 + page - 100, 442, 100));
                break;
            case MainWindow::kTrendTab: {
                QCOMPARE(placed("Button_csv"),
                         height > 480 ? QRect(10, 50 + page - 38, 100, 30) : QRect(190, 58, 100, 30));
                QCOMPARE(placed("Grid_trend").top(), 50 + 44);
                QCOMPARE(placed("Grid_trend").bottom() + 1, placed("Grid_footer").top());
                auto* chart = control<QTableView>(window.get(), "Grid_trend");
                QVERIFY2(chart->viewport()->height() >= 10 * 22,
                         qPrintable(QString::number(chart->viewport()->height())));
                break;
            }
            case MainWindow::kSettingsTab:
                QCOMPARE(placed("ListBox2"), QRect(10, 50, 422, page));
                break;
            case MainWindow::kAnalysisTab:
                QCOMPARE(placed("StringGrid1"), QRect(10, 50, 422, page));
                break;
            }
        }
        QCOMPARE(placed("Layout_top"), QRect(0, 0, 442, 50));
        QCOMPARE(placed("Button_save"), QRect(382, 0, 50, 50));
        QCOMPARE(placed("TabItem1"), QRect(0, height - 50, 110, 50));
        QCOMPARE(placed("TabItem4"), QRect(331, height - 50, 111, 50));
        QCOMPARE(window->grab().toImage().pixelColor(441, height - 1), QColor(Qt::white));

        // The splash fits its picture into what the indicator and the texts leave.
        control<QStackedWidget>(window.get(), "Tab_back")->setCurrentWidget(splashPage(*window));
        QCoreApplication::processEvents();
        QCOMPARE(placed("Image2"), QRect(0, 0, 442, height - 150));
        QCOMPARE(placed("AniIndicator1"), QRect(0, height - 150, 442, 50));
        QCOMPARE(placed("GridLayout1"), QRect(0, height - 100, 442, 100));
        // The data-entry page's table takes what its fields leave.
        entryPage(*window)->openForArchive();
        QCoreApplication::processEvents();
        QCOMPARE(placed("StringGrid2"), QRect(10, 188, 422, height - 188));
    }

    // On a short window the settings list scrolls with the wheel, over its rows and over a control
    // that does not have the focus, which keeps its value; a control that takes the focus comes into
    // view with its group's header.
    void settingsListScrolls() {
        startOffline();
        window->setFixedSize(442, 600);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        QCoreApplication::processEvents();
        auto* list = control<ui::ItemList>(settingsTab(*window), "ListBox2");
        QCOMPARE(list->height(), 500); // the rows need 740
        const auto inView = [list](const char* name) {
            auto* widget = control<QWidget>(list, name);
            return list->rect().contains(QRect(widget->pos(), widget->size()));
        };
        const auto turnWheel = [](QWidget* target, int notches) {
            const QPointF at(target->width() / 2, target->height() / 2);
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        };
        QVERIFY(inView("Edit_name"));
        QVERIFY(!inView("Edit_k"));
        const int nameTop = control<QWidget>(list, "Edit_name")->y();

        turnWheel(list, -1);
        QCOMPARE(list->scrollOffset(), 40);
        QCOMPARE(control<QWidget>(list, "Edit_name")->y(), nameTop - 40);
        // Over a combo without the focus the list scrolls, and the value stays.
        auto* x = control<ui::ChoiceCombo>(settingsTab(*window), "Edit_x");
        const QString value = x->currentText();
        turnWheel(x, -10);
        QCOMPARE(x->currentText(), value);
        QCOMPARE(list->scrollOffset(), 740 - 500); // no further than the last row, K＝
        QVERIFY(inView("Edit_k"));
        QVERIFY(!inView("Edit_name"));

        // A control that takes the focus comes into view, with its group's header where its row is the
        // group's first: X (row 140, header 110), the archive name (row 30, header 0), 30期 (row 550,
        // header 520); 60期 below it needs no more than its own row.
        x->setFocus(Qt::TabFocusReason);
        QCOMPARE(list->scrollOffset(), 110);
        control<QWidget>(list, "Edit_name")->setFocus(Qt::TabFocusReason);
        QCOMPARE(list->scrollOffset(), 0);
        control<QWidget>(list, "RadioButton5")->setFocus(Qt::TabFocusReason);
        QCOMPARE(list->scrollOffset(), 590 - 500);
        control<QWidget>(list, "RadioButton6")->setFocus(Qt::TabFocusReason);
        QCOMPARE(list->scrollOffset(), 630 - 500);
        QVERIFY(inView("RadioButton6"));
        // Wheel over the combo with the focus: the combo's own business, the list stays.
        x->setFocus(Qt::TabFocusReason);
        const int offset = list->scrollOffset();
        turnWheel(x, 1);
        QCOMPARE(list->scrollOffset(), offset);
        turnWheel(list, 20);
        QCOMPARE(list->scrollOffset(), 0);
        QVERIFY(script->shown().isEmpty());

        // A window tall enough for the rows: nothing to scroll.
        window->setFixedSize(442, 900);
        QCoreApplication::processEvents();
        QCOMPARE(list->scrollOffset(), 0);
        turnWheel(list, -1);
        QCOMPARE(list->scrollOffset(), 0);
    }

    void placement_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect"); // in window coordinates
        QTest::newRow("Tab_back") << "Tab_back" << QRect(0, 0, 442, 766);
        QTest::newRow("Image2") << "Image2" << QRect(0, 0, 442, 616);
        QTest::newRow("AniIndicator1") << "AniIndicator1" << QRect(0, 616, 442, 50);
        QTest::newRow("GridLayout1") << "GridLayout1" << QRect(0, 666, 442, 100);
        QTest::newRow("Label2") << "Label2" << QRect(0, 666, 495, 50);
        QTest::newRow("Label3") << "Label3" << QRect(0, 716, 495, 50);
        QTest::newRow("Layout_top") << "Layout_top" << QRect(0, 0, 442, 50);
        QTest::newRow("Label1") << "Label1" << QRect(0, 0, 442, 50);
        QTest::newRow("Image_logo") << "Image_logo" << QRect(0, 0, 50, 50);
        QTest::newRow("Button_save") << "Button_save" << QRect(382, 0, 50, 50);
        QTest::newRow("TabControl1") << "TabControl1" << QRect(0, 50, 442, 716);
        QTest::newRow("StringGrid1") << "StringGrid1" << QRect(10, 50, 422, 666);
        QTest::newRow("ListBox2") << "ListBox2" << QRect(10, 50, 422, 666);
        QTest::newRow("Memo1") << "Memo1" << QRect(15, 60, 412, 546);
        QTest::newRow("Layout1") << "Layout1" << QRect(0, 616, 442, 100);
        QTest::newRow("Button8") << "Button8" << QRect(0, 616, 442, 100);
        QTest::newRow("TabItem1") << "TabItem1" << QRect(0, 716, 110, 50);
        QTest::newRow("TabItem3") << "TabItem3" << QRect(110, 716, 111, 50);
        QTest::newRow("TabItem2") << "TabItem2" << QRect(221, 716, 110, 50);
        QTest::newRow("TabItem4") << "TabItem4" << QRect(331, 716, 111, 50);
    }

    void placement() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        startOffline();
        // Every tab is shown once so that its pages are laid out as the user sees them.
        for (int tab : {MainWindow::kHelpTab, MainWindow::kSettingsTab, MainWindow::kAnalysisTab})
            tabBar(*window)->setCurrentIndex(tab);
        auto* widget = window->findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(QRect(widget->mapTo(window.get(), QPoint(0, 0)), widget->size()), rect);
    }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Label1") << "Label1"
                                << "Dravik";
        QTest::newRow("Label2") << "Label2"
                                << "正在更新数据…";
        QTest::newRow("Label3") << "Label3"
                                << "数据仅供参考 · 理性购彩";
        QTest::newRow("Button8") << "Button8"
                                 << "点击检查更新或扫码下载安卓版本";
        QTest::newRow("TabItem1") << "TabItem1"
                                  << "分析";
        QTest::newRow("TabItem3") << "TabItem3"
                                  << "走势";
        QTest::newRow("TabItem2") << "TabItem2"
                                  << "设置";
        QTest::newRow("TabItem4") << "TabItem4"
                                  << "帮助";
    }

    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        startOffline();
        QObject* object = window->findChild<QObject*>(name);
        QVERIFY2(object, qPrintable(name));
        QCOMPARE(object->property("text").toString(), caption);
    }

    void pictures() {
        const QList<QPair<int, QString>> entries = {
            {2, "url"},          {3, "Dravik_count"},  {4, "Dravik_set"},
            {6, "Dravik_help"},  {9, "save1"},         {13, "delete"},
            {14, "add"},         {15, "Dravik_right"}, {16, "复件 Dravik_right"},
            {18, "Dravik_trend"}};
        for (const auto& [index, name] : entries) {
            QCOMPARE(ui::imageName(index), name);
            QVERIFY2(!ui::imageIcon(index).pixmap(25, 25).isNull(), qPrintable(name));
        }
        for (int unused : {0, 1, 5, 7, 8, 10, 11, 12, 17})
            QVERIFY(ui::imageIcon(unused).isNull());
    }

    void helpText() {
        startOffline();
        const QStringList lines =
            control<QPlainTextEdit>(helpTab(*window), "Memo1")->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines, helpTextLines());
        for (int blank : {1, 2, 4, 5, 6, 8, 9, 10, 12, 15, 16})
            QVERIFY2(lines.at(blank - 1).endsWith(QLatin1Char(' ')), qPrintable(QString::number(blank)));
        for (int indented : {6, 9, 10})
            QVERIFY(lines.at(indented - 1).startsWith(QChar(0x3000)));
        for (int empty : {3, 7, 11, 13, 17, 19, 21, 23})
            QVERIFY(lines.at(empty - 1).isEmpty());
        QCOMPARE(lines.at(13),
                 QStringLiteral("②修改数据：软件含数据文件（南粤风采好彩1.dat）。可参照建立自己的新文件。"));
        // K, with the 双色球 red balls as the example.
        QVERIFY(lines.at(17).startsWith(QStringLiteral("K值=每期开奖号码数")));
        QVERIFY(lines.at(17).contains(QStringLiteral("双色球红球：X=33，K=6")));
        // Which choice of the import reads a history table, and that the dialog picks it.
        QVERIFY(lines.at(19).contains(QStringLiteral("“第3列起6列”")));
        QVERIFY(lines.at(19).contains(QStringLiteral("自动选中")));
        // How to close and minimise the window without a title bar, in one sentence.
        QCOMPARE(lines.at(21),
                 QStringLiteral("③窗口：拖动边缘或四角可放大窗口，双击顶部标题栏最大化或还原；双击左上角"
                                "图标退出，右键单击顶部标题栏可选“最大化”“最小化”或“退出”，Windows下也可按"
                                "Alt+空格打开系统菜单。"));
        QVERIFY(control<QPlainTextEdit>(helpTab(*window), "Memo1")->isReadOnly());
    }

    void gridLayout() {
        startOffline();
        QTableWidget* grid = control<QTableWidget>(analysisTab(*window), "StringGrid1");
        QStringList headers;
        for (int c = 0; c < grid->columnCount(); ++c)
            headers.append(grid->horizontalHeaderItem(c)->text());
        QCOMPARE(headers, (QStringList{"号码", "出现值", "遗漏值", "荐"}));
        QCOMPARE(grid->columnWidth(0), 286);
        QCOMPARE(grid->columnWidth(1), 50);
        QCOMPARE(grid->columnWidth(2), 50);
        QCOMPARE(grid->columnWidth(3), 30);
        QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 30);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        const QTableWidgetItem* cell = grid->item(0, 0);
        QVERIFY(cell);
        QCOMPARE(cell->foreground().color(), QColor(0x1E, 0x90, 0xFF));
        QCOMPARE(Qt::Alignment(cell->textAlignment()), Qt::AlignCenter);
        QCOMPARE(cell->font().pointSizeF(), 15.0);
        QVERIFY(!(cell->flags() & Qt::ItemIsEditable));
    }

    // A button that shows only a picture says what it does when the pointer rests on it: its
    // accessible name. A button with a caption needs no tooltip.
    void pictureButtonsSayWhatTheyDo_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("tip");
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
        QTest::newRow("import") << "Button_import"
                                << "导入记录";
        QTest::newRow("update") << "Button_update"
                                << "更新";
        QTest::newRow("download page, captioned") << "Button8"
                                                  << "";
    }

    void pictureButtonsSayWhatTheyDo() {
        QFETCH(QString, button);
        QFETCH(QString, tip);
        startOffline();
        tabBar(*window)->setCurrentIndex(button == "Button8" ? MainWindow::kHelpTab
                                                             : MainWindow::kSettingsTab);
        if (QStringList{"Button_back", "Button_add", "Button_del", "Button_import", "Button_update"}.contains(
                button))
            entryPage(*window)->openForArchive();
        QCoreApplication::processEvents();
        auto* target = control<QWidget>(window.get(), qPrintable(button));
        QVERIFY(target->isVisible());
        QCOMPARE(toolTipAt(target, target->rect().center()), tip);
    }

    void tabsWithoutChangesAskNothing() {
        startOffline();
        QVERIFY(saveButton(*window)->isHidden());
        const int order[] = {MainWindow::kSettingsTab, MainWindow::kHelpTab, MainWindow::kSettingsTab,
                             MainWindow::kAnalysisTab, MainWindow::kHelpTab, MainWindow::kAnalysisTab};
        for (int tab : order) {
            QTest::mouseClick(tabBar(*window)->tabButton(tab), Qt::LeftButton);
            QCOMPARE(tabBar(*window)->currentIndex(), tab);
            QCOMPARE(saveButton(*window)->isHidden(), tab != MainWindow::kSettingsTab);
            QVERIFY(!saveButton(*window)->isEnabled());
        }
        QVERIFY(script->shown().isEmpty());
    }

    void tabCaptionColours() {
        startOffline();
        // The selected tab's caption is crimson, the others keep the text colour.
        const QImage strip = window->grab(QRect(0, 741, 442, 25)).toImage();
        const auto hasColour = [&](int left, int right, const QColor& colour) {
            for (int x = left; x < right; ++x)
                for (int y = 0; y < strip.height(); ++y)
                    if (strip.pixelColor(x, y) == colour)
                        return true;
            return false;
        };
        const QColor crimson(0xDC, 0x14, 0x3C);
        QVERIFY(hasColour(0, 147, crimson));
        QVERIFY(!hasColour(147, 442, crimson));
    }

    void logoDoubleClickCloses() {
        startOffline();
        QTest::mouseClick(control<ui::PictureBox>(header(*window), "Image_logo"), Qt::LeftButton);
        QVERIFY(window->isVisible());
        QTest::mouseDClick(control<ui::PictureBox>(header(*window), "Image_logo"), Qt::LeftButton);
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(script->shown().isEmpty());
    }

    void logoSaysHowToClose() {
        startOffline();
        auto* logo = control<ui::PictureBox>(header(*window), "Image_logo");
        QCOMPARE(logo->toolTip(), QStringLiteral("双击退出"));
        QCOMPARE(logo->accessibleDescription(),
                 QStringLiteral("双击退出；右键单击标题栏可最大化、最小化或退出"));
    }

    // A right-click anywhere on the header, the logo and the title included, opens the menu 最大化 /
    // 最小化 / 退出 (最大化 in gui_frame_test). 退出 is the logo's double-click: unsaved settings are
    // asked about first, and the window closes whatever the answer.
    void headerMenu_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("最小化") << "title"
                                << "最小化" << false << QStringList();
        QTest::newRow("退出") << "title"
                              << "退出" << false << QStringList();
        QTest::newRow("退出 on the logo") << "logo"
                                          << "退出" << false << QStringList();
        QTest::newRow("退出 with unsaved settings")
            << "title"
            << "退出" << true << QStringList{"设置已更改，是否保存？"};
        QTest::newRow("nothing picked") << "title" << QString() << true << QStringList();
    }

    void headerMenu() {
        QFETCH(QString, where);
        QFETCH(QString, entry);
        QFETCH(bool, unsaved);
        QFETCH(QStringList, asked);
        startOffline();
        if (unsaved) {
            tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
            control<QRadioButton>(settingsTab(*window), "RadioButton4")->click();
            QVERIFY(saveButton(*window)->isEnabled());
        }
        QWidget* target = where == "logo"
                              ? static_cast<QWidget*>(control<ui::PictureBox>(header(*window), "Image_logo"))
                              : header(*window);
        const QPoint at = where == "logo" ? QPoint(25, 25) : QPoint(221, 25);
        QStringList entries;
        QTimer::singleShot(0, window.get(), [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->objectName(), QStringLiteral("PopupMenu_window"));
            for (QAction* action : menu->actions())
                entries.append(action->text());
            const QList<QAction*> actions = menu->actions();
            const auto chosen = std::find_if(actions.cbegin(), actions.cend(),
                                             [&](QAction* action) { return action->text() == entry; });
            if (chosen == actions.cend()) {
                menu->close(); // as Esc or a click elsewhere does
                return;
            }
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(*chosen).center());
        });
        // On the title, which lets the click through, the header receives it; on the logo, the logo.
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
        QCOMPARE(entries, (QStringList{"最大化", "最小化", "退出"}));
        QCOMPARE(script->texts(), asked);
        if (entry == "退出")
            QTRY_VERIFY(!window->isVisible());
        else
            QVERIFY(window->isVisible());
        QCOMPARE(window->isMinimized(), entry == "最小化");
    }

    void headerDragMovesWindow() {
        startOffline();
        const QPoint before = window->pos();
        const QPoint local(200, 25);
        const QPoint global = header(*window)->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(header(*window), &press);
        QMouseEvent move(QEvent::MouseMove, local + QPoint(30, 20), global + QPoint(30, 20), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(header(*window), &move);
        QMouseEvent release(QEvent::MouseButtonRelease, local + QPoint(30, 20), global + QPoint(30, 20),
                            Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(header(*window), &release);
        QCOMPARE(window->pos(), before + QPoint(30, 20));
    }

    // Dragged off any edge of the screen's free area, the window stops at that edge: its header, the
    // only place to drag it by, never leaves the screen.
    void headerDragKeepsWindowOnScreen_data() {
        QTest::addColumn<QPoint>("drag");
        QTest::newRow("down") << QPoint(0, 2000);
        QTest::newRow("up") << QPoint(0, -2000);
        QTest::newRow("left") << QPoint(-3000, 0);
        QTest::newRow("right and down") << QPoint(3000, 3000);
    }

    void headerDragKeepsWindowOnScreen() {
        QFETCH(QPoint, drag);
        startOffline();
        const QRect area = window->screen()->availableGeometry();
        const QPoint local(200, 25);
        const QPoint global = header(*window)->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(header(*window), &press);
        QMouseEvent move(QEvent::MouseMove, local + drag, global + drag, Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(header(*window), &move);
        QMouseEvent release(QEvent::MouseButtonRelease, local + drag, global + drag, Qt::LeftButton,
                            Qt::NoButton, {});
        QApplication::sendEvent(header(*window), &release);
        QVERIFY(area.contains(QRect(window->pos(), window->size())));
        // Against the edge it was dragged towards.
        if (drag.y() > 0)
            QCOMPARE(window->y() + window->height(), area.top() + area.height());
        if (drag.y() < 0)
            QCOMPARE(window->y(), area.top());
        if (drag.x() < 0)
            QCOMPARE(window->x(), area.left());
        if (drag.x() > 0)
            QCOMPARE(window->x() + window->width(), area.left() + area.width());
    }

    void helpButtonOpensDownloadPage() {
        startOffline();
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        tabBar(*window)->setCurrentIndex(MainWindow::kHelpTab);
        QTest::mouseClick(control<ui::ImageButton>(helpTab(*window), "Button8"), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.urls.size(), 1);
        QVERIFY(catcher.urls.first().isValid());
        QVERIFY(!catcher.urls.first().host().isEmpty());
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kHelpTab));
        QVERIFY(script->shown().isEmpty());
    }

    void errorBoxText_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Unable to write to x"
                               << "Unable to write to x.";
        QTest::newRow("full stop") << "done."
                                   << "done.";
        QTest::newRow("quote") << "'a' is not a valid integer value"
                               << "'a' is not a valid integer value.";
        QTest::newRow("ends in quote mark") << "Cannot open \"x\""
                                            << "Cannot open \"x\"";
        QTest::newRow("ends in blank") << "x "
                                       << "x ";
        QTest::newRow("ends in slash") << "path/"
                                       << "path/.";
        QTest::newRow("ends in digit") << "code 5"
                                       << "code 5.";
        QTest::newRow("chinese") << "错误"
                                 << "错误.";
        QTest::newRow("empty") << ""
                               << ".";
    }

    void errorBoxText() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(dialogs::errorBoxText(message), shown);
    }

    void confirmationAnswersBeforeReturning() {
        script->queueAnswer(dialogs::kYes);
        script->queueAnswer(dialogs::kNo);
        QList<int> answers;
        dialogs::confirm(nullptr, QStringLiteral("q1"), [&](int answer) { answers.append(answer); });
        QCOMPARE(answers, QList<int>{6});
        dialogs::confirm(nullptr, QStringLiteral("q2"), [&](int answer) { answers.append(answer); });
        QCOMPARE(answers, (QList<int>{6, 7}));
        dialogs::showMessage(nullptr, QStringLiteral("m"));
        QCOMPARE(script->shown().size(), 3);
        QCOMPARE(script->shown().at(0).title, QStringLiteral("确认"));
        QCOMPARE(script->shown().at(2).title, QStringLiteral("提示"));
        QCOMPARE(script->unanswered(), 0);
    }

    void actionErrorReachesWhoRanIt() {
        startOffline();
        tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
        control<ui::ChoiceCombo>(settingsTab(*window), "Edit_a")->setText(QStringLiteral("abc"));
        // Carried past QAction's frames and raised again in the caller's: nothing is shown yet.
        QVERIFY_THROWS_EXCEPTION(Error, window->runAction(QStringLiteral("act_saveset")));
        QVERIFY(script->shown().isEmpty());
        // A handler that runs it shows it once, and runs again afterwards.
        for (int click = 1; click <= 2; ++click) {
            QTest::mouseClick(saveButton(*window), Qt::LeftButton);
            QCOMPARE(script->shown().size(), click);
            QCOMPARE(script->shown().last().text, QStringLiteral("'abc' is not a valid integer value."));
        }
    }

    void errorEscapingAHandlerIsShownAndTheLoopGoesOn() {
        Thrower thrower;
        QEvent event(QEvent::User);
        QApplication::sendEvent(&thrower, &event);
        bool later = false;
        QTimer::singleShot(0, &thrower, [] { throw Error(QStringLiteral("timer failed")); });
        QTimer::singleShot(0, &thrower, [&] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(script->shown().size(), 2);
        QCOMPARE(script->shown().at(0).title, QStringLiteral("错误"));
        QCOMPARE(script->shown().at(0).text, QStringLiteral("boom."));
        QCOMPARE(script->shown().at(1).text, QStringLiteral("timer failed."));
    }
};

DRAVIK_GUI_TEST_MAIN(WindowTest)
#include "tst_window.moc"
