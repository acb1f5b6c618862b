#pragma once

#include "analysis/trend_chart.h"
#include "ui/frozen_table.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <memory>

namespace dravik {

// The trend chart as a table model: "期数", "号码", then one column per group ("1", "2", …, with the
// group text as tooltip and accessible description). Cells are read from the chart when shown, so a
// long window costs no item per cell.
class TrendModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kFixedColumns = 2;
    // True in a group cell whose row's draw hits the group: the view paints a ball there.
    static constexpr int kHitRole = Qt::UserRole + 1;

    explicit TrendModel(QObject* parent = nullptr);

    void setChart(std::shared_ptr<const TrendChart> chart);
    const TrendChart& chart() const { return *chart_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<const TrendChart> chart_;
};

// The six footer rows of the same chart, in the same columns: the figure's name, an empty 号码 cell,
// one value per group.
class TrendFooterModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TrendFooterModel(QObject* parent = nullptr);

    void setChart(std::shared_ptr<const TrendChart> chart);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<const TrendChart> chart_;
};

// Leaves the text out of hit cells: the view paints the ball there, over the trend line.
class TrendCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// Grid_trend: the chart with its first two columns held in place, and the trend line and the balls
// painted over the cells.
class TrendGrid : public ui::FrozenColumnsTable {
    Q_OBJECT
public:
    explicit TrendGrid(TrendModel* model, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TrendModel* model_;
};

} // namespace dravik
