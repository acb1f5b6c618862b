// The trend chart against the floor of writing its cells into a plain int array, and the mark check
// over a long history.
#include "analysis/analysis_run.h"
#include "analysis/mark_check.h"
#include "analysis/trend_chart.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <memory>

using namespace dravik;

namespace {

constexpr int kDraws = 10000;
constexpr int kGroups = 60;

// 10,000 record lines (period 7 digits, number 01..60) and the 60 one-label groups of X = 60, A = 60.
const QStringList& archiveLines() {
    static const QStringList lines = [] {
        QStringList result;
        QRandomGenerator random(42);
        for (int i = 0; i < kDraws; ++i) {
            const int number = int(random.bounded(kGroups)) + 1;
            result.append(QStringLiteral("%1.%2").arg(2000000 + i).arg(number, 2, 10, QLatin1Char('0')));
        }
        return result;
    }();
    return lines;
}

const QStringList& sixtyGroups() {
    static const QStringList groups =
        analysisGroups(QStringLiteral("60"), QStringLiteral("60"), QStringLiteral("1"), QStringLiteral("0"),
                       1, DisplayMode::Sequential)
            .groups;
    return groups;
}

void BM_TrendChart(benchmark::State& state) {
    const QStringList& lines = archiveLines();
    const QStringList& groups = sixtyGroups();
    for (auto _ : state) {
        TrendChart chart = buildTrendChart(lines, groups, kGroups, kWholeArchive);
        benchmark::DoNotOptimize(chart.omissions.get());
    }
    state.SetItemsProcessed(state.iterations() * kDraws * kGroups);
}
BENCHMARK(BM_TrendChart)->Unit(benchmark::kMicrosecond);

// The floor: every cell of the chart has to be written once, here with the least work that still
// depends on the row and the column.
void BM_TrendFloor(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<int[]> cells(new int[std::size_t(kDraws) * kGroups]);
        for (int r = 0; r < kDraws; ++r) {
            int* row = cells.get() + std::size_t(r) * kGroups;
            for (int g = 0; g < kGroups; ++g)
                row[g] = r - g;
        }
        benchmark::DoNotOptimize(cells.get());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kDraws * kGroups);
}
BENCHMARK(BM_TrendFloor)->Unit(benchmark::kMicrosecond);

void BM_MarkCheck(benchmark::State& state) {
    const QStringList& lines = archiveLines();
    const QStringList& groups = sixtyGroups();
    for (auto _ : state)
        benchmark::DoNotOptimize(checkMarks(lines, groups, kGroups, 100, kWholeArchive));
}
BENCHMARK(BM_MarkCheck)->Unit(benchmark::kMillisecond);

} // namespace
