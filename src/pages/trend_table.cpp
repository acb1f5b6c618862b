#include "pages/trend_table.h"

#include "pages/trend_picture.h"
#include "ui/ui_style.h"

#include <QApplication>
#include <QPainter>

namespace dravik {

namespace {

std::shared_ptr<const TrendChart> emptyChart() {
    static const auto empty = std::make_shared<const TrendChart>();
    return empty;
}

} // namespace

TrendColumnsModel::TrendColumnsModel(QObject* parent) : QAbstractTableModel(parent), chart_(emptyChart()) {}

void TrendColumnsModel::setChart(std::shared_ptr<const TrendChart> chart) {
    beginResetModel();
    chart_ = chart ? std::move(chart) : emptyChart();
    endResetModel();
}

int TrendColumnsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFixedColumns + chart_->groupCount();
}

QVariant TrendColumnsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (section < kFixedColumns)
        return role == Qt::DisplayRole
                   ? QVariant(section == 0 ? QStringLiteral("期数") : QStringLiteral("号码"))
                   : QVariant();
    const int group = section - kFixedColumns;
    switch (role) {
    case Qt::DisplayRole:
        return QString::number(group + 1);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return chart_->groups.value(group);
    default:
        return {};
    }
}

int TrendModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : chart().rowCount();
}

QVariant TrendModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int group = index.column() - kFixedColumns;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        if (index.column() == 0)
            return chart().period(row);
        if (index.column() == 1)
            return chart().number(row);
        // A ball that counts several numbers is read out as the numbers it counts.
        return role == Qt::DisplayRole ? chart().cellText(row, group) : chart().cellNumbersText(row, group);
    case Qt::ToolTipRole:
        if (group >= 0 && !chart().drawsTrendLine() && chart().hits(row, group))
            return chart().cellNumbersText(row, group);
        return {};
    case kHitRole:
        return group >= 0 && chart().hits(row, group);
    case Qt::ForegroundRole:
        return group >= 0 ? trendOmissionColour() : ui::kText;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

int TrendFooterModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kTrendFooterCount;
}

QVariant TrendFooterModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const auto footer = TrendFooter(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        if (index.column() == 0)
            return trendFooterName(footer);
        if (index.column() == 1)
            return QString();
        return trendFooterText(chart().figures[index.column() - kFixedColumns], footer);
    case Qt::ForegroundRole:
        return ui::kText;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

void TrendCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    if (!index.data(TrendModel::kHitRole).toBool()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);
}

TrendGrid::TrendGrid(TrendModel* model, QWidget* parent)
    : ui::FrozenColumnsTable(TrendModel::kFixedColumns, parent), model_(model) {
    setModel(model);
    setItemDelegate(new TrendCellDelegate(this));
}

void TrendGrid::paintEvent(QPaintEvent* event) {
    ui::FrozenColumnsTable::paintEvent(event);
    const TrendChart& chart = model_->chart();
    if (chart.rowCount() == 0)
        return;
    QPainter painter(viewport());
    painter.setFont(font());
    const int first = std::max(rowAt(0), 0);
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = chart.rowCount() - 1;
    // One row more each way: the line from a row just out of view still crosses the edge.
    paintTrendMarks(painter, chart, first - 1, last + 1, [this](int row, int group) {
        return QRectF(visualRect(model_->index(row, TrendModel::kFixedColumns + group)));
    });
}

} // namespace dravik
