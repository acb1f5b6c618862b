#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class QStackedWidget;
class QTimer;

namespace dravik {

class AnalysisTab;
class DataEntryPage;
class HelpTab;
class HistoryFetcher;
class MainHeader;
class RecordList;
class SettingsTab;
class SplashPage;
class TrendTab;

namespace ui {
class ActionList;
class ImageButton;
class TabControl;
} // namespace ui

// Start-up choices that only tests make.
struct WindowOptions {
    // When set, the history download reads this site root (scheme, host, port) instead of the
    // configured or default one, so that a test reaches only its own loopback server.
    QString siteRoot;
    // When set, the window is made with its splash page only and FormCreate builds the rest, so that
    // the program entry can put the splash on the screen before the main page exists.
    bool splashFirst = false;
};

// The one window of the program. It composes the pages, owns the named actions and runs start-up and
// shutdown; the pages' controls hold all state besides the four program-wide values.
class TDravik_Main : public QWidget {
    Q_OBJECT
public:
    static constexpr int kAnalysisTab = 0;
    static constexpr int kTrendTab = 1;
    static constexpr int kSettingsTab = 2;
    static constexpr int kHelpTab = 3;

    explicit TDravik_Main(WindowOptions options = {}, QWidget* parent = nullptr);
    ~TDravik_Main() override;

    // The start-up sequence, run once; it builds the main and data-entry pages first where the window
    // was made splash first. An error of a step is shown and the remaining steps still run, so the
    // window always opens.
    void FormCreate();

    // Runs one of the named actions of ActionList1, synchronously, to its end.
    void runAction(const QString& name);

    void Timer1Timer();
    void TabControl1Change();
    void Image_logoDblClick();

    void act_dnloadExecute();
    void act_setiniExecute();

    // Program-wide values.
    bool DownloadDone = false;
    std::unique_ptr<RecordList> DataList; // holds DataFile too
    QString SavedName;

    QStackedWidget* Tab_back;
    SplashPage* Tab1;              // the splash page
    QWidget* Tab2 = nullptr;       // the main page: the header over the tabs
    DataEntryPage* Tab3 = nullptr; // the data-entry page
    MainHeader* Layout_top = nullptr;
    ui::ImageButton* Button_save = nullptr; // the header's; enabled while the settings have unsaved changes
    ui::TabControl* TabControl1 = nullptr;
    AnalysisTab* analysisTab = nullptr;
    TrendTab* trendTab = nullptr;
    SettingsTab* settingsTab = nullptr;
    HelpTab* helpTab = nullptr;
    QTimer* Timer1;
    HistoryFetcher* IdHTTP1;

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMainPage();
    void buildTabs();
    void buildActions();

    WindowOptions options_;
    ui::ActionList* actionList_ = nullptr;
    bool centred_ = false;
};

} // namespace dravik
