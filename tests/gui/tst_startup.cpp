// Start-up against a temporary data folder and a loopback history server: the files it writes, the
// start counter, the last-used archive, the first analysis, the splash handover, and starts that meet
// a dead server or bad stored settings.
#include "gui_harness.h"
#include "history_server.h"
#include "pages/settings_tab.h"
#include "storage/data_folder.h"
#include "storage/record_list.h"
#include "ui/activity_indicator.h"
#include "ui/choice_combo.h"
#include "ui/image_button.h"
#include "ui/tab_control.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>

using namespace dravik;
using namespace dravik::test;

namespace {

const QStringList kSequentialExample = {
    "01.02.03.04.05.06|2|0|√", "07.08.09.10.11.12|8|6|√", "13.14.15.16.17.18|9|12|",
    "19.20.21.22.23.24|7|2|",  "25.26.27.28.29.30|4|7|",  "31.32.33.34.35.36|0|30|",
};

const QStringList kIntervalExample = {
    "01.07.13.19.25.31|5|3|", "02.08.14.20.26.32|6|2|", "03.09.15.21.27.33|6|0|√",
    "04.10.16.22.28.34|3|5|", "05.11.17.23.29.35|5|1|", "06.12.18.24.30.36|5|4|",
};

} // namespace

class StartupTest : public WindowTestCase {
    Q_OBJECT

    QString path(const QString& file) const { return home->dataFolder() + file; }

    void checkCleanMainPage() {
        QTRY_VERIFY_WITH_TIMEOUT(shownPage(*window) == mainPage(*window), 10000);
        QVERIFY(control<ui::ActivityIndicator>(window.get(), "AniIndicator1")->isHidden());
        QVERIFY(!control<ui::ActivityIndicator>(window.get(), "AniIndicator1")->isAnimating());
        QVERIFY(!splashTimer(*window)->isActive());
        QCOMPARE(tabBar(*window)->currentIndex(), int(MainWindow::kAnalysisTab));
        QVERIFY(saveButton(*window)->isHidden());
        QVERIFY(!saveButton(*window)->isEnabled());
        QVERIFY(entryPage(*window)->records().lines().isEmpty());
        QVERIFY(entryPage(*window)->records().file().isEmpty());
        QVERIFY(window->isDownloadDone());
    }

private slots:
    void firstStart() {
        HistoryServer server;
        QVERIFY(server.start());
        serveWorkedExample(server);

        window = std::make_unique<MainWindow>(WindowOptions{server.root()});
        window->show();
        // The window opens on its splash alone; the other pages and the start-up sequence follow its
        // first frame.
        QVERIFY(!window->hasStarted());
        QCOMPARE(shownPage(*window), splashPage(*window));
        QVERIFY(!window->findChild<SettingsTab*>());
        QTRY_VERIFY(window->hasStarted());
        // Start-up is over: the download has finished, the splash is still up.
        QVERIFY(window->isDownloadDone());
        QCOMPARE(shownPage(*window), splashPage(*window));
        QVERIFY(splashTimer(*window)->isActive());
        QCOMPARE(splashTimer(*window)->interval(), 3000);
        QVERIFY(control<ui::ActivityIndicator>(window.get(), "AniIndicator1")->isAnimating());
        checkCleanMainPage();

        QVERIFY2(script->shown().isEmpty(), qPrintable(script->texts().join(',')));
        QCOMPARE(server.requestedPaths(),
                 (QList<QByteArray>{HistoryServer::pagePath(1), HistoryServer::pagePath(2),
                                    HistoryServer::pagePath(3), HistoryServer::pagePath(4)}));
        QCOMPARE(readFile(path(kBuiltInArchive + ".ini")),
                 settingsBytes(kBuiltInArchive, "36 6 6 0", 1, 0, 0));
        QCOMPARE(readFile(path("set.ini")), globalBytes(1, kBuiltInArchive));
        QCOMPARE(readFile(path(kBuiltInArchive + ".dat")), recordFileBytes(workedExampleLines()));

        SettingsTab* tab = settingsTab(*window);
        QCOMPARE(tab->archiveName(), kBuiltInArchive);
        QCOMPARE(settingsTab(*window)->savedArchiveName(), kBuiltInArchive);
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_x")->currentText(), QStringLiteral("36"));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_a")->currentText(), QStringLiteral("6"));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_b")->currentText(), QStringLiteral("6"));
        QCOMPARE(control<ui::ChoiceCombo>(tab, "Edit_c")->currentText(), QStringLiteral("0"));
        QVERIFY(control<QRadioButton>(tab, "RadioButton2")->isChecked());
        QVERIFY(control<QRadioButton>(tab, "RadioButton3")->isChecked());
        QVERIFY(control<QRadioButton>(tab, "RadioButton5")->isChecked());
        QCOMPARE(gridRows(*window), kSequentialExample);
        QCOMPARE(control<QTableWidget>(analysisTab(*window), "StringGrid1")->columnWidth(0), 286);

        // The next start counts itself and leaves the built-in archive's settings alone.
        window.reset();
        window = startWindow(server.root());
        checkCleanMainPage();
        QCOMPARE(readFile(path("set.ini")), globalBytes(2, kBuiltInArchive));
        QCOMPARE(readFile(path(kBuiltInArchive + ".ini")),
                 settingsBytes(kBuiltInArchive, "36 6 6 0", 1, 0, 0));
        QVERIFY(script->shown().isEmpty());
    }

    void lastUsedArchive() {
        HistoryServer server;
        QVERIFY(server.start());
        serveWorkedExample(server);
        const QString archive = QStringLiteral("测试");
        writeFile(path(archive + ".dat"), recordFileBytes(workedExampleLines()));
        writeFile(path(archive + ".ini"), settingsBytes(archive, "36 6 6 0", 1, 1, 0));
        writeFile(path("set.ini"), globalBytes(7, archive));

        window = startWindow(server.root());
        checkCleanMainPage();
        QVERIFY(script->shown().isEmpty());
        QCOMPARE(readFile(path("set.ini")), globalBytes(8, archive));
        SettingsTab* tab = settingsTab(*window);
        QCOMPARE(tab->archiveName(), archive);
        QCOMPARE(settingsTab(*window)->savedArchiveName(), archive);
        QVERIFY(control<QRadioButton>(tab, "RadioButton4")->isChecked());
        QCOMPARE(gridRows(*window), kIntervalExample);
    }

    void serverDown() {
        writeFile(path(kBuiltInArchive + ".dat"), recordFileBytes(workedExampleLines()));
        window = startWindow(closedSiteRoot());
        QCOMPARE(script->shown().size(), 1);
        QCOMPARE(script->shown().first().title, QStringLiteral("提示"));
        QCOMPARE(script->shown().first().text, QStringLiteral("更新好彩1数据失败"));
        QVERIFY(window->isVisible());
        checkCleanMainPage();
        QCOMPARE(gridRows(*window), kSequentialExample);
    }

    void firstStartServerDown() {
        window = startWindow(closedSiteRoot());
        QCOMPARE(script->texts(), (QStringList{QStringLiteral("更新好彩1数据失败"),
                                               QStringLiteral("Dravik[南粤风采好彩1]丢失，请重录")}));
        checkCleanMainPage();
        QVERIFY(!QFile::exists(path(kBuiltInArchive + ".dat")));
        QCOMPARE(readFile(path("set.ini")), globalBytes(1, kBuiltInArchive));
        // No figures of another archive, or of none, stand under its name.
        QCOMPARE(control<QTableWidget>(analysisTab(*window), "StringGrid1")->rowCount(), 0);
    }

    void downloadThatCannotWriteStillHandsOver() {
        HistoryServer server;
        QVERIFY(server.start());
        serveWorkedExample(server);
        // A data folder without write permission: every file of the start fails, the download's too.
        QVERIFY(QDir().mkpath(home->dataFolder()));
        QVERIFY(QFile::setPermissions(home->dataFolder(), QFile::ReadOwner | QFile::ExeOwner));
        window = startWindow(server.root());
        QFile::setPermissions(home->dataFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(window->isDownloadDone());
        int downloadErrors = 0;
        for (const dialogs::Shown& box : script->shown())
            if (box.title == QStringLiteral("错误") && box.text.contains(kBuiltInArchive + ".dat"))
                ++downloadErrors;
        QCOMPARE(downloadErrors, 1);
        checkCleanMainPage();
    }

    void badStoredSettingsStillOpen() {
        HistoryServer server;
        QVERIFY(server.start());
        serveWorkedExample(server);
        const QString archive = QStringLiteral("坏");
        writeFile(path(archive + ".dat"), recordFileBytes(workedExampleLines()));
        writeFile(path(archive + ".ini"), settingsBytes(archive, "abc 6 6 0", 1, 0, 0));
        writeFile(path("set.ini"), globalBytes(1, archive));

        window = startWindow(server.root());
        QCOMPARE(script->shown().size(), 1);
        QCOMPARE(script->shown().first().title, QStringLiteral("错误"));
        QCOMPARE(script->shown().first().text, QStringLiteral("'abc' is not a valid integer value."));
        checkCleanMainPage();
        QCOMPARE(settingsTab(*window)->savedArchiveName(), archive);
        QCOMPARE(control<QTableWidget>(analysisTab(*window), "StringGrid1")->rowCount(), 10);
    }
};

DRAVIK_GUI_TEST_MAIN(StartupTest)
#include "tst_startup.moc"
