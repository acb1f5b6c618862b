#include "app/main_window.h"

#include "analysis/analysis_run.h"
#include "app/archive_update.h"
#include "app/download_page.h"
#include "app/first_frame.h"
#include "download/history_download.h"
#include "pages/analysis_tab.h"
#include "pages/data_entry_page.h"
#include "pages/help_tab.h"
#include "pages/main_header.h"
#include "pages/page_geometry.h"
#include "pages/settings_tab.h"
#include "pages/splash_page.h"
#include "pages/trend_tab.h"
#include "storage/archive_settings.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/window_state.h"
#include "ui/action_list.h"
#include "ui/dialogs.h"
#include "ui/handler_guard.h"
#include "ui/image_list.h"
#include "ui/tab_chain.h"
#include "ui/tab_control.h"
#include "ui/window_fit.h"
#include "ui/window_frame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace dravik {

MainWindow::MainWindow(WindowOptions options, QWidget* parent)
    : QWidget(parent,
              // No frame, yet a system menu (Alt+Space on Windows) with 最小化 and 关闭, and minimising
              // from the task bar: Windows gives a frameless window neither without these hints.
              Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint),
      options_(std::move(options)) {
    ui::ensurePictures(downloadPageUrl());
    setObjectName(QStringLiteral("Dravik_Main"));
    setWindowTitle(QStringLiteral("Dravik"));
    setAttribute(Qt::WA_TranslucentBackground);
    // Sized for the screen it will most likely open on; showing it fits it to the one it opens on.
    const QSize designed(kWindowWidth, kWindowHeight);
    const QScreen* screen = this->screen();
    resize(screen ? ui::fittedSize(designed, screen->availableGeometry()) : designed);
    frame_ = new ui::WindowFrame(this);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("Tab_back"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(pages_);
    splashPage_ = new SplashPage;
    pages_->addWidget(splashPage_);

    splashTimer_ = new QTimer(this);
    splashTimer_->setObjectName(QStringLiteral("Timer1"));
    splashTimer_->setInterval(3000);
    connect(splashTimer_, &QTimer::timeout, this, &MainWindow::onTick);

    fetcher_ = new HistoryFetcher(this);
    fetcher_->setObjectName(QStringLiteral("IdHTTP1"));
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMainPage() {
    mainPage_ = new QWidget;
    mainPage_->setObjectName(QStringLiteral("Tab2"));
    DataEntryPage::Host entryHost;
    entryHost.archiveName = [this] { return settingsTab_->archiveName(); };
    entryHost.numbersPerDraw = [this] { return settingsTab_->numbersPerDraw(); };
    entryHost.archiveNumbers = [this] { return archiveNumbersOf(settingsTab_->analysisInputs()); };
    entryHost.runAction = [this](const QString& name) { runAction(name); };
    entryHost.showPage = [this] { pages_->setCurrentWidget(dataEntryPage_); };
    entryHost.showMainPage = [this] { pages_->setCurrentWidget(mainPage_); };
    entryHost.dialogOwner = this;
    dataEntryPage_ = new DataEntryPage(entryHost);
    dataEntryPage_->setObjectName(QStringLiteral("Tab3"));
    pages_->addWidget(mainPage_);
    pages_->addWidget(dataEntryPage_);

    header_ = new MainHeader(mainPage_);
    connect(header_, &MainHeader::closeRequested, this, &QWidget::close);
    connect(header_, &MainHeader::minimizeRequested, this, &QWidget::showMinimized);
    tabs_ = new ui::TabControl(mainPage_);
    tabs_->setObjectName(QStringLiteral("TabControl1"));
    // The header keeps its height, the tabs take the rest.
    auto* column = new QVBoxLayout(mainPage_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header_);
    column->addWidget(tabs_, 1);
    buildTabs();
    buildActions();
}

void MainWindow::buildTabs() {
    analysisTab_ = new AnalysisTab(this);
    tabs_->addTab(analysisTab_, QStringLiteral("TabItem1"), ui::imageIcon(ui::kImageCount),
                  QStringLiteral("分析"));

    trendTab_ = new TrendTab({[this] { return settingsTab_->analysisInputs(); }, this});
    tabs_->addTab(trendTab_, QStringLiteral("TabItem3"), ui::imageIcon(ui::kImageTrend),
                  QStringLiteral("走势"));

    SettingsTab::Host host;
    host.setUnsaved = [this](bool unsaved) { header_->setUnsaved(unsaved); };
    host.runAction = [this](const QString& name) { runAction(name); };
    host.selectSettingsTab = [this] { tabs_->setCurrentIndex(kSettingsTab); };
    host.openDataEntry = [this] { dataEntryPage_->openForArchive(); };
    host.setNumberChoices = [this](const QStringList& numbers) { dataEntryPage_->setNumberChoices(numbers); };
    host.dialogOwner = this;
    settingsTab_ = new SettingsTab(host);
    tabs_->addTab(settingsTab_, QStringLiteral("TabItem2"), ui::imageIcon(ui::kImageSet),
                  QStringLiteral("设置"));

    helpTab_ = new HelpTab(downloadPageUrl());
    tabs_->addTab(helpTab_, QStringLiteral("TabItem4"), ui::imageIcon(ui::kImageHelp),
                  QStringLiteral("帮助"));

    // Tab goes down the page: the save button in the header, the selected tab's controls, then the
    // tab strip. The controls of tabs that are not shown are passed over.
    ui::setTabChain(header_->focusChain() + analysisTab_->focusChain() + trendTab_->focusChain() +
                    settingsTab_->focusChain() + helpTab_->focusChain() + tabs_->tabButtons());

    connect(tabs_, &ui::TabControl::currentChanged, this, ui::guarded([this] { onTabChanged(); }));
    SettingsTab* settings = settingsTab_;
    connect(header_, &MainHeader::saveRequested, settingsTab_,
            ui::guarded([settings] { settings->saveSettings(); }));
}

void MainWindow::buildActions() {
    actions_ = new ui::ActionList(this);
    actions_->setObjectName(QStringLiteral("ActionList1"));
    SettingsTab* settings = settingsTab_;
    DataEntryPage* entry = dataEntryPage_;
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"act_dnload", [this] { downloadHistory(); }},
        {"act_setini", [this] { pickStartArchive(); }},
        {"act_setedit", [settings] { settings->fillChoiceLists(); }},
        {"act_hc1set", [] { createBuiltInSettings(); }},
        {"act_datset", [settings] { settings->loadStoredSettings(); }},
        {"act_grid",
         [this] {
             analysisTab_->showAnalysis(settingsTab_->analysisInputs());
             trendTab_->analysisRebuilt();
         }},
        {"act_saveset", [settings] { settings->saveSettings(); }},
        {"act_data", [entry] { entry->loadRecords(); }},
        {"act_save", [entry] { entry->saveRecords(); }},
        {"act_savechange", [settings] { settings->askToSaveChangedSettings(); }},
    };
    for (const auto& [name, handler] : actions)
        actions_->add(QString::fromLatin1(name), handler);
}

void MainWindow::runAction(const QString& name) {
    actions_->run(name);
}

void MainWindow::start() {
    // A failed step is reported and the sequence goes on: the window must open whatever the stored
    // data, and the rest of the program needs the state that the last steps set.
    const auto step = [this](const auto& work) {
        try {
            work();
        } catch (const Error& error) {
            dialogs::showError(this, error.message());
        }
    };
    buildMainPage();
    splashTimer_->start();
    step([] { ensureDataFolder(); });
    pages_->setCurrentWidget(splashPage_);
    tabs_->setCurrentIndex(kAnalysisTab);
    downloadDone_ = false;
    for (const char* action : {"act_setedit", "act_hc1set", "act_dnload", "act_setini", "act_datset"})
        step([this, action] { runAction(QString::fromLatin1(action)); });
    // The opened archive's new draws from its page, before the analysis that shows them.
    step([this] { updateOpenedArchive(); });
    step([this] { runAction(QStringLiteral("act_grid")); });
    settingsTab_->markSaved();
    started_ = true;
    emit started();
}

void MainWindow::onTick() {
    if (!downloadDone_)
        return;
    splashPage_->stopActivity();
    splashTimer_->stop();
    pages_->setCurrentWidget(mainPage_);
}

bool MainWindow::hasUnsavedSettings() const {
    return header_ && header_->hasUnsavedChanges();
}

void MainWindow::onTabChanged() {
    const bool onSettings = tabs_->currentIndex() == kSettingsTab;
    header_->setSaveShown(onSettings);
    if (hasUnsavedSettings() && !onSettings)
        runAction(QStringLiteral("act_savechange"));
    // Built on every selection, after the answer about unsaved settings has been carried out.
    if (tabs_->currentIndex() == kTrendTab)
        trendTab_->refresh();
}

void MainWindow::downloadHistory() {
    // The splash page waits for the download to be done: that is so however the download ends, a
    // failed write of the record file included (that error is then shown by whoever runs this action).
    const auto setWhenDone = qScopeGuard([this] { downloadDone_ = true; });
    dravik::downloadHistory(
        *fetcher_, historySiteRoot(options_.siteRoot), [] { QCoreApplication::processEvents(); },
        [this](const QString& text) { dialogs::showMessage(this, text); });
}

void MainWindow::updateOpenedArchive() {
    const QString failure = updateArchiveFromSource(settingsTab_->analysisInputs(), options_.pageTimeLimitMs);
    if (!failure.isEmpty())
        dialogs::showMessage(this, failure);
}

void MainWindow::pickStartArchive() {
    const StartRecord start = recordStart();
    if (start.created)
        settingsTab_->selectArchiveEntry(kBuiltInArchive);
    else
        settingsTab_->setArchiveName(start.archiveName);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Unsaved settings are asked about and the answer carried out; the answer never cancels the
    // close. An error while carrying it out does: the window stays open.
    try {
        if (hasUnsavedSettings())
            runAction(QStringLiteral("act_savechange"));
    } catch (const Error& error) {
        event->ignore();
        ui::showHandlerError(error);
        return;
    }
    event->accept();
    saveWindowState({frame_->normalGeometry(), frame_->isMaximized()});
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

void MainWindow::fitToScreen(const QScreen* screen, Placement placement) {
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The size it opens at is the least it can be made: the design size, or what the screen holds.
    const QSize least = ui::fittedSize(QSize(kWindowWidth, kWindowHeight), area);
    setMinimumSize(least);
    if (frame_->isMaximized()) {
        frame_->setMaximized(true);
        return;
    }
    const QSize size =
        placement == Placement::Centred ? least : this->size().expandedTo(least).boundedTo(area.size());
    resize(size);
    move(placement == Placement::Centred ? ui::centredIn(size, area) : ui::keptInside(pos(), size, area));
}

bool MainWindow::restoreKeptPlace() {
    const std::optional<WindowState> kept = loadWindowState();
    if (!kept)
        return false;
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    // Only a place that lies whole on a screen as the screens are now, and no smaller than the window
    // opens there: the screens may have changed since.
    const int holding = ui::areaHolding(kept->geometry, areas);
    if (holding < 0)
        return false;
    const QSize least = ui::fittedSize(QSize(kWindowWidth, kWindowHeight), areas.at(holding));
    if (kept->geometry.width() < least.width() || kept->geometry.height() < least.height())
        return false;
    setMinimumSize(least);
    setGeometry(kept->geometry);
    frame_->setMaximized(kept->maximized);
    return true;
}

void MainWindow::followScreen(QScreen* screen) {
    fitToScreen(screen, Placement::KeptInside);
    watchFreeArea(screen);
}

void MainWindow::watchFreeArea(QScreen* screen) {
    disconnect(areaChanged_);
    // A task bar that moves or grows changes the free area: a maximised window takes the new one.
    if (screen)
        areaChanged_ = connect(screen, &QScreen::availableGeometryChanged, this,
                               [this, screen] { fitToScreen(screen, Placement::KeptInside); });
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    // Before the first frame: the window opens where the user left it, else whole and centred on its
    // screen, and refits on another screen.
    if (!restoreKeptPlace())
        fitToScreen(screen(), Placement::Centred);
    if (QWindow* window = windowHandle()) {
        connect(window, &QWindow::screenChanged, this, &MainWindow::followScreen);
        watchFreeArea(window->screen());
    }
    runAfterFirstFrame(this, [this] { start(); });
}

} // namespace dravik
