#include "pages/trend_tab.h"

#include "analysis/trend_csv.h"
#include "analysis/trend_run.h"
#include "pages/page_geometry.h"
#include "pages/trend_picture.h"
#include "pages/trend_table.h"
#include "storage/whole_file.h"
#include "ui/choice_combo.h"
#include "ui/dialogs.h"
#include "ui/frozen_table.h"
#include "ui/handler_guard.h"
#include "ui/string_grid.h"
#include "ui/ui_style.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>

namespace dravik {

namespace {

constexpr int kMargin = 10;
constexpr int kControlHeight = 30;
constexpr int kCheckHeight = 44;
constexpr int kFooterHeight = kTrendFooterCount * kTrendRowHeight + 2;

struct Span {
    int draws;
    const char16_t* caption;
};
constexpr Span kSpans[] = {{30, u"30期"},   {60, u"60期"},   {100, u"100期"},
                           {200, u"200期"}, {500, u"500期"}, {kWholeArchive, u"全部"}};

int spanIndexOf(int draws) {
    for (int i = 0; i < int(std::size(kSpans)); ++i) {
        if (kSpans[i].draws == draws)
            return i;
    }
    return 0;
}

// The folder the save dialogs start in: the user's documents folder, else the home folder.
QString exportFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

void setColumnWidths(QTableView* table, const TrendColumns& widths, int columns) {
    for (int column = 0; column < columns; ++column)
        table->setColumnWidth(column, widths.width(column));
}

} // namespace

TrendTab::TrendTab(Host host, QWidget* parent)
    : QWidget(parent), host_(std::move(host)), model_(new TrendModel(this)),
      footerModel_(new TrendFooterModel(this)) {
    const int width = kWindowWidth - 2 * kMargin;

    auto* caption = ui::makeLabel(QStringLiteral("统计期数"), ui::uiFont(11), this);
    caption->setGeometry(kMargin, 8, 70, kControlHeight);
    Combo_span = new ui::ChoiceCombo(ui::ChoiceCombo::Typing::ReadOnly, this);
    Combo_span->setObjectName(QStringLiteral("Combo_span"));
    Combo_span->setAccessibleName(QStringLiteral("统计期数"));
    for (const Span& span : kSpans)
        Combo_span->addItem(QString::fromUtf16(span.caption));
    Combo_span->setGeometry(kMargin + 70, 8, 100, kControlHeight);
    caption->setBuddy(Combo_span);
    connect(Combo_span, QOverload<int>::of(&QComboBox::activated), this,
            ui::guarded([this] { Combo_spanChange(); }));

    const int buttonsTop = kTabPageHeight - 8 - kControlHeight;
    const int checkTop = buttonsTop - 4 - kCheckHeight;
    const int footerTop = checkTop - 4 - kFooterHeight;
    const int gridTop = 8 + kControlHeight + 6;

    Grid_trend = new TrendGrid(model_, this);
    Grid_trend->setObjectName(QStringLiteral("Grid_trend"));
    Grid_trend->setAccessibleName(QStringLiteral("走势表"));
    Grid_trend->setGeometry(kMargin, gridTop, width, footerTop - gridTop);

    Grid_footer = new ui::FrozenColumnsTable(TrendModel::kFixedColumns, this);
    Grid_footer->setObjectName(QStringLiteral("Grid_footer"));
    Grid_footer->setAccessibleName(QStringLiteral("走势统计"));
    Grid_footer->horizontalHeader()->hide();
    Grid_footer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid_footer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid_footer->setModel(footerModel_);
    Grid_footer->setGeometry(kMargin, footerTop, width, kFooterHeight);

    for (QTableView* table : {static_cast<QTableView*>(Grid_trend), static_cast<QTableView*>(Grid_footer)}) {
        ui::styleTable(table, kTrendRowHeight);
        table->setFont(trendFont());
        table->horizontalHeader()->setFixedHeight(kTrendHeaderHeight);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setFrameShape(QFrame::StyledPanel);
    }
    // A table just filled learns its scroll range only when laid out: until the user scrolls, each new
    // range keeps the newest row in view.
    QScrollBar* rows = Grid_trend->verticalScrollBar();
    connect(rows, &QScrollBar::rangeChanged, this, [this, rows](int, int maximum) {
        if (showNewest_)
            rows->setValue(maximum);
    });
    connect(rows, &QScrollBar::actionTriggered, this, [this] { showNewest_ = false; });
    Grid_footer->scrollSidewaysWith(Grid_trend);

    Label_check = ui::makeLabel(QString(), ui::uiFont(10), this);
    Label_check->setObjectName(QStringLiteral("Label_check"));
    // Its text is what a screen reader must say; the caption only describes it.
    Label_check->setAccessibleDescription(QStringLiteral("荐号回测"));
    Label_check->setGeometry(kMargin, checkTop, width, kCheckHeight);
    Label_check->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Read out and selectable from the keyboard, like the help text.
    Label_check->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Label_check->setFocusPolicy(Qt::StrongFocus);

    const auto makeButton = [this, buttonsTop](const char* name, const QString& text, int left) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(text);
        button->setFont(ui::uiFont(11));
        button->setGeometry(left, buttonsTop, 100, kControlHeight);
        return button;
    };
    Button_csv = makeButton("Button_csv", QStringLiteral("导出CSV"), kMargin);
    Button_png = makeButton("Button_png", QStringLiteral("导出图片"), kMargin + 110);
    Label_status = ui::makeLabel(QString(), ui::uiFont(9), this);
    Label_status->setObjectName(QStringLiteral("Label_status"));
    Label_status->setAccessibleDescription(QStringLiteral("导出状态"));
    Label_status->setGeometry(kMargin + 220, buttonsTop, width - 220, kControlHeight);
    Label_status->setWordWrap(true);
    connect(Button_csv, &QAbstractButton::clicked, this, ui::guarded([this] { Button_csvClick(); }));
    connect(Button_png, &QAbstractButton::clicked, this, ui::guarded([this] { Button_pngClick(); }));
}

QList<QWidget*> TrendTab::focusChain() const {
    return {Combo_span, Grid_trend, Grid_footer, Label_check, Button_csv, Button_png};
}

void TrendTab::refresh() {
    TrendInputs inputs;
    inputs.settings = host_.settings();
    if (!spanPicked_)
        Combo_span->setCurrentIndex(spanIndexOf(inputs.settings.depth));
    inputs.window = kSpans[std::max(Combo_span->currentIndex(), 0)].draws;

    TrendOutcome outcome = runTrend(inputs);
    archive_ = inputs.settings.archive;
    chart_ = std::make_shared<const TrendChart>(std::move(outcome.chart));
    model_->setChart(chart_);
    footerModel_->setChart(chart_);
    const TrendColumns widths = trendColumns(*chart_);
    setColumnWidths(Grid_trend, widths, model_->columnCount());
    setColumnWidths(Grid_footer, widths, model_->columnCount());
    Label_check->setText(outcome.check);
    showNewest_ = true;
    if (Grid_trend->isVisible())
        Grid_trend->doItemsLayout(); // the new scroll range, now
    Grid_trend->scrollToBottom();
}

void TrendTab::analysisRebuilt() {
    if (chart_)
        refresh();
}

void TrendTab::Combo_spanChange() {
    spanPicked_ = true;
    refresh();
}

void TrendTab::Button_csvClick() {
    exportFiles(QStringLiteral("导出CSV"), QStringLiteral("csv"), QStringLiteral("CSV (*.csv)"),
                [this](QString*) {
                    return std::optional<QList<QByteArray>>({trendCsv(*chart_, Label_check->text())});
                });
}

void TrendTab::Button_pngClick() {
    exportFiles(QStringLiteral("导出图片"), QStringLiteral("png"), QStringLiteral("PNG (*.png)"),
                [this](QString* reason) -> std::optional<QList<QByteArray>> {
                    std::optional<TrendPictures> pictures = trendPngs(*chart_, Label_check->text(), reason);
                    if (!pictures)
                        return std::nullopt;
                    return pictures->pages;
                });
}

void TrendTab::exportFiles(const QString& caption, const QString& suffix, const QString& filter,
                           const std::function<std::optional<QList<QByteArray>>(QString* reason)>& files) {
    if (!chart_)
        refresh();
    const QString proposed = exportFolder() + QLatin1Char('/') + archive_ + QStringLiteral("-走势.") + suffix;
    const QString path = dialogs::askSaveFileName(host_.dialogOwner, caption, proposed, filter, suffix);
    if (path.isEmpty())
        return;
    Label_status->clear();
    QString reason;
    const std::optional<QList<QByteArray>> contents = files(&reason);
    if (!contents) {
        dialogs::showMessage(host_.dialogOwner, QStringLiteral("导出失败：") + reason);
        return;
    }
    const QStringList paths = trendPagePaths(path, int(contents->size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!replaceWholeFile(paths[i], contents->at(i), &reason)) {
            dialogs::showMessage(host_.dialogOwner, QStringLiteral("导出失败：") + reason);
            return;
        }
    }
    const QString first = QFileInfo(paths.first()).fileName();
    Label_status->setText(paths.size() == 1 ? QStringLiteral("已导出：%1").arg(first)
                                            : QStringLiteral("图片较长，已分为%1个文件：%2 … %3")
                                                  .arg(paths.size())
                                                  .arg(first, QFileInfo(paths.last()).fileName()));
}

} // namespace dravik
