// Takes a picture of each page of the window, as the README shows them: the splash page, the
// analysis tab with the worked example, the settings tab, the help tab and the data-entry page with the
// latest draw picked. Run it under Xvfb with the
// folder to write into: xvfb-run -a build/tests/gui/dravik_screenshots docs
#include "gui_harness.h"
#include "pages/data_entry_page.h"
#include "storage/data_folder.h"
#include "ui/tab_control.h"

#include <QDir>
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
    return 0;
}
