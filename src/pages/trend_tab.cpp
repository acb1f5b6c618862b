#include "pages/trend_tab.h"

#include "analysis/trend_csv.h"
#include "analysis/trend_run.h"
#include "pages/grouping_scan_dialog.h"
#include "pages/trend_layout.h"
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
#include <QEvent>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <cmath>

namespace dravik {

namespace {

constexpr int kMargin = 10;
constexpr int kButtonWidth = 100;
constexpr int kRowSpacing = 10; // between the buttons of a row

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

void setColumnWidths(QTableView* table, const TrendColumns& widths, int columns) {
    for (int column = 0; column < columns; ++column)
        table->setColumnWidth(column, widths.width(column));
}

// The room the style leaves beside a cell's text, both sides together: the text margins and the
// grid line.
int cellRoom(const QWidget* view) {
    return 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 1;
}

int headerRoom(const QWidget* header) {
    return 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
}

// The width a text needs in the widest of these places, each a widget, whose font draws it, and the
// room its cells leave; never less room than the padding asked for.
TrendTextFit widestFit(const QList<QPair<const QWidget*, int>>& places) {
    QList<QPair<QFontMetricsF, int>> measures;
    for (const auto& [widget, room] : places)
        measures.append({QFontMetricsF(widget->font(), widget), room});
    return [measures](const QString& text, int padding) {
        int width = 0;
        for (const auto& [metrics, room] : measures)
            width =
                std::max(width, int(std::ceil(metrics.horizontalAdvance(text))) + std::max(room, padding));
        return width;
    };
}

} // namespace

TrendTab::TrendTab(Host host, QWidget* parent)
    : QWidget(parent), host_(std::move(host)), model_(new TrendModel(this)),
      footerModel_(new TrendFooterModel(this)) {
    // Rows of controls are laid out left to right; the tab places the rows (resizeEvent).
    spanRow_ = new QWidget(this);
    auto* caption = ui::makeLabel(QStringLiteral("统计期数"), ui::uiFont(11), spanRow_);
    caption->setFixedSize(70, kTrendControlHeight);
    spanCombo_ = new ui::ChoiceCombo(ui::ChoiceCombo::Typing::ReadOnly, spanRow_);
    spanCombo_->setObjectName(QStringLiteral("Combo_span"));
    spanCombo_->setAccessibleName(QStringLiteral("统计期数"));
    for (const Span& span : kSpans)
        spanCombo_->addItem(QString::fromUtf16(span.caption));
    spanCombo_->setFixedSize(100, kTrendControlHeight);
    caption->setBuddy(spanCombo_);
    auto* spanLayout = new QHBoxLayout(spanRow_);
    spanLayout->setContentsMargins(0, 0, 0, 0);
    spanLayout->setSpacing(0);
    spanLayout->addWidget(caption);
    spanLayout->addWidget(spanCombo_);
    spanLayout->addStretch();
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
    // On a short tab the footers give up height to the chart and scroll.
    footerGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    footerGrid_->setModel(footerModel_);

    for (ui::FrozenColumnsTable* table : {static_cast<ui::FrozenColumnsTable*>(chartGrid_), footerGrid_}) {
        ui::styleTable(table, kTrendRowHeight);
        // Every part in the chart's font, which falls back as the window's other fonts do: the headers
        // and the columns held in place would otherwise take the application's font, which is another
        // family where the program's own are missing (under Wine, a serif). A header paints on its
        // viewport, whose font the style sheets keep from following the header's.
        for (QTableView* view : {static_cast<QTableView*>(table), table->frozenView()}) {
            view->setFont(trendFont());
            view->horizontalHeader()->setFont(trendFont());
            view->horizontalHeader()->viewport()->setFont(trendFont());
        }
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
    for (ui::FrozenColumnsTable* table : {static_cast<ui::FrozenColumnsTable*>(chartGrid_), footerGrid_}) {
        for (QTableView* view : {static_cast<QTableView*>(table), table->frozenView()}) {
            view->installEventFilter(this);
            view->horizontalHeader()->installEventFilter(this);
        }
    }

    // The texts under the footers, one under the other, each wrapped to the tab's width. On a short
    // tab they scroll, the mark check first and whole.
    texts_ = new QScrollArea(this);
    texts_->setFrameShape(QFrame::NoFrame);
    texts_->setWidgetResizable(true);
    texts_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    texts_->viewport()->setAutoFillBackground(false);
    // The texts take the focus themselves; the area around them brings the focused one into view.
    texts_->setFocusPolicy(Qt::NoFocus);
    auto* textsBox = new QWidget;
    textsLayout_ = new QVBoxLayout(textsBox);
    textsLayout_->setContentsMargins(0, 0, 0, 0);
    textsLayout_->setSpacing(0);
    checkLabel_ = ui::makeLabel(QString(), ui::uiFont(10), textsBox);
    checkLabel_->setObjectName(QStringLiteral("Label_check"));
    // Its text is what a screen reader must say; the caption only describes it.
    checkLabel_->setAccessibleDescription(QStringLiteral("荐号回测"));
    checkLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Never cut: it takes the lines it needs, and the chart gives up height for them.
    checkLabel_->setWordWrap(true);
    textsLayout_->addWidget(checkLabel_);
    // Read out and selectable from the keyboard, like the help text.
    checkLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    checkLabel_->setFocusPolicy(Qt::StrongFocus);
    // The uniformity check under it, in its style.
    fairLabel_ = ui::makeLabel(QString(), ui::uiFont(10), textsBox);
    fairLabel_->setObjectName(QStringLiteral("Label_fair"));
    fairLabel_->setAccessibleDescription(QStringLiteral("均匀性检验"));
    fairLabel_->setAlignment(checkLabel_->alignment());
    fairLabel_->setWordWrap(true);
    fairLabel_->setTextInteractionFlags(checkLabel_->textInteractionFlags());
    fairLabel_->setFocusPolicy(Qt::StrongFocus);
    textsLayout_->addWidget(fairLabel_);
    texts_->setWidget(textsBox);
    // On the tab's own white, as before the texts could scroll (setWidget fills the box's background).
    textsBox->setAutoFillBackground(false);

    buttonRow_ = new QWidget(this);
    buttonLayout_ = new QHBoxLayout(buttonRow_);
    buttonLayout_->setContentsMargins(0, 0, 0, 0);
    buttonLayout_->setSpacing(kRowSpacing);
    const auto makeButton = [this](const char* name, const QString& text) {
        auto* button = new QPushButton(text, buttonRow_);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(text);
        button->setFont(ui::uiFont(11));
        button->setFixedSize(kButtonWidth, kTrendControlHeight);
        buttonLayout_->addWidget(button);
        return button;
    };
    csvButton_ = makeButton("Button_csv", QStringLiteral("导出CSV"));
    pngButton_ = makeButton("Button_png", QStringLiteral("导出图片"));
    scanButton_ = makeButton("Button_scan", QStringLiteral("回测全部分组"));
    statusLabel_ = ui::makeLabel(QString(), ui::uiFont(9), this);
    statusLabel_->setObjectName(QStringLiteral("Label_status"));
    statusLabel_->setAccessibleDescription(QStringLiteral("导出状态"));
    statusLabel_->setWordWrap(true);
    connect(csvButton_, &QAbstractButton::clicked, this, ui::guarded([this] { exportCsv(); }));
    connect(pngButton_, &QAbstractButton::clicked, this, ui::guarded([this] { exportPicture(); }));
    // Nothing of the settings changes: the scan only reads the archive.
    connect(scanButton_, &QAbstractButton::clicked, this,
            ui::guarded([this] { runGroupingScan(host_.dialogOwner, host_.settings()); }));
}

void TrendTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void TrendTab::layOut() {
    const int width = this->width() - 2 * kMargin;
    const int frame = 2 * chartGrid_->frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, chartGrid_);
    // The chart scrolls sideways, under a scroll bar, when its columns are wider than the room beside
    // its vertical scroll bar.
    const bool sideways = chartGrid_->horizontalHeader()->length() > width - frame - scrollBar;
    const QSize spanRow = spanRow_->sizeHint();
    // The buttons' row: the two exports and the scan, or the exports alone.
    const int exportWidth = 2 * kButtonWidth + kRowSpacing;
    const int rowWidth = exportWidth + kRowSpacing + kButtonWidth;
    TrendHeights heights;
    heights.tab = height();
    heights.texts =
        checkLabel_->heightForWidth(width) + (fairLabel_->isHidden() ? 0 : fairLabel_->heightForWidth(width));
    // Scrolled, the texts make room for a scroll bar.
    heights.textsLeast = checkLabel_->heightForWidth(width - scrollBar);
    heights.status = statusLabel_->text().isEmpty() ? 0 : statusLabel_->heightForWidth(width);
    heights.chartLeast =
        frame + kTrendHeaderHeight + kTrendLeastRows * kTrendRowHeight + (sideways ? scrollBar : 0);
    heights.footerFull = 2 * footerGrid_->frameWidth() + kTrendFooterCount * kTrendRowHeight;
    heights.footerLeast = 2 * footerGrid_->frameWidth() + kTrendRowHeight;
    heights.exportFitsBesideSpan = spanRow.width() + kRowSpacing + exportWidth <= width;
    const bool rowFitsBesideSpan = spanRow.width() + kRowSpacing + rowWidth <= width;
    heights.textsMoved = rowFitsBesideSpan ? 0 : kTrendControlHeight;
    const TrendBands bands = trendBands(heights);

    const bool scanUnderTexts = bands.compact && !rowFitsBesideSpan;
    placeScanButton(scanUnderTexts);
    spanRow_->setGeometry(kMargin, kTrendControlTop, width, kTrendControlHeight);
    chartGrid_->setGeometry(kMargin, bands.chartTop, width, bands.chartHeight);
    footerGrid_->setGeometry(kMargin, bands.footerTop, width, bands.footerHeight);
    texts_->setGeometry(kMargin, bands.textsTop, width, bands.textsHeight);
    const int placedWidth = scanUnderTexts ? exportWidth : rowWidth;
    const int buttonsLeft = bands.compact ? kMargin + spanRow.width() + kRowSpacing : kMargin;
    buttonRow_->setGeometry(buttonsLeft, bands.buttonsTop, placedWidth, kTrendControlHeight);
    const int statusLeft = kMargin + placedWidth + kRowSpacing;
    statusLabel_->setGeometry(bands.compact ? QRect(kMargin, bands.statusTop, width, heights.status)
                                            : QRect(statusLeft, bands.buttonsTop,
                                                    kMargin + width - statusLeft, kTrendControlHeight));
}

void TrendTab::placeScanButton(bool underTexts) {
    QBoxLayout* const rowLayout = buttonLayout_;
    QBoxLayout* const textsLayout = textsLayout_;
    QBoxLayout* from = underTexts ? rowLayout : textsLayout;
    QBoxLayout* to = underTexts ? textsLayout : rowLayout;
    if (from->indexOf(scanButton_) < 0)
        return;
    from->removeWidget(scanButton_);
    scanButton_->setParent(to->parentWidget());
    to->addWidget(scanButton_, 0, Qt::AlignLeft);
    scanButton_->show();
}

QString TrendTab::checkTexts() const {
    const QString fair = fairLabel_->text();
    return fair.isEmpty() ? checkLabel_->text() : checkLabel_->text() + QLatin1Char('\n') + fair;
}

void TrendTab::setStatus(const QString& text) {
    statusLabel_->setText(text);
    layOut();
}

QList<QWidget*> TrendTab::focusChain() const {
    return {spanCombo_, chartGrid_, footerGrid_, checkLabel_,
            fairLabel_, csvButton_, pngButton_,  scanButton_};
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
    fitColumns();
    checkLabel_->setText(outcome.check);
    fairLabel_->setText(outcome.fair);
    fairLabel_->setVisible(!outcome.fair.isEmpty());
    layOut(); // the columns and the texts decide the chart's least height
    showNewest_ = true;
    if (chartGrid_->isVisible())
        chartGrid_->doItemsLayout(); // the new scroll range, now
    chartGrid_->scrollToBottom();
}

void TrendTab::fitColumns() {
    // The header and the columns held in place are drawn in fonts of their own: the tables' style
    // sheets keep their own font from reaching them.
    QTableView* chartFixed = chartGrid_->frozenView();
    QTableView* footerFixed = footerGrid_->frozenView();
    const QWidget* chartHeader = chartGrid_->horizontalHeader();
    const QWidget* fixedHeader = chartFixed->horizontalHeader();
    TrendTextFits fits;
    fits.caption =
        widestFit({{chartHeader, headerRoom(chartHeader)}, {fixedHeader, headerRoom(fixedHeader)}});
    fits.fixed = widestFit({{chartFixed, cellRoom(chartFixed)}, {footerFixed, cellRoom(footerFixed)}});
    fits.group = widestFit({{chartGrid_, cellRoom(chartGrid_)}, {footerGrid_, cellRoom(footerGrid_)}});
    const TrendColumns widths = trendColumns(*chart_, fits);
    setColumnWidths(chartGrid_, widths, model_->columnCount());
    setColumnWidths(footerGrid_, widths, model_->columnCount());
}

bool TrendTab::eventFilter(QObject* watched, QEvent* event) {
    // A font or style given to a table, its header or its held columns once a chart is shown: the
    // columns follow it.
    if (chart_ && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)) {
        fitColumns();
        layOut();
    }
    return QWidget::eventFilter(watched, event);
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
    if (!chart_)
        refresh();
    const QString path =
        askExportPath(QStringLiteral("导出CSV"), QStringLiteral("csv"), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    QString reason;
    if (!replaceWholeFile(path, trendCsv(*chart_, checkTexts()), &reason)) {
        exportFailed(reason);
        return;
    }
    setStatus(QStringLiteral("已导出：%1").arg(QFileInfo(path).fileName()));
}

void TrendTab::exportPicture() {
    if (!chart_)
        refresh();
    // The chart as it is now: the window may rebuild it while the pages are written.
    const std::shared_ptr<const TrendChart> chart = chart_;
    const QString check = checkTexts();
    const QString path =
        askExportPath(QStringLiteral("导出图片"), QStringLiteral("png"), QStringLiteral("PNG (*.png)"));
    if (path.isEmpty())
        return;
    QString reason;
    const std::optional<TrendPicture> picture = planTrendPicture(*chart, check, &reason);
    if (!picture) {
        exportFailed(reason);
        return;
    }
    if (picture->pageCount() > 1) {
        exportPages(path, *picture, *chart, check);
        return;
    }
    const std::optional<QByteArray> png = trendPicturePage(*picture, *chart, check, 0, &reason);
    if (!png || !replaceWholeFile(path, *png, &reason)) {
        exportFailed(reason);
        return;
    }
    setStatus(QStringLiteral("已导出：%1").arg(QFileInfo(path).fileName()));
}

QString TrendTab::askExportPath(const QString& caption, const QString& suffix, const QString& filter) {
    const QString proposed =
        dialogs::documentsFolder() + QLatin1Char('/') + archive_ + QStringLiteral("-走势.") + suffix;
    const QString path = dialogs::askSaveFileName(host_.dialogOwner, caption, proposed, filter, suffix);
    if (!path.isEmpty())
        setStatus(QString());
    return path;
}

void TrendTab::exportFailed(const QString& reason) {
    dialogs::showMessage(host_.dialogOwner, QStringLiteral("导出失败：") + reason);
}

void TrendTab::exportPages(const QString& path, const TrendPicture& picture, const TrendChart& chart,
                           const QString& check) {
    const int pages = picture.pageCount();
    QList<int> all, replaced, stale;
    for (int page = 1; page <= pages; ++page) {
        all.append(page);
        if (QFileInfo(trendPagePath(path, page)).isFile())
            replaced.append(page);
    }
    // Pages of an earlier, longer export under the same name would pass for the last pages of this one.
    QStringList stalePaths;
    for (int page = pages + 1; QFileInfo(trendPagePath(path, page)).isFile(); ++page) {
        stale.append(page);
        stalePaths.append(trendPagePath(path, page));
    }
    WholeFileSet files(trendPagePaths(path, pages), stalePaths);
    QString reason;
    if (!files.mayWrite(&reason)) {
        exportFailed(reason);
        return;
    }
    const QString plan =
        QStringLiteral("图片较长，将分为%1个文件：%2").arg(pages).arg(trendPageNames(path, all));
    // Only what would be replaced or removed is asked about; new files are named in the progress
    // dialog and the status.
    if (!replaced.isEmpty() || !stale.isEmpty()) {
        QString question = plan;
        if (!replaced.isEmpty())
            question += QStringLiteral("\n其中已存在的将被替换：") + trendPageNames(path, replaced);
        if (!stale.isEmpty())
            question += QStringLiteral("\n先前导出的%1将被删除").arg(trendPageNames(path, stale));
        question += QStringLiteral("\n是否继续？");
        bool agreed = false;
        dialogs::confirm(host_.dialogOwner, question,
                         [&agreed](int answer) { agreed = answer == dialogs::kYes; });
        if (!agreed)
            return;
    }

    enum class Outcome { Written, Cancelled, Failed };
    const Outcome outcome = [&] {
        // One page at a time, each written before the next is drawn: memory for one page only.
        dialogs::Progress progress(host_.dialogOwner, QStringLiteral("导出图片"), plan, pages);
        for (int page = 0; page < pages; ++page) {
            if (!progress.advance(page))
                return Outcome::Cancelled;
            const std::optional<QByteArray> png = trendPicturePage(picture, chart, check, page, &reason);
            if (!png || !files.write(page, *png, &reason))
                return Outcome::Failed;
        }
        if (!progress.advance(pages))
            return Outcome::Cancelled;
        return files.commit(&reason) ? Outcome::Written : Outcome::Failed;
    }();
    files.discard();
    switch (outcome) {
    case Outcome::Written:
        setStatus(QStringLiteral("图片较长，已分为%1个文件：%2").arg(pages).arg(trendPageNames(path, all)));
        break;
    case Outcome::Cancelled:
        setStatus(QStringLiteral("已取消导出"));
        break;
    case Outcome::Failed:
        exportFailed(reason);
        break;
    }
}

} // namespace dravik
