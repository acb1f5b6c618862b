#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <memory>
#include <vector>

namespace dravik {

// The window length that takes every archive draw (全部).
inline constexpr int kWholeArchive = 0;

// How many draws a window of `window` (kWholeArchive: all) takes from an archive of `archiveDraws`.
int windowLength(int archiveDraws, int window);

// The most cells (draws × groups) a chart is built with. A hand-edited settings file may make X as
// large as 10,000 with one label a group: over a long archive that would be billions of cells, more
// than memory holds, for a chart no one could read. The mark check's work grows alike.
inline constexpr qint64 kMaxTrendCells = 10'000'000;
bool trendChartFits(int rows, int groups);

// The long-run figures of one group over the window, in the order of the footer rows.
struct TrendFigures {
    int hits = 0;              // 出现次数: the numbers of the window's draws that fell on the group
    qint64 expectedTenths = 0; // 理论次数 in tenths, halves up: W' · K · (labels of the group) / X
    int averageOmission = 0; // 平均遗漏: (W' − d) div (d + 1), d the window's draws that hit the group
    int longestOmission = 0; // 最大遗漏, in draws
    int longestRun = 0;      // 最大连出, in draws
    int currentOmission = 0; // 当前遗漏, in draws
};

enum class TrendFooter { Hits, Expected, AverageOmission, LongestOmission, LongestRun, CurrentOmission };
inline constexpr int kTrendFooterCount = 6;

// One number of a row's draw that falls on a group: where it stands in the row's record line.
struct TrendHit {
    int group;
    int start, length;
};

// The 走势 chart of a window of draws: one row per draw of the window, oldest first, and one column
// per group in the table's row order. A draw holds numbersPerDraw numbers (drawNumbersIn).
struct TrendChart {
    QStringList groups;        // the group texts
    QStringList lines;         // the window's record lines, oldest first
    int numbersPerDraw = 1;    // K
    std::vector<int> hitGroup; // per row: the lowest group its draw hits, −1 for none
    // Rows × groups, row by row: draws since the group was last hit, counted over the whole archive;
    // 0 exactly where the row's draw hits the group. Not zeroed first: every cell is written once.
    std::unique_ptr<int[]> omissions;
    // The numbers of row r that hit a group are hitNumbers[hitStart[r]] up to hitStart[r + 1], in the
    // order they stand in the record (a number in several groups once for each, ascending).
    std::vector<std::size_t> hitStart;
    std::vector<TrendHit> hitNumbers;
    std::vector<TrendFigures> figures; // per group, over the window only

    int rowCount() const { return int(lines.size()); }
    int groupCount() const { return int(groups.size()); }
    QString period(int row) const;
    // The 号码 column: the record's number text as it stands.
    QString number(int row) const;
    int omission(int row, int group) const { return omissions[std::size_t(row) * groups.size() + group]; }
    bool hits(int row, int group) const { return omission(row, group) == 0; }
    // How many of the row's numbers fall on the group (0 where it misses).
    int hitCount(int row, int group) const;
    // What a cell of the chart shows: where the draw hits the group, its number when one of its
    // numbers is in the group, their count when several are; elsewhere the omission.
    QString cellText(int row, int group) const;
    // What a cell stands for, for its accessible text, its tooltip and the CSV: where the draw hits
    // the group, the numbers in the group in record order joined by one blank; elsewhere the
    // omission. With one number a draw it is cellText.
    QString cellNumbersText(int row, int group) const;
    // The line joining the balls of consecutive rows is drawn for one number a draw only.
    bool drawsTrendLine() const { return numbersPerDraw == 1; }
};

// The chart of the latest `window` draws (all of them for kWholeArchive or when the archive holds
// fewer) of the archive's record lines, oldest first, for the groups of a table whose universe holds
// `labelCount` labels and draws of k numbers. Each line is read as the analysis reads it.
TrendChart buildTrendChart(const QStringList& archiveLines, const QStringList& groupTexts, int labelCount,
                           int window, int k = 1);

// The footer row names ("出现次数", …) and a footer cell's text.
QString trendFooterName(TrendFooter footer);
QString trendFooterText(const TrendFigures& figures, TrendFooter footer);

} // namespace dravik
