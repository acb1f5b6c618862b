#pragma once

#include "analysis/analysis_run.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QHBoxLayout;
class QScrollArea;
class QVBoxLayout;

namespace dravik {

struct TrendChart;
struct TrendPicture;
class TrendFooterModel;
class TrendGrid;
class TrendModel;

namespace ui {
class ChoiceCombo;
class FrozenColumnsTable;
} // namespace ui

// The trend tab 走势: the groups over the latest W draws, their long-run figures, the mark check and
// export. The chart is built when the tab is selected, never before.
class TrendTab : public QWidget {
    Q_OBJECT
public:
    // What the tab needs of the window around it.
    struct Host {
        std::function<AnalysisInputs()> settings; // the settings tab's controls as they stand
        QWidget* dialogOwner = nullptr;
    };

    explicit TrendTab(Host host, QWidget* parent = nullptr);

    // Builds the chart of the current settings and window: on selecting the tab and on a new span.
    void refresh();
    // The analysis table was rebuilt: a chart already built follows it.
    void analysisRebuilt();
    bool isBuilt() const { return chart_ != nullptr; }

    // The tab's controls in page order, for the window's Tab order.
    QList<QWidget*> focusChain() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Sets the columns of both tables to the chart shown, measured in the fonts they are drawn in.
    void fitColumns();
    // Places the rows of controls, the tables and the texts for the tab's size (trendBands).
    void layOut();
    // The scan button at the end of the buttons' row, or under the texts where the row beside the span
    // list cannot hold it.
    void placeScanButton(bool underTexts);
    void setStatus(const QString& text);
    void onSpanPicked();
    void exportCsv();
    void exportPicture();
    // Asks for the file name of an export; empty when the user cancelled.
    QString askExportPath(const QString& caption, const QString& suffix, const QString& filter);
    // Writes a picture too tall for one file as numbered pages beside `path`, all or none, after asking
    // about the files they would replace or leave looking like part of them. A failure goes to the
    // message box, what was written to the status.
    void exportPages(const QString& path, const TrendPicture& picture, const TrendChart& chart,
                     const QString& check);
    void exportFailed(const QString& reason);
    // The mark check's lines, then the uniformity check's: what the exports write under the chart.
    QString checkTexts() const;

    Host host_;
    TrendModel* model_;
    TrendFooterModel* footerModel_;
    std::shared_ptr<const TrendChart> chart_;
    QString archive_;         // the archive of the chart shown
    bool spanPicked_ = false; // until the user picks a span, W follows the analysis depth
    bool showNewest_ = false; // the chart just built keeps its newest row in view as it is laid out
    QWidget* spanRow_;        // 统计期数 and its list
    ui::ChoiceCombo* spanCombo_;
    TrendGrid* chartGrid_;
    ui::FrozenColumnsTable* footerGrid_;
    QScrollArea* texts_; // the wrapped texts under the footers
    QVBoxLayout* textsLayout_;
    QHBoxLayout* buttonLayout_;
    QLabel* checkLabel_;
    QLabel* fairLabel_; // 均匀性检验
    QWidget* buttonRow_;
    QPushButton* csvButton_;
    QPushButton* pngButton_;
    QPushButton* scanButton_;
    QLabel* statusLabel_; // what the last export wrote
};

} // namespace dravik
