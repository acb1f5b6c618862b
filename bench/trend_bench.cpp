// The trend chart against the floor of writing its cells into a plain int array, and the mark check
// over a long history; each of one number a draw (K:1) and of six (K:6) over the same groups: the 60
// one-number groups of X = 60, and for 33 numbers (双色球's red balls) the 33 one-number groups and
// the three zones of 11.
#include "analysis/analysis_run.h"
#include "analysis/mark_check.h"
#include "analysis/trend_chart.h"
#include "random_archive.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace dravik;

namespace {

constexpr int kDraws = bench::kArchiveDraws;
constexpr int kGroups = 60;

const QStringList& archiveLines(int k, int x) {
    return bench::randomArchive(k, x);
}

// The groups of X ÷ A in sequential rows, numbers from 1.
QStringList groupsOf(int x, int a) {
    return analysisGroups(QString::number(x), QString::number(a), QString::number(x / a), QStringLiteral("0"),
                          1, DisplayMode::Sequential)
        .groups;
}

// Arguments: K, X, A.
void settings(benchmark::internal::Benchmark* b) {
    b->ArgNames({"K", "X", "A"});
    for (const auto& [x, a] : {std::pair{60, 60}, std::pair{33, 33}, std::pair{33, 3}}) {
        b->Args({1, x, a});
        b->Args({6, x, a});
    }
}

void BM_TrendChart(benchmark::State& state) {
    const int k = int(state.range(0));
    const int x = int(state.range(1));
    const QStringList& lines = archiveLines(k, x);
    const QStringList groups = groupsOf(x, int(state.range(2)));
    for (auto _ : state) {
        TrendChart chart = buildTrendChart(lines, groups, x, kWholeArchive, k);
        benchmark::DoNotOptimize(chart.omissions.get());
    }
    state.SetItemsProcessed(state.iterations() * kDraws * groups.size());
}
BENCHMARK(BM_TrendChart)->Apply(settings)->Unit(benchmark::kMicrosecond);

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
    const int k = int(state.range(0));
    const int x = int(state.range(1));
    const QStringList& lines = archiveLines(k, x);
    const QStringList groups = groupsOf(x, int(state.range(2)));
    for (auto _ : state)
        benchmark::DoNotOptimize(checkMarks(lines, groups, x, 100, kWholeArchive, k));
}
BENCHMARK(BM_MarkCheck)->Apply(settings)->Unit(benchmark::kMillisecond);

} // namespace
