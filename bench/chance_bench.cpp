// The history against chance over a 10,000-draw archive: the scan of every grouping (全部分组回测)
// against running the mark check of each setting on its own, and the uniformity check. One number a
// draw out of 36 (the built-in game, K:1) and six out of 33 (双色球's red balls, K:6).
#include "analysis/analysis_run.h"
#include "analysis/grouping_scan.h"
#include "analysis/mark_check.h"
#include "analysis/number_labels.h"
#include "analysis/trend_chart.h"
#include "analysis/uniformity_check.h"
#include "random_archive.h"

#include <benchmark/benchmark.h>

using namespace dravik;

namespace {

// Arguments: K, X.
void games(benchmark::internal::Benchmark* b) {
    b->ArgNames({"K", "X"});
    b->Args({1, 36});
    b->Args({6, 33});
}

void BM_GroupingScan(benchmark::State& state) {
    const int k = int(state.range(0));
    const int x = int(state.range(1));
    const QStringList& lines = bench::randomArchive(k, x);
    for (auto _ : state)
        benchmark::DoNotOptimize(scanReport(*scanGroupings(lines, x, 1, k)));
    state.counters["settings"] = double(scanSettings(x).size());
}
BENCHMARK(BM_GroupingScan)->Apply(games)->Unit(benchmark::kMillisecond);

// The same checks, each setting's from the record lines afresh, as running checkMarks M times would.
void BM_GroupingScanEachAlone(benchmark::State& state) {
    const int k = int(state.range(0));
    const int x = int(state.range(1));
    const QStringList& lines = bench::randomArchive(k, x);
    const QStringList labels = buildLabels(x, 1);
    for (auto _ : state) {
        for (const ScanSetting& s : scanSettings(x)) {
            const QStringList groups = groupLabels(labels, s.division, s.mode);
            benchmark::DoNotOptimize(checkMarks(lines, groups, x, s.depth, kWholeArchive, k));
        }
    }
}
BENCHMARK(BM_GroupingScanEachAlone)->Apply(games)->Unit(benchmark::kMillisecond);

void BM_Uniformity(benchmark::State& state) {
    const int k = int(state.range(0));
    const int x = int(state.range(1));
    const QStringList& lines = bench::randomArchive(k, x);
    const QStringList labels = buildLabels(x, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(uniformityText(checkUniformity(lines, labels, kWholeArchive, k)));
}
BENCHMARK(BM_Uniformity)->Apply(games)->Unit(benchmark::kMicrosecond);

} // namespace
