#include "app/main_window.h"

#include "analysis/analysis_run.h"
#include "app/activity_indicator.h"
#include "app/dialogs.h"
#include "app/drag_header.h"
#include "app/help_text.h"
#include "app/image_button.h"
#include "app/image_list.h"
#include "app/picture_box.h"
#include "app/string_grid.h"
#include "app/tab_control.h"
#include "app/ui_style.h"
#include "download/history_download.h"
#include "pages/choice_combo.h"
#include "pages/data_entry_page.h"
#include "pages/settings_tab.h"
#include "storage/archive_settings.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "storage/record_list.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>

#ifndef DRAVIK_DOWNLOAD_URL
#define DRAVIK_DOWNLOAD_URL "https://github.com/dravik-app/dravik"
#endif

namespace dravik {

namespace {

constexpr int kWidth = 442;
constexpr int kHeight = 766;
constexpr int kHeaderHeight = 50;

} // namespace

TDravik_Main::TDravik_Main(WindowOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), options_(std::move(options)) {
    ui::ensurePictures();
    setObjectName(QStringLiteral("Dravik_Main"));
    setWindowTitle(QStringLiteral("Dravik"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWidth, kHeight);

    Tab_back = new QStackedWidget(this);
    Tab_back->setObjectName(QStringLiteral("Tab_back"));
    Tab_back->setGeometry(0, 0, kWidth, kHeight);
    Tab1 = new QWidget;
    Tab1->setObjectName(QStringLiteral("Tab1"));
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
    Tab_back->addWidget(Tab1);
    Tab_back->addWidget(Tab2);
    Tab_back->addWidget(Tab3);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &TDravik_Main::Timer1Timer);

    IdHTTP1 = new HistoryFetcher(this);
    IdHTTP1->setObjectName(QStringLiteral("IdHTTP1"));

    buildSplashPage();
    buildMainPage();
    buildActions();
}

TDravik_Main::~TDravik_Main() = default;

void TDravik_Main::buildSplashPage() {
    Image2 = new ui::PictureBox(ui::kSplashResource, Tab1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(0, 0, kWidth, 616);

    AniIndicator1 = new ui::ActivityIndicator(Tab1);
    AniIndicator1->setObjectName(QStringLiteral("AniIndicator1"));
    AniIndicator1->setGeometry(0, 616, kWidth, 50);
    AniIndicator1->start();

    auto* grid = new QWidget(Tab1);
    grid->setObjectName(QStringLiteral("GridLayout1"));
    grid->setGeometry(0, 666, kWidth, 100);
    // Cells are 495 wide, wider than the page: each takes a row, and the texts centre on 495.
    Label2 = ui::makeLabel(QStringLiteral("正在更新数据…"), ui::uiFont(11), grid);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    Label2->setGeometry(0, 0, 495, 50);
    Label3 = ui::makeLabel(QStringLiteral("数据仅供参考 · 理性购彩"), ui::uiFont(11), grid);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setGeometry(0, 50, 495, 50);
}

void TDravik_Main::buildMainPage() {
    Layout_top = new ui::DragHeader(Tab2);
    Layout_top->setObjectName(QStringLiteral("Layout_top"));
    Layout_top->setGeometry(0, 0, kWidth, kHeaderHeight);

    Label1 = ui::makeLabel(QStringLiteral("Dravik"), ui::uiFont(20), Layout_top);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(0, 0, kWidth, kHeaderHeight);
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Image_logo = new ui::PictureBox(ui::kLogoResource, Layout_top);
    Image_logo->setObjectName(QStringLiteral("Image_logo"));
    Image_logo->setGeometry(0, 0, 50, 50);
    Image_logo->setCursor(Qt::PointingHandCursor);
    connect(Image_logo, &ui::PictureBox::doubleClicked, this, &TDravik_Main::Image_logoDblClick);

    Button_save = new ui::ImageButton(Layout_top);
    Button_save->setObjectName(QStringLiteral("Button_save"));
    Button_save->setIcon(ui::imageIcon(ui::kImageSave));
    Button_save->setGeometry(kWidth - 10 - 50, 0, 50, 50);
    Button_save->setVisible(false);
    Button_save->setEnabled(false);

    TabControl1 = new ui::TabControl(Tab2);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setGeometry(0, kHeaderHeight, kWidth, kHeight - kHeaderHeight);

    auto* analysis = new QWidget;
    buildAnalysisTab(analysis);
    TabControl1->addTab(analysis, QStringLiteral("TabItem1"), ui::imageIcon(ui::kImageCount),
                        QStringLiteral("分析"));

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

    auto* help = new QWidget;
    buildHelpTab(help);
    TabControl1->addTab(help, QStringLiteral("TabItem4"), ui::imageIcon(ui::kImageHelp),
                        QStringLiteral("帮助"));

    connect(TabControl1, &ui::TabControl::currentChanged, this, &TDravik_Main::TabControl1Change);
    connect(Button_save, &QAbstractButton::clicked, settingsTab, &SettingsTab::act_savesetExecute);
    connect(settingsTab->Button_in, &QAbstractButton::clicked, Tab3, &DataEntryPage::Button_inClick);
}

void TDravik_Main::buildAnalysisTab(QWidget* page) {
    StringGrid1 = ui::makeStringGrid(
        QStringLiteral("StringGrid1"),
        {QStringLiteral("号码"), QStringLiteral("出现值"), QStringLiteral("遗漏值"), QStringLiteral("荐")},
        {100, 50, 50, 30}, page);
    StringGrid1->setRowCount(10);
    StringGrid1->setGeometry(10, 0, kWidth - 20, kHeight - kHeaderHeight - ui::TabControl::kStripHeight);
}

void TDravik_Main::buildHelpTab(QWidget* page) {
    const int pageHeight = kHeight - kHeaderHeight - ui::TabControl::kStripHeight;
    Memo1 = new QPlainTextEdit(page);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(15, 10, kWidth - 30, pageHeight - 100 - 20);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFont(ui::uiFont(13));
    Memo1->setStyleSheet(
        QStringLiteral("QPlainTextEdit { color: %1; background: white; }").arg(ui::cssColor(ui::kText)));
    Memo1->setPlainText(helpText());

    auto* layout1 = new QWidget(page);
    layout1->setObjectName(QStringLiteral("Layout1"));
    layout1->setGeometry(0, pageHeight - 100, kWidth, 100);
    Button8 = new ui::ImageButton(layout1);
    Button8->setObjectName(QStringLiteral("Button8"));
    Button8->setGeometry(0, 0, kWidth, 100);
    Button8->setIcon(ui::imageIcon(ui::kImageUrl));
    Button8->setIconSize(QSize(100, 100));
    Button8->setPictureMargin(5);
    Button8->setCaptionRowHeight(25);
    Button8->setFont(ui::uiFont(13));
    Button8->setText(QStringLiteral("点击检查更新或扫码下载安卓版本"));
    connect(Button8, &QAbstractButton::clicked, this, &TDravik_Main::Button8Click);
}

void TDravik_Main::buildActions() {
    actionList_ = new QObject(this);
    actionList_->setObjectName(QStringLiteral("ActionList1"));
    const auto add = [this](const char* name, auto handler) {
        auto* action = new QAction(QString::fromLatin1(name), actionList_);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    SettingsTab* settings = settingsTab;
    add("act_dnload", [this] { act_dnloadExecute(); });
    add("act_setini", [this] { act_setiniExecute(); });
    add("act_setedit", [settings] { settings->act_seteditExecute(); });
    add("act_hc1set", [this] { act_hc1setExecute(); });
    add("act_datset", [settings] { settings->act_datsetExecute(); });
    add("act_grid", [this] { act_gridExecute(); });
    add("act_saveset", [settings] { settings->act_savesetExecute(); });
    DataEntryPage* entry = Tab3;
    add("act_data", [entry] { entry->act_dataExecute(); });
    add("act_save", [entry] { entry->act_saveExecute(); });
    add("act_savechange", [settings] { settings->act_savechangeExecute(); });
}

void TDravik_Main::runAction(const QString& name) {
    auto* action = actionList_->findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
    Q_ASSERT_X(action, "runAction", qPrintable(name));
    if (action)
        action->trigger();
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
    Timer1->start();
    step([] { ensureDataFolder(); });
    Tab_back->setCurrentWidget(Tab1);
    TabControl1->setCurrentIndex(kAnalysisTab);
    DownloadDone = false;
    StringGrid1->setColumnWidth(0, StringGrid1->width() - 130 - 6);
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
    AniIndicator1->stop();
    AniIndicator1->hide();
    Timer1->stop();
    Tab_back->setCurrentWidget(Tab2);
}

void TDravik_Main::TabControl1Change() {
    const bool onSettings = TabControl1->currentIndex() == kSettingsTab;
    Button_save->setVisible(onSettings);
    if (Button_save->isEnabled() && !onSettings)
        runAction(QStringLiteral("act_savechange"));
}

void TDravik_Main::Image_logoDblClick() {
    close();
}

void TDravik_Main::Button8Click() {
    QDesktopServices::openUrl(QUrl(QStringLiteral(DRAVIK_DOWNLOAD_URL)));
}

void TDravik_Main::act_dnloadExecute() {
    // The splash page waits for DownloadDone: it is set however the download ends, a failed write
    // of the record file included (that error is then shown by whoever runs this action).
    struct SetWhenDone {
        bool& done;
        ~SetWhenDone() { done = true; }
    } setWhenDone{DownloadDone};
    QString root = options_.siteRoot;
    if (root.isEmpty())
        root = configuredSiteRoot();
    if (root.isEmpty())
        root = defaultSiteRoot();
    downloadHistory(
        *IdHTTP1, root, [] { QCoreApplication::processEvents(); },
        [this](const QString& text) { dialogs::showMessage(this, text); });
}

void TDravik_Main::act_setiniExecute() {
    const StartRecord start = recordStart();
    if (start.created)
        settingsTab->selectArchiveEntry(kBuiltInArchive);
    else
        settingsTab->Edit_name->setText(start.archiveName);
}

void TDravik_Main::act_hc1setExecute() {
    createBuiltInSettings();
}

void TDravik_Main::act_gridExecute() {
    AnalysisInputs inputs;
    inputs.archive = settingsTab->archiveName();
    inputs.depth = settingsTab->depth();
    inputs.records = readRecordTail(recordFilePath(inputs.archive), inputs.depth);
    inputs.x = settingsTab->Edit_x->currentText();
    inputs.a = settingsTab->Edit_a->currentText();
    inputs.b = settingsTab->Edit_b->currentText();
    inputs.c = settingsTab->Edit_c->currentText();
    inputs.startValue = settingsTab->startValue();
    inputs.mode = settingsTab->intervalMode() ? DisplayMode::Interval : DisplayMode::Sequential;

    const AnalysisOutcome outcome = runAnalysis(inputs);
    if (!outcome.message.isEmpty()) {
        if (outcome.messageIsError)
            throw Error(outcome.message);
        dialogs::showMessage(this, outcome.message);
    }
    switch (outcome.table) {
    case AnalysisOutcome::Table::Unchanged:
        break;
    case AnalysisOutcome::Table::Empty:
        StringGrid1->setRowCount(0);
        break;
    case AnalysisOutcome::Table::Rows:
        showResultRows(outcome.rows);
        break;
    }
}

void TDravik_Main::showResultRows(const QVector<ResultRow>& rows) {
    StringGrid1->setRowCount(0);
    StringGrid1->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const ResultRow& row = rows.at(i);
        StringGrid1->setItem(i, 0, ui::gridCell(row.group));
        StringGrid1->setItem(i, 1, ui::gridCell(row.occurrence));
        StringGrid1->setItem(i, 2, ui::gridCell(row.omission));
        StringGrid1->setItem(i, 3, ui::gridCell(row.mark));
    }
}

void TDravik_Main::closeEvent(QCloseEvent* event) {
    // FormClose: unsaved settings are asked about and the answer carried out; the answer never
    // cancels the close. An error while carrying it out does (the application object sees to that).
    if (Button_save->isEnabled())
        runAction(QStringLiteral("act_savechange"));
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
        move(screen->availableGeometry().center() - QPoint(kWidth / 2, kHeight / 2));
}

} // namespace dravik
