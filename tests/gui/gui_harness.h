#pragma once

#include "app/application.h"
#include "app/main_window.h"
#include "pages/analysis_tab.h"
#include "pages/data_entry_page.h"
#include "pages/help_tab.h"
#include "pages/main_header.h"
#include "pages/settings_tab.h"
#include "pages/splash_page.h"
#include "pages/trend_tab.h"
#include "pages/trend_table.h"
#include "ui/activity_indicator.h"
#include "ui/choice_combo.h"
#include "ui/dialogs.h"
#include "ui/frozen_table.h"
#include "ui/image_button.h"
#include "ui/item_list.h"
#include "ui/picture_box.h"
#include "ui/tab_control.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

class QComboBox;
class QTableWidget;
class QTimer;

namespace dravik::test {

// A fresh data home for one test function: XDG_DATA_HOME points into a temporary folder.
class DataHome {
public:
    DataHome();
    QString dataFolder() const; // <home>/Dravik/
    bool isValid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};

// The fixture of the tests that drive the window: before each test function a fresh data home and a
// script for the message boxes; after it the window, the script and the home go, in that order. A test
// class that must do more on cleanup declares its own cleanup() slot, which takes the place of this one.
class WindowTestCase : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<DataHome> home;
    std::unique_ptr<dialogs::Script> script;
    std::unique_ptr<MainWindow> window;

private slots:
    void init();
    void cleanup();
};

// The worked example's 30 draws, oldest first, as record lines 24001.08 … 24030.03.
QStringList workedExampleLines();
// 130 draws, periods 10001 … 10130: more than the data-entry page's window of 100, and of equal-length
// periods, so that record order is file order.
QStringList longHistory();
// 100 draws of 双色球's six red balls out of 33, a fixed pseudo-random history, periods 2024001 …
// 2024100, each draw's numbers ascending, as a results page lists them.
QStringList redBallHistory();
// Lines joined as a record file holds them: each followed by CR LF, UTF-8.
QByteArray recordFileBytes(const QStringList& lines);

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// A start without network whose built-in archive already holds the worked example, on the main page.
std::unique_ptr<MainWindow> startOffline(const DataHome& home);
// The same with `archive` as the archive last used, its record file holding `records` (none: no file).
std::unique_ptr<MainWindow> startOnArchive(const DataHome& home, const QString& archive,
                                           const std::optional<QByteArray>& records);

// Settings files as the program writes them; `xabc` is "X A B C"; K follows C where it is not 1.
QByteArray settingsBytes(const QString& name, const QString& xabc, int r1, int r2, int r3, int k = 1);
QByteArray globalBytes(int count, const QString& name);

// A history page as the operator lists it, newest draw first.
QByteArray historyPage(const QStringList& lines);
// The worked example over the four pages: pages 1 to 3 hold ten draws each, page 4 none.
class HistoryServer;
void serveWorkedExample(HistoryServer& server);

// A site root on 127.0.0.1 where nothing listens: every fetch fails at once.
QString closedSiteRoot();

// Shows the window as the program entry does and waits until its start-up sequence, which follows
// the splash's first frame, has run.
void showAndWaitForStart(MainWindow& window);
// Creates the window and starts it so.
std::unique_ptr<MainWindow> startWindow(const QString& siteRoot);
// The same, then one tick of the splash timer at once instead of up to three seconds later: the main
// page.
std::unique_ptr<MainWindow> startOnMainPage(const QString& siteRoot);

// Picks an entry from a combo's drop-down list with the mouse.
void pickFromList(QComboBox* combo, const QString& text);

// The rows of the analysis table, each as its four cell texts joined by "|".
QStringList gridRows(MainWindow& window);
// The rows of any table, each as its cell texts joined by "|".
QStringList gridRows(const QTableWidget& grid);
// The entries of a combo's drop-down list.
QStringList comboItems(const QComboBox& combo);
// What the pointer's pause at a point of the widget shows; empty for no tooltip.
QString toolTipAt(QWidget* widget, QPoint at);

// A control of the window by its objectName; a test fails at once on a name that is not there.
template <typename T> T* control(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// The parts of the window the tests reach most.
QWidget* shownPage(MainWindow& window); // the page in view: the splash, the main or the data-entry page
QWidget* splashPage(MainWindow& window);
QWidget* mainPage(MainWindow& window);
DataEntryPage* entryPage(MainWindow& window);
MainHeader* header(MainWindow& window);
ui::TabControl* tabBar(MainWindow& window);
ui::ImageButton* saveButton(MainWindow& window);
QTimer* splashTimer(MainWindow& window);
AnalysisTab* analysisTab(MainWindow& window);
TrendTab* trendTab(MainWindow& window);
SettingsTab* settingsTab(MainWindow& window);
HelpTab* helpTab(MainWindow& window);

} // namespace dravik::test

// Runs a test class inside the program's own application object, so that its error handling is in place.
#define DRAVIK_GUI_TEST_MAIN(TestClass)                                                                      \
    int main(int argc, char** argv) {                                                                        \
        dravik::Application app(argc, argv);                                                                 \
        app.setQuitOnLastWindowClosed(false);                                                                \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
