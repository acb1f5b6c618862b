// Imports from arbitrary pasted bytes: the first two bytes pick the columns of the import and of the
// archive, the rest is a file's bytes. Every record parsed is a line of the record file's form with a
// period of digits, and no line is both parsed and rejected. Merged into an archive of the records of
// the same text read in the other column, the result counts each period once, keeps every archive
// line it does not replace, holds the last record of each period, comes in record order, and writes
// and reads back line for line.
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader input(data, size);
    const QList<NumberColumn> choices = numberColumnChoices();
    const NumberColumn column = choices.at(input.byte() % choices.size());
    const NumberColumn other = choices.at(input.byte() % choices.size());
    QString text;
    try {
        text = decodeRecordText(input.rest()).text;
    } catch (const Error&) {
        return 0; // a broken UTF-8 file with a mark: the read error of record files
    }

    const ParsedRecords parsed = parseImportText(text, column);
    const qsizetype lineCount = splitLines(text).size();
    FUZZ_CHECK(parsed.records.size() + parsed.rejected.size() <= lineCount);
    qsizetype previous = 0;
    for (const RejectedLine& line : parsed.rejected) {
        FUZZ_CHECK(line.lineNumber > previous && line.lineNumber <= lineCount);
        previous = line.lineNumber;
    }
    for (const QString& record : parsed.records) {
        FUZZ_CHECK(record.contains(QLatin1Char('.')));
        FUZZ_CHECK(allDigits(periodOf(record)));
        FUZZ_CHECK(!record.contains(QLatin1Char('\r')) && !record.contains(QLatin1Char('\n')));
        FUZZ_CHECK(!record.contains(QChar(u'\0')));
    }

    const QStringList archive = parseImportText(text, other).records;
    const MergedRecords merged = mergeRecords(archive, parsed.records);
    QHash<QString, QString> last; // period → the record that wins
    for (const QString& record : parsed.records)
        last.insert(periodOf(record), record);
    FUZZ_CHECK(merged.added + merged.replaced + merged.same == last.size());
    FUZZ_CHECK(merged.lines.size() == archive.size() + merged.added);
    const QSet<QString> lines(merged.lines.cbegin(), merged.lines.cend());
    for (const QString& record : std::as_const(last))
        FUZZ_CHECK(lines.contains(record));
    for (const QString& line : archive)
        FUZZ_CHECK(lines.contains(line) || last.contains(periodOf(line)));
    for (qsizetype i = 1; i < merged.lines.size(); ++i)
        FUZZ_CHECK(compareRecords(merged.lines[i - 1], merged.lines[i]) <= 0);

    // Every merged line stays one line of the file: in UTF-16 it reads back unchanged, in UTF-8 (where
    // a lone surrogate of a broken UTF-16 text becomes U+FFFD) as just as many lines.
    FUZZ_CHECK(decodeRecordBytes(encodeRecordLines(merged.lines, TextEncoding::Utf16Le)).lines ==
               merged.lines);
    FUZZ_CHECK(decodeRecordBytes(encodeRecordLines(merged.lines, TextEncoding::Utf8)).lines.size() ==
               merged.lines.size());
    return 0;
}
