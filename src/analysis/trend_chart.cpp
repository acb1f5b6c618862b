#include "analysis/trend_chart.h"

#include "analysis/draw_numbers.h"
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

int TrendChart::hitCount(int row, int group) const {
    if (!hits(row, group))
        return 0;
    int count = 0;
    for (std::size_t h = hitStart[row]; h < hitStart[row + 1]; ++h)
        count += hitNumbers[h].group == group ? 1 : 0;
    return count;
}

QString TrendChart::cellText(int row, int group) const {
    if (!hits(row, group))
        return QString::number(omission(row, group));
    const int count = hitCount(row, group);
    return count == 1 ? cellNumbersText(row, group) : QString::number(count);
}

QString TrendChart::cellNumbersText(int row, int group) const {
    if (!hits(row, group))
        return QString::number(omission(row, group));
    const QStringView line = lines[row];
    QString text;
    for (std::size_t h = hitStart[row]; h < hitStart[row + 1]; ++h) {
        const TrendHit& hit = hitNumbers[h];
        if (hit.group != group)
            continue;
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += line.sliced(hit.start, hit.length);
    }
    return text;
}

TrendChart buildTrendChart(const QStringList& archiveLines, const QStringList& groupTexts, int labelCount,
                           int window, int k) {
    k = std::max(k, 1);
    const int total = int(archiveLines.size());
    const int rows = windowLength(total, window);
    const int first = total - rows;
    const int groups = int(groupTexts.size());

    TrendChart chart;
    chart.groups = groupTexts;
    chart.lines = archiveLines.mid(first);
    chart.numbersPerDraw = k;
    chart.hitGroup.assign(rows, -1);
    chart.hitStart.reserve(std::size_t(rows) + 1);
    chart.hitStart.push_back(0);
    chart.figures.resize(groups);

    GroupMatcher matcher(groupTexts);
    DrawNumberReader reader(k);
    // Archive index of each group's latest hit so far; −1 before any, so that a group never hit counts
    // from the archive's first draw.
    std::vector<int> lastHit(groups, -1);
    for (int i = 0; i < first; ++i) {
        reader.forEachNumber(drawNumberIn(archiveLines[i]), [&](const DrawNumber& number) {
            for (const int g : matcher.rowsHitBy(number))
                lastHit[g] = i;
        });
    }

    // Each group's walk down the window, which changes at hits only: the window row of its latest
    // hit (−1 before any) and the figures so far.
    struct GroupWalk {
        int lastRowHit = -1;
        int run = 0;
        int drawsHit = 0;
        int hits = 0;
        int longestOmission = 0;
        int longestRun = 0;
    };
    std::vector<GroupWalk> walks(groups);
    std::vector<TrendHit> hitNumbers;
    hitNumbers.reserve(std::size_t(rows) * std::size_t(k));
    chart.omissions.reset(new int[std::size_t(rows) * groups]);
    for (int r = 0; r < rows; ++r) {
        int* const cells = chart.omissions.get() + std::size_t(r) * groups;
        writeRow(lastHit.data(), first + r, cells, groups);
        const QStringView line = archiveLines[first + r];
        // The numbers of the draw and their groups first, then what the hits change: two short
        // loops, each with few values to keep at hand.
        const std::size_t rowStart = hitNumbers.size();
        reader.forEachNumber(drawNumberIn(line), [&](const DrawNumber& number) {
            const int start = int(number.text.data() - line.data());
            for (const int g : matcher.rowsHitBy(number))
                hitNumbers.push_back({g, start, int(number.text.size())});
        });
        // Whether a hit is the draw's first in its group, and whether the group was hit the draw
        // before, follow the draws and cannot be foreseen: each step is worked out for every hit
        // without a branch. A later number of the draw in g sees g's latest hit in this row (a gap
        // of −1), which leaves every figure but the count of numbers as it is.
        for (std::size_t h = rowStart; h < hitNumbers.size(); ++h) {
            const int g = hitNumbers[h].group;
            GroupWalk& walk = walks[g];
            const int gap = r - walk.lastRowHit - 1;
            ++walk.hits;
            walk.drawsHit += int(gap >= 0);
            walk.longestOmission = std::max(walk.longestOmission, gap);
            // Kept when the group was hit the draw before (gap 0) or this draw (gap −1).
            walk.run = (walk.run & -int(gap <= 0)) + int(gap >= 0);
            walk.longestRun = std::max(walk.longestRun, walk.run);
            walk.lastRowHit = r;
            cells[g] = 0;
            lastHit[g] = first + r;
        }
        unsigned lowestHit = ~0u; // as an int −1: no hit
        for (std::size_t h = rowStart; h < hitNumbers.size(); ++h)
            lowestHit = std::min(lowestHit, unsigned(hitNumbers[h].group));
        chart.hitStart.push_back(hitNumbers.size());
        chart.hitGroup[r] = int(lowestHit);
    }
    chart.hitNumbers = std::move(hitNumbers);

    for (int g = 0; g < groups; ++g) {
        const GroupWalk& walk = walks[g];
        TrendFigures& f = chart.figures[g];
        f.hits = walk.hits;
        f.longestRun = walk.longestRun;
        f.currentOmission = rows - 1 - walk.lastRowHit;
        f.longestOmission = std::max(walk.longestOmission, f.currentOmission);
        f.averageOmission = (rows - walk.drawsHit) / (walk.drawsHit + 1);
        // W' · K · labels / X, in tenths.
        const qint64 labels = labelSet(groupTexts[g]).size();
        f.expectedTenths = labelCount > 0 ? roundedQuotient(10 * qint64(rows) * k * labels, labelCount) : 0;
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
