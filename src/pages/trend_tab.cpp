#include "pages/trend_tab.h"

#include "analysis/trend_csv.h"
#include "analysis/trend_run.h"
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
    auto* caption = ui::makeLabel(QStringLiteral("统计期数"), ui::uiFont(11), this);
    caption->setGeometry(kMargin, 8, 70, kControlHeight);
    spanCombo_ = new ui::ChoiceCombo(ui::ChoiceCombo::Typing::ReadOnly, this);
    spanCombo_->setObjectName(QStringLiteral("Combo_span"));
    spanCombo_->setAccessibleName(QStringLiteral("统计期数"));
    for (const Span& span : kSpans)
        spanCombo_->addItem(QString::fromUtf16(span.caption));
    spanCombo_->setGeometry(kMargin + 70, 8, 100, kControlHeight);
    caption->setBuddy(spanCombo_);
    connect(spanCombo_, QOverload<int>::of(&QComboBox::activated), this,
            ui::guarded([this] { onSpanPicked(); }));

    chartGrid_ = new TrendGrid(model_, this);
    chartGrid_->setObjectName(QStringLiteral("Grid_trend"));
    chartGrid_->setAccessibleName(QStringLiteral("走势表"));

    footerGrid_ = new ui::FrozenColumnsTable(TrendModel::kFixedColumns, this);
    footerGrid_->setObjectName(QStringLiteral("Grid_footer"));
    footerGrid_->setAccessibleName(QStringLiteral("走势统计"));
    footerGrid_->horizontalHeader()->hide();
    footerGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    footerGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    footerGrid_->setModel(footerModel_);

    for (QTableView* table : {static_cast<QTableView*>(chartGrid_), static_cast<QTableView*>(footerGrid_)}) {
        ui::styleTable(table, kTrendRowHeight);
        table->setFont(trendFont());
        table->horizontalHeader()->setFixedHeight(kTrendHeaderHeight);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setFrameShape(QFrame::StyledPanel);
    }
    // A table just filled learns its scroll range only when laid out: until the user scrolls, each new
    // range keeps the newest row in view.
    QScrollBar* rows = chartGrid_->verticalScrollBar();
    connect(rows, &QScrollBar::rangeChanged, this, [this, rows](int, int maximum) {
        if (showNewest_)
            rows->setValue(maximum);
    });
    connect(rows, &QScrollBar::actionTriggered, this, [this] { showNewest_ = false; });
    footerGrid_->scrollSidewaysWith(chartGrid_);

    checkLabel_ = ui::makeLabel(QString(), ui::uiFont(10), this);
    checkLabel_->setObjectName(QStringLiteral("Label_check"));
    // Its text is what a screen reader must say; the caption only describes it.
    checkLabel_->setAccessibleDescription(QStringLiteral("荐号回测"));
    checkLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Read out and selectable from the keyboard, like the help text.
    checkLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    checkLabel_->setFocusPolicy(Qt::StrongFocus);

    const auto makeButton = [this](const char* name, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(text);
        button->setFont(ui::uiFont(11));
        return button;
    };
    csvButton_ = makeButton("Button_csv", QStringLiteral("导出CSV"));
    pngButton_ = makeButton("Button_png", QStringLiteral("导出图片"));
    statusLabel_ = ui::makeLabel(QString(), ui::uiFont(9), this);
    statusLabel_->setObjectName(QStringLiteral("Label_status"));
    statusLabel_->setAccessibleDescription(QStringLiteral("导出状态"));
    statusLabel_->setWordWrap(true);
    connect(csvButton_, &QAbstractButton::clicked, this, ui::guarded([this] { exportCsv(); }));
    connect(pngButton_, &QAbstractButton::clicked, this, ui::guarded([this] { exportPicture(); }));
}

void TrendTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Laid out from the bottom up; the chart takes the height that is left, and gives it up on a short
    // window.
    const int width = this->width() - 2 * kMargin;
    const int buttonsTop = height() - 8 - kControlHeight;
    const int checkTop = buttonsTop - 4 - kCheckHeight;
    const int footerTop = checkTop - 4 - kFooterHeight;
    const int gridTop = 8 + kControlHeight + 6;
    chartGrid_->setGeometry(kMargin, gridTop, width, std::max(0, footerTop - gridTop));
    footerGrid_->setGeometry(kMargin, footerTop, width, kFooterHeight);
    checkLabel_->setGeometry(kMargin, checkTop, width, kCheckHeight);
    csvButton_->setGeometry(kMargin, buttonsTop, 100, kControlHeight);
    pngButton_->setGeometry(kMargin + 110, buttonsTop, 100, kControlHeight);
    statusLabel_->setGeometry(kMargin + 220, buttonsTop, width - 220, kControlHeight);
}

QList<QWidget*> TrendTab::focusChain() const {
    return {spanCombo_, chartGrid_, footerGrid_, checkLabel_, csvButton_, pngButton_};
}

void TrendTab::refresh() {
    TrendInputs inputs;
    inputs.settings = host_.settings();
    if (!spanPicked_)
        spanCombo_->setCurrentIndex(spanIndexOf(inputs.settings.depth));
    inputs.window = kSpans[std::max(spanCombo_->currentIndex(), 0)].draws;

    TrendOutcome outcome = runTrend(inputs);
    archive_ = inputs.settings.archive;
    chart_ = std::make_shared<const TrendChart>(std::move(outcome.chart));
    model_->setChart(chart_);
    footerModel_->setChart(chart_);
    const TrendColumns widths = trendColumns(*chart_);
    setColumnWidths(chartGrid_, widths, model_->columnCount());
    setColumnWidths(footerGrid_, widths, model_->columnCount());
    checkLabel_->setText(outcome.check);
    showNewest_ = true;
    if (chartGrid_->isVisible())
        chartGrid_->doItemsLayout(); // the new scroll range, now
    chartGrid_->scrollToBottom();
}

void TrendTab::analysisRebuilt() {
    if (chart_)
        refresh();
}

void TrendTab::onSpanPicked() {
    spanPicked_ = true;
    refresh();
}

void TrendTab::exportCsv() {
    exportFiles(QStringLiteral("导出CSV"), QStringLiteral("csv"), QStringLiteral("CSV (*.csv)"),
                [this](QString*) {
                    return std::optional<QList<QByteArray>>({trendCsv(*chart_, checkLabel_->text())});
                });
}

void TrendTab::exportPicture() {
    exportFiles(QStringLiteral("导出图片"), QStringLiteral("png"), QStringLiteral("PNG (*.png)"),
                [this](QString* reason) -> std::optional<QList<QByteArray>> {
                    std::optional<TrendPictures> pictures = trendPngs(*chart_, checkLabel_->text(), reason);
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
    statusLabel_->clear();
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
    statusLabel_->setText(paths.size() == 1 ? QStringLiteral("已导出：%1").arg(first)
                                            : QStringLiteral("图片较长，已分为%1个文件：%2 … %3")
                                                  .arg(paths.size())
                                                  .arg(first, QFileInfo(paths.last()).fileName()));
}

} // namespace dravik
