#include "ui/string_grid.h"

#include "ui/ui_style.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QTableWidget>
#include <QToolTip>

namespace dravik::ui {

namespace {

class CutTextToolTips : public QObject {
public:
    explicit CutTextToolTips(QTableView* table) : QObject(table), table_(table) {
        table->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return QObject::eventFilter(watched, event);
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = table_->indexAt(help->pos());
        if (!index.isValid() || !index.data(Qt::ToolTipRole).isNull() || !isCut(index))
            return QObject::eventFilter(watched, event);
        QToolTip::showText(help->globalPos(), index.data().toString(), table_->viewport(),
                           table_->visualRect(index));
        return true;
    }

private:
    // As the item delegate draws the text: in the cell less the style's margin each side, elided
    // where it is wider.
    bool isCut(const QModelIndex& index) const {
        const QVariant font = index.data(Qt::FontRole);
        const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : table_->font(), table_->viewport());
        const int margin = table_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table_) + 1;
        return metrics.horizontalAdvance(index.data().toString()) >
               table_->visualRect(index).width() - 2 * margin;
    }

    QTableView* table_;
};

} // namespace

void styleTable(QTableView* table, int rowHeight) {
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Columns keep the widths they are given. Qt's least width is the header font's widest character
    // plus margins, which some fonts (those of Chinese Windows) make wider than the narrow columns.
    table->horizontalHeader()->setMinimumSectionSize(0);
    table->horizontalHeader()->setHighlightSections(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setShowGrid(true);
    // Tab leaves the table for the next control; the arrow keys move between rows.
    table->setTabKeyNavigation(false);
    table->setFrameShape(QFrame::NoFrame);
    // Columns narrower than the table leave header space that should not look like a blank section.
    table->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView { background: white; }"));
    table->setStyleSheet(QStringLiteral("QTableView { gridline-color: #D6E4F5; }"
                                        "QTableView::item:selected { background: #E3F0FF; color: %1; }")
                             .arg(cssColor(kDodgerBlue)));
}

QTableWidget* makeStringGrid(const QString& name, const QStringList& headers, const QList<int>& widths,
                             QWidget* parent) {
    auto* grid = new QTableWidget(0, int(headers.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headers);
    styleTable(grid, 30);
    for (int column = 0; column < widths.size(); ++column)
        grid->setColumnWidth(column, widths.at(column));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

QTableWidgetItem* gridCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFont(uiFont(15));
    item->setForeground(kDodgerBlue);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void showCutTextsAsToolTips(QTableView* table) {
    new CutTextToolTips(table);
}

} // namespace dravik::ui
