// The analysis over a long history, set against `wc -l` on the same file so that the figure means
// something on whatever machine runs it, of one number a draw and of six; and the statistics alone
// at the largest everyday size.
#include "analysis/analysis_run.h"
#include "analysis/group_statistics.h"
#include "analysis/grouping.h"
#include "analysis/number_labels.h"
#include "storage/record_file.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace dravik;

namespace {

constexpr int kHistoryLines = 1000000;

// `count` distinct numbers of 01..60, each written with its "0", apart by one blank.
QByteArray drawOf(QRandomGenerator& random, int count) {
    QByteArray number;
    quint64 taken = 0;
    while (count > 0) {
        const int n = int(random.bounded(60)) + 1;
        if (taken & (quint64(1) << n))
            continue;
        taken |= quint64(1) << n;
        if (!number.isEmpty())
            number += ' ';
        if (n < 10)
            number += '0';
        number += QByteArray::number(n);
        --count;
    }
    return number;
}

// One record file of a million draws of k numbers of 01..60 (period 7 digits, CR LF) for the whole
// program, per k.
const QString& historyFile(int k) {
    static QTemporaryDir dir;
    static QHash<int, QString> paths;
    if (!paths.contains(k)) {
        const QString file = dir.path() + QStringLiteral("/history-%1.dat").arg(k);
        QByteArray bytes;
        bytes.reserve(qsizetype(kHistoryLines) * (9 + 3 * k + 1));
        QRandomGenerator random(42);
        for (int i = 0; i < kHistoryLines; ++i) {
            bytes += QByteArray::number(2000000 + i);
            bytes += '.';
            bytes += drawOf(random, k);
            bytes += "\r\n";
        }
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            std::abort();
        paths.insert(k, file);
    }
    return paths[k];
}

AnalysisInputs wideInputs() {
    AnalysisInputs inputs;
    inputs.archive = QStringLiteral("bench");
    inputs.depth = 100;
    inputs.x = QStringLiteral("60");
    inputs.a = QStringLiteral("60");
    inputs.b = QStringLiteral("1");
    inputs.c = QStringLiteral("0");
    inputs.startValue = 1;
    inputs.mode = DisplayMode::Sequential;
    return inputs;
}

// The whole run over a million lines of one number a draw and of six (K:1, K:6), the same settings
// and the same depth: K = 6 reads a file of twice the bytes and counts six numbers a draw.
void BM_FullRunMillionLines(benchmark::State& state) {
    const int k = int(state.range(0));
    const QString& path = historyFile(k);
    for (auto _ : state) {
        AnalysisInputs inputs = wideInputs();
        inputs.k = QString::number(k);
        inputs.records = readRecordTail(path, inputs.depth);
        AnalysisOutcome outcome = runAnalysis(inputs);
        if (outcome.rows.size() != 60)
            state.SkipWithError("unexpected table");
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_FullRunMillionLines)
    ->ArgName("K")
    ->Arg(1)
    ->Arg(6)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

// The yardstick: the same file counted by `wc -l`, process start included.
void BM_WcLinesSameFile(benchmark::State& state) {
    const QString& path = historyFile(1);
    for (auto _ : state) {
        QProcess wc;
        wc.start(QStringLiteral("wc"), {QStringLiteral("-l"), path});
        if (!wc.waitForFinished(-1) || wc.exitCode() != 0) {
            state.SkipWithError("wc -l failed");
            break;
        }
        benchmark::DoNotOptimize(wc.readAllStandardOutput());
    }
}
BENCHMARK(BM_WcLinesSameFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_StatisticsHundredDrawsSixtyRows(benchmark::State& state) {
    QStringList draws;
    QRandomGenerator random(7);
    for (int i = 0; i < 100; ++i) {
        const int number = int(random.bounded(60)) + 1;
        draws.append(number < 10 ? QStringLiteral("0%1").arg(number) : QString::number(number));
    }
    const QStringList groups = groupLabels(buildLabels(60, 1), {60, 60, 1, 0}, DisplayMode::Sequential);
    for (auto _ : state)
        benchmark::DoNotOptimize(groupStatistics(draws, groups));
}
BENCHMARK(BM_StatisticsHundredDrawsSixtyRows)->Unit(benchmark::kMicrosecond);

} // namespace
