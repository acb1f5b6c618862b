#pragma once

#include "analysis/trend_chart.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
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
// check under them: its logical size, and the picture as PNG files. The picture has twice that many
// pixels each way where they fit the raster engine's 32,767, else as many; a picture taller than that
// still is cut at row lines into pages, in order, each as tall as the limit lets it be, the mark
// check never cut. Nothing, with the reason, when the picture cannot be made (too wide, no memory).
QSize trendPictureSize(const TrendChart& chart, const QString& check);
struct TrendPictures {
    QList<QByteArray> pages;
    int pixelRatio = 2;
};
std::optional<TrendPictures> trendPngs(const TrendChart& chart, const QString& check, QString* reason);

// Where the pages go when the user chose `path`: there, for one page; else numbered files beside it
// ("a-走势.png" gives "a-走势-1.png", "a-走势-2.png", …).
QStringList trendPagePaths(const QString& path, int pages);

// The picture's page tops in logical pixels for pages of at most `limit`, then its height: the
// header row, each chart and footer row and the mark check (`checkHeight`) stay whole.
QList<int> trendPageBreaks(int rows, int checkHeight, int limit);

} // namespace dravik
