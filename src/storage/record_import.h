#pragma once

#include "storage/archive_numbers.h"
#include "storage/record_file.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dravik {

// Which fields of a split line are the draw number, counted with the period as field 1. An archive
// whose draws hold K numbers takes K fields, joined by one blank as the record's number.
struct NumberColumn {
    enum class Kind {
        FromField,    // `count` fields from field `field` on: "第3列", "第3列起6列"
        Last,         // the last `count` fields: "最后一列", "最后6列"
        BeforeLast,   // the `count` fields before the last one: "最后一列之前6列"
        SumAfterFirst // the sum of the digit fields after the period: "第2列起各列之和"
    };
    Kind kind = Kind::Last;
    int field = 0; // 1-based, for Kind::FromField
    int count = 1; // how many fields

    QString caption() const;
};

// The choices of "号码取" for an archive whose draws hold `numbersPerDraw` numbers (K), in their order.
// K = 1: "最后一列" (the blue ball of a 双色球 line), "第2列" … "第8列", and "第2列起各列之和" (the sum of
// a 3D draw). K > 1, K written out: "第2列起K列" … "第8列起K列", "最后一列之前K列" (the red balls of a
// line that ends with its blue ball) and "最后K列"; a single field or a sum is not a draw of K numbers.
// Below 1 counts as 1.
QList<NumberColumn> numberColumnChoices(int numbersPerDraw = 1);
// The index in numberColumnChoices(numbersPerDraw) of the choice of that caption (a remembered one);
// -1 when it is not offered.
qsizetype numberColumnCaptioned(const QString& caption, int numbersPerDraw);

// Record lines "period.number" as UTF-8 in one buffer: a long history makes no string per line.
class ImportedRecords {
public:
    qsizetype size() const { return qsizetype(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    QString at(qsizetype i) const;
    QStringList toStringList() const;

    // The line in UTF-8 and its period (the text before the first "."), valid while the list is not
    // changed.
    std::string_view utf8At(qsizetype i) const {
        const size_t start = size_t(entries_[size_t(i)].start);
        const size_t end = i + 1 < size() ? size_t(entries_[size_t(i + 1)].start) : text_.size();
        return utf8Text().substr(start, end - start - 1);
    }
    std::string_view periodAt(qsizetype i) const {
        const Entry& entry = entries_[size_t(i)];
        return utf8Text().substr(size_t(entry.start), size_t(entry.periodSize));
    }
    // All lines in UTF-8, each followed by LF.
    std::string_view utf8Text() const { return {text_.data(), text_.size()}; }

    void reserve(qsizetype lines, qsizetype bytes);
    void append(std::string_view line);                                // a record line as it is
    void appendDraw(std::string_view period, std::string_view number); // both all digits

private:
    struct Entry {
        qsizetype start;
        qsizetype periodSize;
    };
    std::string text_;
    std::vector<Entry> entries_;
};

// Why a line of a pasted history is no record.
enum class ImportFault {
    PeriodNotDigits, // "期号不是数字": the first field
    TooFewFields,    // "列数不足": the chosen fields are not there
    NotDigits,       // "号码不是数字"
    OutOfRange,      // "号码超出范围（FIRST～LAST）": no label of the archive has that value
    Repeated,        // "号码重复": two numbers of one draw of the same value
    WrongCount,      // "号码个数不对": a record line of K > 1 numbers with another count
};
// The fault as the dialog names it, the range that of the archive.
QString faultText(ImportFault fault, const ArchiveNumbers& numbers);

struct RejectedLine {
    qsizetype lineNumber = 0; // 1-based, as the lines of the text are counted
    QString text;
    ImportFault fault = ImportFault::PeriodNotDigits;
};

struct ParsedRecords {
    ImportedRecords records; // in text order
    QList<RejectedLine> rejected;
};

// Reads draw records out of a pasted history, each number written as the archive's label of its
// value (ArchiveNumbers); a line whose numbers are not K labels of different values is rejected with
// its fault. Lines are split as in record files, and a NUL ends the text; lines that hold nothing but
// separators are skipped.
// - A record line, in the record files' own form: a first field (fields are split at runs of blanks,
//   tabs and commas, the wide ones of Chinese pages included) that holds a ".", all digits before it.
//   Where a draw holds one number that field must be the whole line, and its number is the text after
//   the "."; where it holds K > 1, the numbers are that text and the fields after it, K of them.
// - Any other line: the first field is the period, all digits, and the column picks the number.
ParsedRecords parseImportText(QByteArrayView utf8, NumberColumn column, const ArchiveNumbers& numbers);
ParsedRecords parseImportText(QStringView text, NumberColumn column, const ArchiveNumbers& numbers);

// The index in numberColumnChoices(K) of the choice under which most lines of the text are records;
// among equals, the earliest. Each line is split once, whatever the number of choices.
qsizetype fittingNumberColumn(QByteArrayView utf8, const ArchiveNumbers& numbers);
qsizetype fittingNumberColumn(QStringView text, const ArchiveNumbers& numbers);

// Reads a file to import as the record files' text (a mark, else UTF-8 when valid, else GB18030; a
// NUL ends it), in UTF-8. Raises the record files' read errors; a missing file cannot be opened.
QByteArray readImportText(const QString& path);

struct ImportCounts {
    qsizetype added = 0;    // periods that were not there
    qsizetype replaced = 0; // periods whose number changes
    qsizetype same = 0;     // periods already there with that number
    qsizetype kept = 0;     // periods already there with another number, kept (ExistingRecords::Kept)
};

// What an imported record does to a record of its period that the archive holds: replaces it, as
// adding one on the data-entry page does, or leaves it, as the update at start-up does (the user's own
// corrections stay).
enum class ExistingRecords { Replaced, Kept };

// A record whose number the import changes.
struct ReplacedRecord {
    QString period, oldNumber, newNumber;
};

struct MergedRecordFile {
    QByteArray bytes; // the whole record file after the import, in record order
    ImportCounts counts;
    // The first changes, as many as asked for of each kind, in record order.
    QList<ReplacedRecord> replaced;
    QStringList added; // record lines
};

// Merges imported records into all lines of a record file's bytes (nothing: no file yet) by the rule
// of adding one record on the data-entry page: the first line with the same period (compared exactly)
// takes the new number, any other record is added. When the records hold a period twice, the later
// one wins. The result is in the file's own encoding, `newFileEncoding` when there is no file, with
// the first `changesListed` replaced and added records. Raises the record files' decoding error.
MergedRecordFile mergeIntoRecordFile(const std::optional<QByteArray>& file, const ImportedRecords& records,
                                     TextEncoding newFileEncoding, qsizetype changesListed = 0,
                                     ExistingRecords existing = ExistingRecords::Replaced);

// Merges the records into the record file at `path` and writes it once, whole or not at all. Nothing
// is written when there are no records or the file's bytes would stay as they are. Raises the record files'
// read and write errors; the file then stays as it was.
ImportCounts importRecords(const QString& path, const ImportedRecords& records, TextEncoding newFileEncoding,
                           ExistingRecords existing = ExistingRecords::Replaced);

} // namespace dravik
