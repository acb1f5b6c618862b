// Takes a picture of each page of the window, as the README shows them: the splash page, the
// analysis tab with the worked example, the settings tab, the help tab, the data-entry page with the
// latest draw picked, the trend tab over 100 draws at the default settings, the trend tab of 双色球's red
// balls (six numbers a draw) number by number at the design size and maximised and in three zones, and
// the import dialog with a 双色球 history pasted. Run it under Xvfb, on a screen of 1920 × 1080 for the
// maximised window, with the folder to write into:
// xvfb-run -a -s "-screen 0 1920x1080x24" build/tests/gui/dravik_screenshots docs
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "pages/import_dialog.h"
#include "pages/settings_tab.h"
#include "pages/trend_tab.h"
#include "storage/data_folder.h"
#include "ui/choice_combo.h"
#include "ui/tab_control.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QTableWidget>

using namespace dravik;
using namespace dravik::test;

int main(int argc, char** argv) {
    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);

    DataHome home;
    writeFile(home.dataFolder() + kBuiltInArchive + QStringLiteral(".dat"),
              recordFileBytes(workedExampleLines()));
    dialogs::Script script; // the offline start's download message is not shown

    std::unique_ptr<MainWindow> window = startWindow(closedSiteRoot());
    const auto save = [&](const char* name) {
        QCoreApplication::processEvents();
        const QString file = out + QLatin1Char('/') + QString::fromLatin1(name);
        if (!window->grab().save(file))
            qFatal("cannot write %s", qPrintable(file));
    };
    save("splash.png");
    window->onTick();
    save("analysis.png");
    tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
    save("settings.png");
    tabBar(*window)->setCurrentIndex(MainWindow::kHelpTab);
    save("help.png");
    tabBar(*window)->setCurrentIndex(MainWindow::kSettingsTab);
    entryPage(*window)->openForArchive();
    QTableWidget* records = control<QTableWidget>(entryPage(*window), "StringGrid2");
    records->selectRow(0);
    emit records->activated(records->model()->index(0, 0)); // copied into the fields, as Enter does
    save("entry.png");

    // 70 draws of a fixed pseudo-random walk before the worked example: 100 in all, the 100期 span.
    QStringList lines;
    QRandomGenerator random(2024);
    for (int i = 0; i < 70; ++i)
        lines.append(
            QStringLiteral("%1.%2").arg(23931 + i).arg(int(random.bounded(36)) + 1, 2, 10, QLatin1Char('0')));
    writeFile(home.dataFolder() + kBuiltInArchive + QStringLiteral(".dat"),
              recordFileBytes(lines + workedExampleLines()));
    control<QStackedWidget>(window.get(), "Tab_back")->setCurrentWidget(mainPage(*window));
    tabBar(*window)->setCurrentIndex(MainWindow::kTrendTab);
    ui::ChoiceCombo* span = control<ui::ChoiceCombo>(trendTab(*window), "Combo_span");
    span->setCurrentIndex(span->findText(QStringLiteral("100期")));
    emit span->activated(span->currentIndex());
    save("trend.png");

    // 双色球's red balls, counted number by number (33 ÷ 33 = 1 … 0): narrow columns, ten of them beside
    // 期数 and 号码, and all 33 in the maximised window; then in three zones (33 ÷ 3 = 11 … 0), where a
    // zone that holds several numbers of a draw shows their count.
    const QString redBalls = QStringLiteral("双色球红球");
    writeFile(home.dataFolder() + redBalls + QStringLiteral(".dat"), recordFileBytes(redBallHistory()));
    writeFile(home.dataFolder() + redBalls + QStringLiteral(".ini"),
              settingsBytes(redBalls, QStringLiteral("33 33 1 0"), 1, 0, 0, 6));
    control<ui::ChoiceCombo>(settingsTab(*window), "Edit_name")->setText(redBalls);
    window->runAction(QStringLiteral("act_datset"));
    span->setCurrentIndex(span->findText(QStringLiteral("30期")));
    emit span->activated(span->currentIndex());
    save("trend-red-balls.png");
    QTest::mouseDClick(header(*window), Qt::LeftButton, {}, QPoint(221, 25));
    save("trend-red-balls-max.png");
    QTest::mouseDClick(header(*window), Qt::LeftButton, {}, QPoint(221, 25));
    control<ui::ChoiceCombo>(settingsTab(*window), "Edit_a")->setText(QStringLiteral("3"));
    control<ui::ChoiceCombo>(settingsTab(*window), "Edit_b")->setText(QStringLiteral("11"));
    trendTab(*window)->refresh();
    save("trend-zones.png");
    control<ui::ChoiceCombo>(settingsTab(*window), "Edit_name")->setText(kBuiltInArchive);
    window->runAction(QStringLiteral("act_datset"));

    // The import dialog on an archive of 双色球 blue balls, a results page's table pasted.
    const QString blueBalls = QStringLiteral("双色球");
    writeFile(home.dataFolder() + blueBalls + QStringLiteral(".dat"),
              recordFileBytes({"2024001.16", "2024002.05"}));
    control<ui::ChoiceCombo>(settingsTab(*window), "Edit_name")->lineEdit()->setText(blueBalls);
    entryPage(*window)->openForArchive();
    QGuiApplication::clipboard()->setText(QStringLiteral("期号\t开奖日期\t红球\t蓝球\n"
                                                         "2024004\t2024-01-09\t04 10 13 22 28 32\t03\n"
                                                         "2024003\t2024-01-07\t02 09 15 21 27 33\t08\n"
                                                         "2024002\t2024-01-04\t01 05 11 18 24 30\t12\n"
                                                         "2024001\t2024-01-02\t03 07 12 19 25 31\t16\n"));
    control<ui::ImageButton>(entryPage(*window), "Button_import")->click();
    auto* dialog = window->findChild<ImportDialog*>();
    if (!dialog || !QTest::qWaitForWindowExposed(dialog))
        qFatal("no import dialog");
    control<QPlainTextEdit>(dialog, "Memo_import")->moveCursor(QTextCursor::Start);
    QCoreApplication::processEvents();
    const QString file = out + QStringLiteral("/import.png");
    if (!dialog->grab().save(file))
        qFatal("cannot write %s", qPrintable(file));
    return 0;
}
