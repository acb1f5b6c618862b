#pragma once

#include "analysis/trend_chart.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QPainter;

namespace dravik {

// The chart's measures, shared by the tab's tables and the exported picture.
inline constexpr int kTrendRowHeight = 22;
inline constexpr int kTrendHeaderHeight = 24;

// The column widths of a chart: wide enough for the longest text of each kind it holds.
struct TrendColumns {
    int period = 0, number = 0, group = 0;
    int width(int column) const { return column == 0 ? period : column == 1 ? number : group; }
};
TrendColumns trendColumns(const TrendChart& chart);

QColor trendOmissionColour();
// The font of the chart's cells.
QFont trendFont();

// The trend line joining the balls of consecutive rows in [firstRow, lastRow], then the balls over
// it, for a chart whose cell (row, group) lies at cellRect(row, group).
void paintTrendMarks(QPainter& painter, const TrendChart& chart, int firstRow, int lastRow,
                     const std::function<QRectF(int row, int group)>& cellRect);

// The whole chart as drawn, every row and column of the window, with its footers and the mark
// check under them: its logical size and the PNG at twice that many pixels each way. Nothing, with
// the reason, when the picture cannot be made.
QSize trendPictureSize(const TrendChart& chart, const QString& check);
std::optional<QByteArray> trendPng(const TrendChart& chart, const QString& check, QString* reason);

} // namespace dravik
