#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTableWidget;
class QTableWidgetItem;
class QWidget;

namespace dravik::ui {

// A read-only table as the window shows them: a header row, fixed columns, rows 30 high, whole-row
// selection, row lines, no scroll bars and no row header.
QTableWidget* makeStringGrid(const QString& name, const QStringList& headers, const QList<int>& widths,
                             QWidget* parent);

// A cell of such a table: centred, "微软雅黑" 15 points, dodger blue, selectable but not editable.
QTableWidgetItem* gridCell(const QString& text);

} // namespace dravik::ui
