#include "ui/string_grid.h"

#include "ui/ui_style.h"

#include <QHeaderView>
#include <QTableWidget>

namespace dravik::ui {

QTableWidget* makeStringGrid(const QString& name, const QStringList& headers, const QList<int>& widths,
                             QWidget* parent) {
    auto* grid = new QTableWidget(0, int(headers.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headers);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(30);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setHighlightSections(false);
    for (int column = 0; column < widths.size(); ++column)
        grid->setColumnWidth(column, widths.at(column));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setShowGrid(true);
    // Tab leaves the table for the next control; the arrow keys move between rows.
    grid->setTabKeyNavigation(false);
    grid->setFrameShape(QFrame::NoFrame);
    // Columns narrower than the table leave header space that should not look like a blank section.
    grid->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView { background: white; }"));
    grid->setStyleSheet(QStringLiteral("QTableWidget { gridline-color: #D6E4F5; }"
                                       "QTableWidget::item:selected { background: #E3F0FF; color: %1; }")
                            .arg(cssColor(kDodgerBlue)));
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

} // namespace dravik::ui
