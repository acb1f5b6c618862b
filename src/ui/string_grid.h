#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTableView;
class QTableWidget;
class QTableWidgetItem;
class QWidget;

namespace dravik::ui {

// A read-only table as the window shows them: a header row, fixed columns, rows 30 high, whole-row
// selection, row lines, no scroll bars and no row header.
QTableWidget* makeStringGrid(const QString& name, const QStringList& headers, const QList<int>& widths,
                             QWidget* parent);

// The look and keys such a table has, for any table view: rows of a fixed height, fixed columns, no
// row header, no editing, no frame, Tab leaving the table, the header and selection colours.
void styleTable(QTableView* table, int rowHeight);

// A cell of such a table: centred, "微软雅黑" 15 points, dodger blue, selectable but not editable.
QTableWidgetItem* gridCell(const QString& text);

// A cell whose text is cut short to fit its column shows the whole text as its tooltip (a cell with a
// tooltip of its own keeps that).
void showCutTextsAsToolTips(QTableView* table);

} // namespace dravik::ui
