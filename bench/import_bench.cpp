// An import of a long pasted history into an archive, set against reading and writing the same bytes
// with plain QFile calls, so that the figure means something on whatever machine runs it.
#include "storage/data_folder.h"
#include "storage/record_file.h"
#include "storage/record_import.h"
#include "storage/whole_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>

using namespace dravik;

namespace {

constexpr int kImportLines = 100000;
constexpr int kArchiveLines = 10000;
// The import's periods start inside the archive's, so that some replace and the rest are new.
constexpr int kFirstArchivePeriod = 2000000;
constexpr int kFirstImportPeriod = kFirstArchivePeriod + kArchiveLines / 2;

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

// The blue balls of 双色球, 01 to 16, one a draw.
ArchiveNumbers blueBalls() {
    QStringList labels;
    for (int value = 1; value <= 16; ++value)
        labels.append(QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')));
    return ArchiveNumbers(labels, 1);
}

// A data folder in a temporary folder with the archive's record file and a history to import:
// 双色球 lines "2024001 01 02 03 04 05 06 16" with distinct periods, newest last.
struct Setup {
    QTemporaryDir home;
    QString archive;
    QString history;
    QByteArray archiveBytes;
    QByteArray importedBytes; // the record file after the import

    Setup() {
        if (!home.isValid())
            std::abort();
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        ensureDataFolder();
        archive = recordFilePath(QStringLiteral("双色球"));
        history = home.path() + QStringLiteral("/history.txt");

        QStringList lines;
        for (int i = 0; i < kArchiveLines; ++i)
            lines.append(
                QStringLiteral("%1.%2").arg(kFirstArchivePeriod + i).arg(i % 16 + 1, 2, 10, QChar(u'0')));
        archiveBytes = encodeRecordLines(lines, TextEncoding::Utf8);
        writeAll(archive, archiveBytes);

        QByteArray text;
        text.reserve(kImportLines * 30);
        for (int i = 0; i < kImportLines; ++i)
            text += QByteArray::number(kFirstImportPeriod + i) + " 01 02 03 04 05 06 16\r\n";
        writeAll(history, text);

        // Every imported period takes the blue ball 16: the archive's older half stays as it is.
        lines.resize(kFirstImportPeriod - kFirstArchivePeriod);
        for (int i = 0; i < kImportLines; ++i)
            lines.append(QStringLiteral("%1.16").arg(kFirstImportPeriod + i));
        importedBytes = encodeRecordLines(lines, TextEncoding::Utf8);
    }
};

Setup& setup() {
    static Setup instance;
    return instance;
}

// Puts the archive back as it was before an import, outside the time measured.
void restoreArchive(benchmark::State& state, const Setup& s) {
    state.PauseTiming();
    writeAll(s.archive, s.archiveBytes);
    state.ResumeTiming();
}

// Reads the history file, parses it, merges it into the archive's whole record file and writes that.
void BM_Import100k(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state) {
        restoreArchive(state, s);
        const ParsedRecords parsed = parseImportText(readImportText(s.history), NumberColumn{}, blueBalls());
        const ImportCounts counts = importRecords(s.archive, parsed.records, TextEncoding::Utf8);
        if (parsed.records.size() != kImportLines || counts.added != kImportLines - kArchiveLines / 2)
            state.SkipWithError("unexpected import");
    }
    if (readAll(s.archive) != s.importedBytes)
        state.SkipWithError("unexpected record file");
}
BENCHMARK(BM_Import100k)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The dialog's pick of the choice that reads most of the same history's lines, each line split once
// for the nine choices.
void BM_FittingChoice100k(benchmark::State& state) {
    Setup& s = setup();
    const QByteArray history = readImportText(s.history);
    const ArchiveNumbers numbers = blueBalls();
    for (auto _ : state) {
        if (fittingNumberColumn(QByteArrayView(history), numbers) != 0)
            state.SkipWithError("unexpected choice");
    }
}
BENCHMARK(BM_FittingChoice100k)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The floor: the same files read and the same bytes written, with plain QFile calls.
void BM_ReadWriteFloor(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state) {
        restoreArchive(state, s);
        benchmark::DoNotOptimize(readAll(s.history));
        benchmark::DoNotOptimize(readAll(s.archive));
        writeAll(s.archive, s.importedBytes);
    }
}
BENCHMARK(BM_ReadWriteFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The floor with the write made safe as every save makes it (a whole-file replace, synced to disk):
// the part of the import's time that its parsing and merging do not account for.
void BM_ReadWriteWholeFile(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state) {
        restoreArchive(state, s);
        benchmark::DoNotOptimize(readAll(s.history));
        benchmark::DoNotOptimize(readAll(s.archive));
        QString reason;
        if (!replaceWholeFile(s.archive, s.importedBytes, &reason))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_ReadWriteWholeFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The same import cut down to what this input needs and nothing more: blank-separated lines in date
// order, a sorted archive of plain lines, no other encoding, separator, column or rejection, and the
// file written whole and safe. Not a bound, but what the work itself costs on this machine, without
// the generality of the import above.
void BM_ImportSketch(benchmark::State& state) {
    Setup& s = setup();
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    for (auto _ : state) {
        restoreArchive(state, s);
        const QByteArray history = readAll(s.history);
        const QByteArray archive = readAll(s.archive);
        if (!QByteArrayView(history).isValidUtf8() || !QByteArrayView(archive).isValidUtf8())
            std::abort();

        // The draws: period and last field of each line, as views into the history.
        struct Draw {
            QByteArrayView period;
            QByteArrayView number;
        };
        std::vector<Draw> draws;
        draws.reserve(size_t(history.size() / 16));
        forEachByteLine(history, [&](QByteArrayView line) {
            qsizetype first = 0;
            while (first < line.size() && isDigit(line[first]))
                ++first;
            qsizetype last = line.size();
            while (last > first && isDigit(line[last - 1]))
                --last;
            if (first > 0 && first < line.size() && last < line.size() && line[last - 1] == ' ')
                draws.push_back({line.first(first), line.sliced(last)});
        });

        // Both sorted by period: one walk writes the file.
        QByteArray bytes(archive.size() + history.size() / 2, Qt::Uninitialized);
        char* out = bytes.data();
        const auto write = [&out](QByteArrayView text) { out = std::copy(text.begin(), text.end(), out); };
        std::vector<QByteArrayView> lines;
        forEachByteLine(archive, [&lines](QByteArrayView line) { lines.push_back(line); });
        size_t at = 0;
        const auto periodOf = [](QByteArrayView line) { return line.first(line.indexOf('.')); };
        for (const Draw& draw : draws) {
            for (; at < lines.size() && periodOf(lines[at]).compare(draw.period) < 0; ++at) {
                write(lines[at]);
                write("\r\n");
            }
            if (at < lines.size() && periodOf(lines[at]) == draw.period)
                ++at;
            write(draw.period);
            write(".");
            write(draw.number);
            write("\r\n");
        }
        for (; at < lines.size(); ++at) {
            write(lines[at]);
            write("\r\n");
        }
        bytes.truncate(out - bytes.constData());
        QString reason;
        if (!replaceWholeFile(s.archive, bytes, &reason))
            state.SkipWithError("write failed");
    }
    if (readAll(s.archive) != s.importedBytes)
        state.SkipWithError("unexpected record file");
}
BENCHMARK(BM_ImportSketch)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
