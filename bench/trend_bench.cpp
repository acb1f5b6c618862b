// The trend chart against the floor of writing its cells into a plain int array, and the mark check
// over a long history; each of one number a draw and of six.
#include "analysis/analysis_run.h"
#include "analysis/mark_check.h"
#include "analysis/trend_chart.h"

#include <QHash>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <memory>

using namespace dravik;

namespace {

constexpr int kDraws = 10000;
constexpr int kGroups = 60;

// 10,000 record lines (period 7 digits) of k distinct numbers of 01..60 apart by one blank, per k,
// and the 60 one-label groups of X = 60, A = 60.
const QStringList& archiveLines(int k) {
    static QHash<int, QStringList> archives;
    if (!archives.contains(k)) {
        QStringList result;
        QRandomGenerator random(42);
        for (int i = 0; i < kDraws; ++i) {
            QStringList numbers;
            while (numbers.size() < k) {
                const QString number =
                    QStringLiteral("%1").arg(int(random.bounded(kGroups)) + 1, 2, 10, QLatin1Char('0'));
                if (!numbers.contains(number))
                    numbers.append(number);
            }
            result.append(QStringLiteral("%1.%2").arg(2000000 + i).arg(numbers.join(QLatin1Char(' '))));
        }
        archives.insert(k, result);
    }
    return archives[k];
}

const QStringList& sixtyGroups() {
    static const QStringList groups =
        analysisGroups(QStringLiteral("60"), QStringLiteral("60"), QStringLiteral("1"), QStringLiteral("0"),
                       1, DisplayMode::Sequential)
            .groups;
    return groups;
}

// One number a draw and six (K:1, K:6) over the same groups.
void BM_TrendChart(benchmark::State& state) {
    const int k = int(state.range(0));
    const QStringList& lines = archiveLines(k);
    const QStringList& groups = sixtyGroups();
    for (auto _ : state) {
        TrendChart chart = buildTrendChart(lines, groups, kGroups, kWholeArchive, k);
        benchmark::DoNotOptimize(chart.omissions.get());
    }
    state.SetItemsProcessed(state.iterations() * kDraws * kGroups);
}
BENCHMARK(BM_TrendChart)->ArgName("K")->Arg(1)->Arg(6)->Unit(benchmark::kMicrosecond);

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
    const QStringList& lines = archiveLines(k);
    const QStringList& groups = sixtyGroups();
    for (auto _ : state)
        benchmark::DoNotOptimize(checkMarks(lines, groups, kGroups, 100, kWholeArchive, k));
}
BENCHMARK(BM_MarkCheck)->ArgName("K")->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);

} // namespace
