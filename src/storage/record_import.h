#pragma once

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

// Which fields of a split line are the draw number. An archive whose draws hold K numbers takes K
// fields, joined by one blank as the record's number.
struct NumberColumn {
    enum class Kind { Last, Field, SumAfterFirst, FieldsFromSecond, LastFields };
    Kind kind = Kind::Last;
    int field = 0; // 1-based, for Kind::Field
    int count = 1; // how many fields, for Kind::FieldsFromSecond and Kind::LastFields

    QString caption() const;
};

// The choices of "号码取" for an archive whose draws hold `numbersPerDraw` numbers (K), in their order.
// K = 1: "最后一列" (the blue ball of a 双色球 line), "第2列" … "第8列", and "第2列起各列之和" (the sum of
// a 3D draw). K > 1: first "第2列起K列" (fields 2 to K + 1) and "最后K列" (the last K fields, never the
// period), K written out ("第2列起6列"), then the choices of K = 1. Below 1 counts as 1.
QList<NumberColumn> numberColumnChoices(int numbersPerDraw = 1);
// The index in numberColumnChoices(numbersPerDraw) of the choice an import starts with: "最后一列" for
// K = 1, "第2列起K列" for K > 1.
qsizetype defaultNumberColumnChoice(int numbersPerDraw = 1);

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

struct RejectedLine {
    qsizetype lineNumber = 0; // 1-based, as the lines of the text are counted
    QString text;
};

struct ParsedRecords {
    ImportedRecords records; // in text order
    QList<RejectedLine> rejected;
};

// Reads draw records out of a pasted history. A line with a "." and no blank, comma or tab, whose
// text before the first "." is all digits, is a record line taken as it is. Any other line is split
// into fields at runs of commas, tabs and blanks: the first field is the period, the chosen column
// the number, both all digits; numbers keep their leading zeros, a sum is plain decimal. Lines that
// hold nothing but separators are skipped; every other line that does not parse is rejected.
// Lines are split as in record files, and a NUL ends the text.
// For an archive whose draws hold `numbersPerDraw` numbers, K > 1, the record lines are those of the
// form "PERIOD.N1 N2 … NK" (all digits, one blank between the K numbers), taken as they are whatever
// the column; a line with a "." and no separator holds another count of numbers and is rejected.
// Every field that a column of several fields takes must be digits. K below 1 counts as 1.
ParsedRecords parseImportText(QByteArrayView utf8, NumberColumn column, int numbersPerDraw = 1);
ParsedRecords parseImportText(QStringView text, NumberColumn column, int numbersPerDraw = 1);

// The first `count` records that the import writes, in text order: a record whose period a later one
// repeats is replaced by that one, and left out.
QStringList firstWrittenRecords(const ImportedRecords& records, qsizetype count);

// Reads a file to import as the record files' text (a mark, else UTF-8 when valid, else GB18030; a
// NUL ends it), in UTF-8. Raises the record files' read errors; a missing file cannot be opened.
QByteArray readImportText(const QString& path);

struct ImportCounts {
    qsizetype added = 0;    // periods that were not there
    qsizetype replaced = 0; // periods whose number changes
    qsizetype same = 0;     // periods already there with that number
};

struct MergedRecordFile {
    QByteArray bytes; // the whole record file after the import, in record order
    ImportCounts counts;
};

// Merges imported records into all lines of a record file's bytes (nothing: no file yet) by the rule
// of adding one record on the data-entry page: the first line with the same period (compared exactly)
// takes the new number, any other record is added. When the records hold a period twice, the later
// one wins. The result is in the file's own encoding, `newFileEncoding` when there is no file.
// Raises the record files' decoding error.
MergedRecordFile mergeIntoRecordFile(const std::optional<QByteArray>& file, const ImportedRecords& records,
                                     TextEncoding newFileEncoding);

// Merges the records into the record file at `path` and writes it once, whole or not at all. Nothing
// is written when there are no records. Raises the record files' read and write errors; the file then
// stays as it was.
ImportCounts importRecords(const QString& path, const ImportedRecords& records, TextEncoding newFileEncoding);

} // namespace dravik
