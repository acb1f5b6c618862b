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

// The least room a cell leaves beside its text, both sides together: as the chart was designed, and
// in the group columns of a chart of several numbers a draw, 33 or 35 of which must stand side by side
// (the style's own margins still apply where they are wider).
inline constexpr int kTrendCellPadding = 12;
inline constexpr int kTrendNarrowPadding = 6;

// The column widths of a chart: wide enough for the longest text of each kind it holds.
struct TrendColumns {
    int period = 0, number = 0, group = 0;
    int width(int column) const { return column == 0 ? period : column == 1 ? number : group; }
};
// The width a text needs in a cell of one kind with at least `padding` of room beside it: the font in
// use there decides it, which need not be the same for the header, the columns held in place and the
// others.
using TrendTextFit = std::function<int(const QString& text, int padding)>;
struct TrendTextFits {
    TrendTextFit caption; // the header row: "期数", "号码", the groups' indexes
    TrendTextFit fixed;   // the 期数 and 号码 cells: periods, numbers, the footers' names
    TrendTextFit group;   // the group cells: omissions, the balls' numbers, the footers' values
};
// The columns of a chart shown with those fits: each as wide as its widest text. A group column's
// widest is that of its header, omissions, footer values and what its balls show: for one number a
// draw the draw number (and it is as wide as the 号码 column at least, whose numbers they are), for
// several one number or a count.
TrendColumns trendColumns(const TrendChart& chart, const TrendTextFits& fits);
// The columns of the exported picture, which is drawn in trendFont() throughout.
TrendColumns trendColumns(const TrendChart& chart);

QColor trendOmissionColour();
// The font of the chart's cells.
QFont trendFont();

// The marks of the rows in [firstRow, lastRow] for a chart whose cell (row, group) lies at
// cellRect(row, group): red balls with the numbers drawn, orange rounded squares with counts (several
// numbers of a draw in one group), and for one number a draw the trend line joining the balls of
// consecutive rows under them.
void paintTrendMarks(QPainter& painter, const TrendChart& chart, int firstRow, int lastRow,
                     const std::function<QRectF(int row, int group)>& cellRect);

// The whole chart as drawn, every row and column of the window, with its footers and the mark check
// under them, as exported: its measures and how it is cut into pages. It has twice as many pixels each
// way as its logical size (as many where twice its width would pass the raster engine's 32,767). A
// picture taller than that is cut at row lines into pages, in order, each as tall as the limit lets
// it be, the mark check never cut, and every page after the first begins with the header row again.
struct TrendPicture {
    TrendColumns columns;
    QSize size; // logical pixels, the header row once
    int pixelRatio = 2;
    // Page k shows the picture's rows from breaks[k] to breaks[k + 1] (logical pixels), under the header
    // row for k > 0.
    QList<int> breaks;

    int pageCount() const { return int(breaks.size()) - 1; }
    QSize pageSize(int page) const; // logical pixels
};
// Nothing, with the reason, when the picture cannot be made (too wide).
std::optional<TrendPicture> planTrendPicture(const TrendChart& chart, const QString& check, QString* reason);
// One page as a PNG file; nothing, with the reason, when it cannot be made (no memory).
std::optional<QByteArray> trendPicturePage(const TrendPicture& picture, const TrendChart& chart,
                                           const QString& check, int page, QString* reason);
// The picture's logical size, the header row once.
QSize trendPictureSize(const TrendChart& chart, const QString& check);

// Where the pages go when the user chose `path`: there, for one page; else numbered files beside it
// ("a-走势.png" gives "a-走势-1.png", "a-走势-2.png", …).
QStringList trendPagePaths(const QString& path, int pages);
// Page `page` (1-based) of a picture of several pages.
QString trendPagePath(const QString& path, int page);
// The file names of some pages (1-based, ascending) as a user reads them: pages in a row as
// "a-1.png … a-3.png", the others one by one, joined by "、".
QString trendPageNames(const QString& path, const QList<int>& pages);

// The picture's page tops in logical pixels for pages of at most `limit`, then its height: the
// header row, each chart and footer row and the mark check (`checkHeight`) stay whole, and every
// page after the first has the header row's height less for them.
QList<int> trendPageBreaks(int rows, int checkHeight, int limit);

} // namespace dravik
