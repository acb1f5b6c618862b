// Imports from arbitrary pasted bytes: the first byte picks the numbers per draw (its top three
// bits, K = 1 to 8) and the column of the import (the rest), the second the column of the archive,
// the third the archive's numbers (X from 9 to 72, counted from zero or one), the rest is a file's
// bytes. Every record parsed is a line of the record file's form with a period of digits, and no
// line is both parsed and rejected; a record's number is K different labels of the archive joined by
// one blank, and the choice that fits reads at least as many lines as any other. Merged
// into an archive of the records of the same text read in the other column, the result counts each
// period once, keeps every archive line it does not replace, holds the last record of each period
// and comes in record order; merged in a UTF-8 file's bytes it is the same as in a UTF-16 file's
// text.
#include "fuzz_support.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "storage/record_import.h"
#include "storage/record_order.h"

#include <QHash>
#include <QSet>

using namespace dravik;

namespace {

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The labels as the analysis writes them: from one, 1 to 9 with a leading "0".
QStringList labelsOf(int x, int start) {
    QStringList labels;
    for (int value = start; value < start + x; ++value)
        labels.append(start == 1 && value < 10 ? QStringLiteral("0%1").arg(value) : QString::number(value));
    return labels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader input(data, size);
    const uint8_t first = input.byte();
    const int numbersPerDraw = 1 + first / 32;
    const QList<NumberColumn> choices = numberColumnChoices(numbersPerDraw);
    const NumberColumn column = choices.at(first % 32 % choices.size());
    const NumberColumn other = choices.at(input.byte() % choices.size());
    const uint8_t kind = input.byte();
    const int x = 9 + kind % 64, start = kind / 64 % 2;
    const QStringList labels = labelsOf(x, start);
    const ArchiveNumbers numbers(labels, quint64(start), numbersPerDraw);
    QString text;
    try {
        text = decodeRecordText(input.rest()).text;
    } catch (const Error&) {
        return 0; // a broken UTF-8 file with a mark: the read error of record files
    }

    const ParsedRecords parsed = parseImportText(text, column, numbers);
    const QStringList records = parsed.records.toStringList();
    const qsizetype lineCount = splitLines(text).size();
    FUZZ_CHECK(records.size() + parsed.rejected.size() <= lineCount);
    qsizetype previous = 0;
    for (const RejectedLine& line : parsed.rejected) {
        FUZZ_CHECK(line.lineNumber > previous && line.lineNumber <= lineCount);
        previous = line.lineNumber;
    }
    for (const QString& record : records) {
        FUZZ_CHECK(record.contains(QLatin1Char('.')));
        FUZZ_CHECK(allDigits(periodOf(record)));
        FUZZ_CHECK(!record.contains(QLatin1Char('\r')) && !record.contains(QLatin1Char('\n')));
        FUZZ_CHECK(!record.contains(QChar(u'\0')));
        const QStringList drawn = drawNumberOf(record).split(QLatin1Char(' '));
        FUZZ_CHECK(drawn.size() == numbersPerDraw);
        FUZZ_CHECK(QSet<QString>(drawn.cbegin(), drawn.cend()).size() == drawn.size());
        FUZZ_CHECK(
            std::all_of(drawn.cbegin(), drawn.cend(), [&](const QString& n) { return labels.contains(n); }));
    }
    const ParsedRecords byOther = parseImportText(text, other, numbers);
    const qsizetype fitting = fittingNumberColumn(text, numbers);
    const qsizetype otherRead = byOther.records.size();
    const qsizetype fittingRead = parseImportText(text, choices.at(fitting), numbers).records.size();
    FUZZ_CHECK(fittingRead >= otherRead && fittingRead >= records.size());

    const QStringList archive = byOther.records.toStringList();
    const MergedRecordFile merged = mergeIntoRecordFile(encodeRecordLines(archive, TextEncoding::Utf8),
                                                        parsed.records, TextEncoding::Utf8);
    const QStringList lines = decodeRecordBytes(merged.bytes).lines;
    QHash<QString, QString> last; // period → the record that wins
    for (const QString& record : records)
        last.insert(periodOf(record), record);
    const ImportCounts& counts = merged.counts;
    FUZZ_CHECK(counts.added + counts.replaced + counts.same == last.size());
    FUZZ_CHECK(lines.size() == archive.size() + counts.added);
    const QSet<QString> present(lines.cbegin(), lines.cend());
    for (const QString& record : std::as_const(last))
        FUZZ_CHECK(present.contains(record));
    for (const QString& line : archive)
        FUZZ_CHECK(present.contains(line) || last.contains(periodOf(line)));
    for (qsizetype i = 1; i < lines.size(); ++i)
        FUZZ_CHECK(compareRecords(lines[i - 1], lines[i]) <= 0);

    const MergedRecordFile wide = mergeIntoRecordFile(encodeRecordLines(archive, TextEncoding::Utf16Le),
                                                      parsed.records, TextEncoding::Utf16Le);
    FUZZ_CHECK(decodeRecordBytes(wide.bytes).lines == lines);
    FUZZ_CHECK(wide.counts.added == counts.added && wide.counts.replaced == counts.replaced &&
               wide.counts.same == counts.same);
    return 0;
}
