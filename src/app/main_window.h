#pragma once

#include "download/page_fetch.h"

#include <QString>
#include <QWidget>

class QScreen;
class QStackedWidget;
class QTimer;

namespace dravik {

class AnalysisTab;
class DataEntryPage;
class HelpTab;
class HistoryFetcher;
class MainHeader;
class SettingsTab;
class SplashPage;
class TrendTab;

namespace ui {
class ActionList;
class TabControl;
class WindowFrame;
} // namespace ui

// Start-up choices that only tests make.
struct WindowOptions {
    // When set, the history download reads this site root (scheme, host, port) instead of the
    // configured or default one, so that a test reaches only its own loopback server.
    QString siteRoot;
    // The time limit of reading the opened archive's page at start-up; tests shorten it.
    int pageTimeLimitMs = PageFetch::kTimeLimitMs;
};

// The one window of the program. It opens on its splash page alone; once that is on the screen it
// builds the main and data-entry pages and runs the start-up sequence, the download included, under
// the splash. It composes the pages, owns the named actions and runs start-up and shutdown; the
// pages' controls hold all state besides the few program-wide values below.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kAnalysisTab = 0;
    static constexpr int kTrendTab = 1;
    static constexpr int kSettingsTab = 2;
    static constexpr int kHelpTab = 3;

    explicit MainWindow(WindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs one of the named actions, synchronously, to its end.
    void runAction(const QString& name);

    // The splash timer's tick: once the download is over, the splash gives way to the main page.
    void onTick();

    // Whether the start-up sequence has run to its end, and the download within it.
    bool hasStarted() const { return started_; }
    bool isDownloadDone() const { return downloadDone_; }

signals:
    // The start-up sequence has run to its end.
    void started();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The start-up sequence, run once, after the splash's first frame. An error of a step is shown and
    // the remaining steps still run, so the window always opens.
    void start();
    void buildMainPage();
    void buildTabs();
    void buildActions();
    void onTabChanged();
    // The latest draws of the built-in archive from the operator's site, into its record file.
    void downloadHistory();
    // The opened archive's new draws from its remembered address, when it asks for them at start-up.
    void updateOpenedArchive();
    // Counts this start and picks the archive to open: the last one used, or on a first run the
    // built-in one.
    void pickStartArchive();
    bool hasUnsavedSettings() const;
    enum class Placement { Centred, KeptInside };
    // Fits the window to the free area of the screen: its least size is the design size or what the
    // area holds; centred, it opens at that size, kept inside, it keeps its own where the area holds
    // it; maximised, it takes the area.
    void fitToScreen(const QScreen* screen, Placement placement);
    // Places the window as window.ini keeps it; false when nothing is kept or it no longer fits.
    bool restoreKeptPlace();
    // The window on another screen: fitted to it, and to its free area as that changes.
    void followScreen(QScreen* screen);
    void watchFreeArea(QScreen* screen);

    WindowOptions options_;
    bool downloadDone_ = false;
    bool started_ = false;
    bool placed_ = false;
    QMetaObject::Connection areaChanged_; // the free area of the window's screen

    ui::WindowFrame* frame_;
    QStackedWidget* pages_;
    SplashPage* splashPage_;
    QWidget* mainPage_ = nullptr; // the header over the tabs
    DataEntryPage* dataEntryPage_ = nullptr;
    MainHeader* header_ = nullptr;
    ui::TabControl* tabs_ = nullptr;
    AnalysisTab* analysisTab_ = nullptr;
    TrendTab* trendTab_ = nullptr;
    SettingsTab* settingsTab_ = nullptr;
    HelpTab* helpTab_ = nullptr;
    QTimer* splashTimer_;
    HistoryFetcher* fetcher_;
    ui::ActionList* actions_ = nullptr;
};

} // namespace dravik
