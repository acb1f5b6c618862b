#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class QAction;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTableWidget;
class QTimer;

namespace dravik {

class DataEntryPage;
class HistoryFetcher;
class RecordList;
class SettingsTab;
struct ResultRow;

namespace ui {
class ActivityIndicator;
class DragHeader;
class ImageButton;
class PictureBox;
class TabControl;
} // namespace ui

// Start-up choices that only tests make.
struct WindowOptions {
    // When set, the history download reads this site root (scheme, host, port) instead of the
    // configured or default one, so that a test reaches only its own loopback server.
    QString siteRoot;
};

// The one window of the program. Its controls hold all state besides the four program-wide values.
class TDravik_Main : public QWidget {
    Q_OBJECT
public:
    static constexpr int kAnalysisTab = 0;
    static constexpr int kSettingsTab = 1;
    static constexpr int kHelpTab = 2;

    explicit TDravik_Main(WindowOptions options = {}, QWidget* parent = nullptr);
    ~TDravik_Main() override;

    // The start-up sequence; the program entry runs it once, before the window is shown. An error of a
    // step is shown and the remaining steps still run, so the window always opens.
    void FormCreate();

    // Runs one of the named actions of ActionList1, synchronously, to its end.
    void runAction(const QString& name);

    void Timer1Timer();
    void TabControl1Change();
    void Image_logoDblClick();
    void Button8Click();

    void act_dnloadExecute();
    void act_setiniExecute();
    void act_hc1setExecute();
    void act_gridExecute();

    // Program-wide values.
    bool DownloadDone = false;
    std::unique_ptr<RecordList> DataList; // holds DataFile too
    QString SavedName;

    QStackedWidget* Tab_back;
    QWidget* Tab1;
    QWidget* Tab2;
    DataEntryPage* Tab3; // the data-entry page
    ui::PictureBox* Image2;
    ui::ActivityIndicator* AniIndicator1;
    QLabel* Label2;
    QLabel* Label3;
    ui::DragHeader* Layout_top;
    QLabel* Label1;
    ui::PictureBox* Image_logo;
    ui::ImageButton* Button_save;
    ui::TabControl* TabControl1;
    QTableWidget* StringGrid1;
    SettingsTab* settingsTab;
    QPlainTextEdit* Memo1;
    ui::ImageButton* Button8;
    QTimer* Timer1;
    HistoryFetcher* IdHTTP1;

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildSplashPage();
    void buildMainPage();
    void buildAnalysisTab(QWidget* page);
    void buildHelpTab(QWidget* page);
    void buildActions();
    void showResultRows(const QVector<ResultRow>& rows);

    WindowOptions options_;
    QObject* actionList_;
    bool centred_ = false;
};

} // namespace dravik
