#include "analysis/trend_chart.h"

#include "analysis/group_match.h"
#include "analysis/group_statistics.h"
#include "analysis/tenths.h"
#include "storage/record_order.h"

#include <algorithm>
#include <cstring>

namespace dravik {

namespace {

// A row of omissions: for each group, the draws since its latest hit. The cells are most of the
// chart's cost, so they go four at a time in the compilers' vector type (plain loops are vectorised
// at -O3 but not at -O2, and differently by each compiler); the tail one by one.
void writeRow(const int* lastHit, int index, int* cells, int groups) {
    using FourInts = int __attribute__((vector_size(16)));
    int g = 0;
    for (; g + 4 <= groups; g += 4) {
        FourInts last;
        std::memcpy(&last, lastHit + g, sizeof last);
        const FourInts row = index - last;
        std::memcpy(cells + g, &row, sizeof row);
    }
    for (; g < groups; ++g)
        cells[g] = index - lastHit[g];
}

} // namespace

int windowLength(int archiveDraws, int window) {
    return window <= kWholeArchive || window > archiveDraws ? archiveDraws : window;
}

bool trendChartFits(int rows, int groups) {
    return qint64(rows) * qint64(groups) <= kMaxTrendCells;
}

QString TrendChart::period(int row) const {
    return periodOf(lines[row]);
}

QString TrendChart::number(int row) const {
    return drawNumberOf(lines[row]);
}

QString TrendChart::cellText(int row, int group) const {
    return hits(row, group) ? number(row) : QString::number(omission(row, group));
}

TrendChart buildTrendChart(const QStringList& archiveLines, const QStringList& groupTexts, int labelCount,
                           int window) {
    const int total = int(archiveLines.size());
    const int rows = windowLength(total, window);
    const int first = total - rows;
    const int groups = int(groupTexts.size());

    TrendChart chart;
    chart.groups = groupTexts;
    chart.lines = archiveLines.mid(first);
    chart.hitGroup.assign(rows, -1);
    chart.figures.resize(groups);

    GroupMatcher matcher(groupTexts);
    // Archive index of each group's latest hit so far; −1 before any, so that a group never hit counts
    // from the archive's first draw.
    std::vector<int> lastHit(groups, -1);
    for (int i = 0; i < first; ++i) {
        for (const int g : matcher.rowsHitBy(drawNumberIn(archiveLines[i])))
            lastHit[g] = i;
    }

    // The window row of each group's latest hit, −1 before any, keeps the footers, which change at
    // hits only.
    chart.omissions.reset(new int[std::size_t(rows) * groups]);
    std::vector<int> lastRowHit(groups, -1);
    std::vector<int> run(groups, 0);
    for (int r = 0; r < rows; ++r) {
        int* cells = chart.omissions.get() + std::size_t(r) * groups;
        writeRow(lastHit.data(), first + r, cells, groups);
        const std::vector<int>& hit = matcher.rowsHitBy(drawNumberIn(archiveLines[first + r]));
        if (!hit.empty())
            chart.hitGroup[r] = hit.front();
        for (const int g : hit) {
            cells[g] = 0;
            lastHit[g] = first + r;
            TrendFigures& f = chart.figures[g];
            ++f.hits;
            f.longestOmission = std::max(f.longestOmission, r - lastRowHit[g] - 1);
            run[g] = lastRowHit[g] == r - 1 ? run[g] + 1 : 1;
            f.longestRun = std::max(f.longestRun, run[g]);
            lastRowHit[g] = r;
        }
    }

    for (int g = 0; g < groups; ++g) {
        TrendFigures& f = chart.figures[g];
        f.currentOmission = rows - 1 - lastRowHit[g];
        f.longestOmission = std::max(f.longestOmission, f.currentOmission);
        f.averageOmission = (rows - f.hits) / (f.hits + 1);
        // W' · labels / X, in tenths.
        const qint64 labels = labelSet(groupTexts[g]).size();
        f.expectedTenths = labelCount > 0 ? int(roundedQuotient(10 * qint64(rows) * labels, labelCount)) : 0;
    }
    return chart;
}

QString trendFooterName(TrendFooter footer) {
    switch (footer) {
    case TrendFooter::Hits:
        return QStringLiteral("出现次数");
    case TrendFooter::Expected:
        return QStringLiteral("理论次数");
    case TrendFooter::AverageOmission:
        return QStringLiteral("平均遗漏");
    case TrendFooter::LongestOmission:
        return QStringLiteral("最大遗漏");
    case TrendFooter::LongestRun:
        return QStringLiteral("最大连出");
    case TrendFooter::CurrentOmission:
        return QStringLiteral("当前遗漏");
    }
    return QString();
}

QString trendFooterText(const TrendFigures& f, TrendFooter footer) {
    switch (footer) {
    case TrendFooter::Hits:
        return QString::number(f.hits);
    case TrendFooter::Expected:
        return tenthsText(f.expectedTenths);
    case TrendFooter::AverageOmission:
        return QString::number(f.averageOmission);
    case TrendFooter::LongestOmission:
        return QString::number(f.longestOmission);
    case TrendFooter::LongestRun:
        return QString::number(f.longestRun);
    case TrendFooter::CurrentOmission:
        return QString::number(f.currentOmission);
    }
    return QString();
}

} // namespace dravik
