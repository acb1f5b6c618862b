// Takes a picture of each page of the window, as the README shows them: the splash page, the
// analysis tab with the worked example, the settings tab, the help tab, the data-entry page with the
// latest draw picked, the trend tab over 100 draws at the default settings, and the import dialog with a
// 双色球 history pasted. Run it under Xvfb with the folder to write into:
// xvfb-run -a build/tests/gui/dravik_screenshots docs
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

    std::unique_ptr<TDravik_Main> window = startWindow(closedSiteRoot());
    const auto save = [&](const char* name) {
        QCoreApplication::processEvents();
        const QString file = out + QLatin1Char('/') + QString::fromLatin1(name);
        if (!window->grab().save(file))
            qFatal("cannot write %s", qPrintable(file));
    };
    save("splash.png");
    window->Timer1Timer();
    save("analysis.png");
    window->TabControl1->setCurrentIndex(TDravik_Main::kSettingsTab);
    save("settings.png");
    window->TabControl1->setCurrentIndex(TDravik_Main::kHelpTab);
    save("help.png");
    window->TabControl1->setCurrentIndex(TDravik_Main::kSettingsTab);
    window->Tab3->Button_inClick();
    window->Tab3->StringGrid2->selectRow(0);
    window->Tab3->StringGrid2Click();
    save("entry.png");

    // 70 draws of a fixed pseudo-random walk before the worked example: 100 in all, the 100期 span.
    QStringList lines;
    QRandomGenerator random(2024);
    for (int i = 0; i < 70; ++i)
        lines.append(
            QStringLiteral("%1.%2").arg(23931 + i).arg(int(random.bounded(36)) + 1, 2, 10, QLatin1Char('0')));
    writeFile(home.dataFolder() + kBuiltInArchive + QStringLiteral(".dat"),
              recordFileBytes(lines + workedExampleLines()));
    window->Tab_back->setCurrentWidget(window->Tab2);
    window->TabControl1->setCurrentIndex(TDravik_Main::kTrendTab);
    window->trendTab->Combo_span->setCurrentIndex(
        window->trendTab->Combo_span->findText(QStringLiteral("100期")));
    window->trendTab->Combo_spanChange();
    save("trend.png");

    // The import dialog on an archive of 双色球 blue balls, a results page's table pasted.
    const QString blueBalls = QStringLiteral("双色球");
    writeFile(home.dataFolder() + blueBalls + QStringLiteral(".dat"),
              recordFileBytes({"2024001.16", "2024002.05"}));
    window->settingsTab->Edit_name->lineEdit()->setText(blueBalls);
    window->Tab3->Button_inClick();
    QGuiApplication::clipboard()->setText(QStringLiteral("期号\t开奖日期\t红球\t蓝球\n"
                                                         "2024004\t2024-01-09\t04 10 13 22 28 32\t03\n"
                                                         "2024003\t2024-01-07\t02 09 15 21 27 33\t08\n"
                                                         "2024002\t2024-01-04\t01 05 11 18 24 30\t12\n"
                                                         "2024001\t2024-01-02\t03 07 12 19 25 31\t16\n"));
    window->Tab3->Button_importClick();
    auto* dialog = window->findChild<ImportDialog*>();
    if (!dialog || !QTest::qWaitForWindowExposed(dialog))
        qFatal("no import dialog");
    dialog->Memo_import->moveCursor(QTextCursor::Start);
    QCoreApplication::processEvents();
    const QString file = out + QStringLiteral("/import.png");
    if (!dialog->grab().save(file))
        qFatal("cannot write %s", qPrintable(file));
    return 0;
}
