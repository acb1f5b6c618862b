#pragma once

#include "analysis/trend_chart.h"
#include "ui/frozen_table.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <memory>

namespace dravik {

// A table over a trend chart's columns: "期数", "号码", then one per group ("1", "2", …, with the group
// text as tooltip and accessible description).
class TrendColumnsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kFixedColumns = 2;

    explicit TrendColumnsModel(QObject* parent = nullptr);

    void setChart(std::shared_ptr<const TrendChart> chart);
    const TrendChart& chart() const { return *chart_; }

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<const TrendChart> chart_;
};

// The chart's rows, read from the chart when shown, so a long window costs no item per cell.
class TrendModel : public TrendColumnsModel {
    Q_OBJECT
public:
    // True in a group cell whose row's draw hits the group: the view paints a ball there.
    static constexpr int kHitRole = Qt::UserRole + 1;

    using TrendColumnsModel::TrendColumnsModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
};

// The six footer rows of the same chart: the figure's name, an empty 号码 cell, one value per group.
class TrendFooterModel : public TrendColumnsModel {
    Q_OBJECT
public:
    using TrendColumnsModel::TrendColumnsModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
};

// Leaves the text out of hit cells: the view paints the ball there, over the trend line.
class TrendCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The chart table: the chart with its first two columns held in place, and the trend line and the balls
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
