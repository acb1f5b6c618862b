#include "app/main_window.h"

#include "analysis/analysis_run.h"
#include "app/download_page.h"
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
#include "storage/record_list.h"
#include "ui/action_list.h"
#include "ui/activity_indicator.h"
#include "ui/choice_combo.h"
#include "ui/dialogs.h"
#include "ui/handler_guard.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/picture_box.h"
#include "ui/tab_chain.h"
#include "ui/tab_control.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>

namespace dravik {

TDravik_Main::TDravik_Main(WindowOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), options_(std::move(options)) {
    ui::ensurePictures(downloadPageUrl());
    setObjectName(QStringLiteral("Dravik_Main"));
    setWindowTitle(QStringLiteral("Dravik"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWindowWidth, kWindowHeight);

    Tab_back = new QStackedWidget(this);
    Tab_back->setObjectName(QStringLiteral("Tab_back"));
    Tab_back->setGeometry(0, 0, kWindowWidth, kWindowHeight);
    Tab1 = new SplashPage;
    Tab_back->addWidget(Tab1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &TDravik_Main::Timer1Timer);

    IdHTTP1 = new HistoryFetcher(this);
    IdHTTP1->setObjectName(QStringLiteral("IdHTTP1"));

    if (!options_.splashFirst)
        buildMainPage();
}

TDravik_Main::~TDravik_Main() = default;

void TDravik_Main::buildMainPage() {
    Tab2 = new QWidget;
    Tab2->setObjectName(QStringLiteral("Tab2"));
    DataEntryPage::Host entryHost;
    entryHost.records = [this] { return DataList.get(); };
    entryHost.archiveName = [this] { return settingsTab->archiveName(); };
    entryHost.runAction = [this](const QString& name) { runAction(name); };
    entryHost.showPage = [this] { Tab_back->setCurrentWidget(Tab3); };
    entryHost.showMainPage = [this] { Tab_back->setCurrentWidget(Tab2); };
    entryHost.dialogOwner = this;
    Tab3 = new DataEntryPage(entryHost);
    Tab3->setObjectName(QStringLiteral("Tab3"));
    Tab_back->addWidget(Tab2);
    Tab_back->addWidget(Tab3);

    Layout_top = new MainHeader(Tab2);
    Button_save = Layout_top->Button_save;
    connect(Layout_top->Image_logo, &ui::PictureBox::doubleClicked, this,
            ui::guarded([this] { Image_logoDblClick(); }));
    buildTabs();
    buildActions();
}

void TDravik_Main::buildTabs() {
    TabControl1 = new ui::TabControl(Tab2);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setGeometry(0, kHeaderHeight, kWindowWidth, kWindowHeight - kHeaderHeight);

    analysisTab = new AnalysisTab(this);
    TabControl1->addTab(analysisTab, QStringLiteral("TabItem1"), ui::imageIcon(ui::kImageCount),
                        QStringLiteral("分析"));

    trendTab = new TrendTab({[this] { return settingsTab->analysisInputs(); }, this});
    TabControl1->addTab(trendTab, QStringLiteral("TabItem3"), ui::imageIcon(ui::kImageTrend),
                        QStringLiteral("走势"));

    SettingsTab::Host host;
    host.saveButton = Button_save;
    host.savedName = &SavedName;
    host.runAction = [this](const QString& name) { runAction(name); };
    host.selectSettingsTab = [this] { TabControl1->setCurrentIndex(kSettingsTab); };
    host.dialogOwner = this;
    host.numberCombo = Tab3->Edit_hm;
    settingsTab = new SettingsTab(host);
    TabControl1->addTab(settingsTab, QStringLiteral("TabItem2"), ui::imageIcon(ui::kImageSet),
                        QStringLiteral("设置"));

    helpTab = new HelpTab(downloadPageUrl());
    TabControl1->addTab(helpTab, QStringLiteral("TabItem4"), ui::imageIcon(ui::kImageHelp),
                        QStringLiteral("帮助"));

    // Tab goes down the page: the save button in the header, the selected tab's controls, then the
    // tab strip. The controls of tabs that are not shown are passed over.
    ui::setTabChain(QList<QWidget*>{Button_save, analysisTab->StringGrid1} + trendTab->focusChain() +
                    settingsTab->focusChain() + helpTab->focusChain() + TabControl1->tabButtons());

    connect(TabControl1, &ui::TabControl::currentChanged, this, ui::guarded([this] { TabControl1Change(); }));
    SettingsTab* settings = settingsTab;
    connect(Button_save, &QAbstractButton::clicked, settingsTab,
            ui::guarded([settings] { settings->act_savesetExecute(); }));
    DataEntryPage* entry = Tab3;
    connect(settingsTab->Button_in, &QAbstractButton::clicked, Tab3,
            ui::guarded([entry] { entry->Button_inClick(); }));
}

void TDravik_Main::buildActions() {
    actionList_ = new ui::ActionList(this);
    actionList_->setObjectName(QStringLiteral("ActionList1"));
    SettingsTab* settings = settingsTab;
    DataEntryPage* entry = Tab3;
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"act_dnload", [this] { act_dnloadExecute(); }},
        {"act_setini", [this] { act_setiniExecute(); }},
        {"act_setedit", [settings] { settings->act_seteditExecute(); }},
        {"act_hc1set", [] { createBuiltInSettings(); }},
        {"act_datset", [settings] { settings->act_datsetExecute(); }},
        {"act_grid",
         [this] {
             analysisTab->showAnalysis(settingsTab->analysisInputs());
             trendTab->analysisRebuilt();
         }},
        {"act_saveset", [settings] { settings->act_savesetExecute(); }},
        {"act_data", [entry] { entry->act_dataExecute(); }},
        {"act_save", [entry] { entry->act_saveExecute(); }},
        {"act_savechange", [settings] { settings->act_savechangeExecute(); }},
    };
    for (const auto& [name, handler] : actions)
        actionList_->add(QString::fromLatin1(name), handler);
}

void TDravik_Main::runAction(const QString& name) {
    actionList_->run(name);
}

void TDravik_Main::FormCreate() {
    // A failed step is reported and the sequence goes on: the window must open whatever the stored
    // data, and the rest of the program needs the state that the last steps set.
    const auto step = [this](const auto& work) {
        try {
            work();
        } catch (const Error& error) {
            dialogs::showError(this, error.message());
        }
    };
    if (!Tab2)
        buildMainPage();
    Timer1->start();
    step([] { ensureDataFolder(); });
    Tab_back->setCurrentWidget(Tab1);
    TabControl1->setCurrentIndex(kAnalysisTab);
    DownloadDone = false;
    QTableWidget* grid = analysisTab->StringGrid1;
    grid->setColumnWidth(0, grid->width() - 130 - 6);
    for (const char* action :
         {"act_setedit", "act_hc1set", "act_dnload", "act_setini", "act_datset", "act_grid"})
        step([this, action] { runAction(QString::fromLatin1(action)); });
    DataList = std::make_unique<RecordList>();
    Button_save->setEnabled(false);
    SavedName = settingsTab->archiveName();
}

void TDravik_Main::Timer1Timer() {
    if (!DownloadDone)
        return;
    Tab1->AniIndicator1->stop();
    Tab1->AniIndicator1->hide();
    Timer1->stop();
    Tab_back->setCurrentWidget(Tab2);
}

void TDravik_Main::TabControl1Change() {
    const bool onSettings = TabControl1->currentIndex() == kSettingsTab;
    Button_save->setVisible(onSettings);
    if (Button_save->isEnabled() && !onSettings)
        runAction(QStringLiteral("act_savechange"));
    // Built on every selection, after the answer about unsaved settings has been carried out.
    if (TabControl1->currentIndex() == kTrendTab)
        trendTab->refresh();
}

void TDravik_Main::Image_logoDblClick() {
    close();
}

void TDravik_Main::act_dnloadExecute() {
    // The splash page waits for DownloadDone: it is set however the download ends, a failed write
    // of the record file included (that error is then shown by whoever runs this action).
    const auto setWhenDone = qScopeGuard([this] { DownloadDone = true; });
    downloadHistory(
        *IdHTTP1, historySiteRoot(options_.siteRoot), [] { QCoreApplication::processEvents(); },
        [this](const QString& text) { dialogs::showMessage(this, text); });
}

void TDravik_Main::act_setiniExecute() {
    const StartRecord start = recordStart();
    if (start.created)
        settingsTab->selectArchiveEntry(kBuiltInArchive);
    else
        settingsTab->Edit_name->setText(start.archiveName);
}

void TDravik_Main::closeEvent(QCloseEvent* event) {
    // FormClose: unsaved settings are asked about and the answer carried out; the answer never
    // cancels the close. An error while carrying it out does: the window stays open.
    try {
        if (Button_save && Button_save->isEnabled())
            runAction(QStringLiteral("act_savechange"));
    } catch (const Error& error) {
        event->ignore();
        ui::showHandlerError(error);
        return;
    }
    event->accept();
}

void TDravik_Main::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

void TDravik_Main::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(kWindowWidth / 2, kWindowHeight / 2));
}

} // namespace dravik
