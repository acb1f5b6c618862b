// The analysis over a long history, set against `wc -l` on the same file so that the figure means
// something on whatever machine runs it; and the statistics alone at the largest everyday size.
#include "analysis/analysis_run.h"
#include "analysis/group_statistics.h"
#include "analysis/grouping.h"
#include "analysis/number_labels.h"
#include "storage/record_file.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace dravik;

namespace {

constexpr int kHistoryLines = 1000000;

// One record file of a million draws (period 7 digits, number 01..60, CR LF) for the whole program.
const QString& historyFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.path() + QStringLiteral("/history.dat");
        QByteArray bytes;
        bytes.reserve(kHistoryLines * 12);
        QRandomGenerator random(42);
        for (int i = 0; i < kHistoryLines; ++i) {
            bytes += QByteArray::number(2000000 + i);
            bytes += '.';
            const int number = int(random.bounded(60)) + 1;
            if (number < 10)
                bytes += '0';
            bytes += QByteArray::number(number);
            bytes += "\r\n";
        }
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            std::abort();
        return file;
    }();
    return path;
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

void BM_FullRunMillionLines(benchmark::State& state) {
    const QString& path = historyFile();
    for (auto _ : state) {
        AnalysisInputs inputs = wideInputs();
        inputs.records = readRecordTail(path, inputs.depth);
        AnalysisOutcome outcome = runAnalysis(inputs);
        if (outcome.rows.size() != 60)
            state.SkipWithError("unexpected table");
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_FullRunMillionLines)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The yardstick: the same file counted by `wc -l`, process start included.
void BM_WcLinesSameFile(benchmark::State& state) {
    const QString& path = historyFile();
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
