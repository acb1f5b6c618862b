#pragma once

#include "storage/record_file.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace dravik {

// Which field of a split line is the draw number.
struct NumberColumn {
    enum class Kind { Last, Field, SumAfterFirst };
    Kind kind = Kind::Last;
    int field = 0; // 1-based, for Kind::Field

    QString caption() const;
};

// The choices of "号码取", in their order: "最后一列" (the blue ball of a 双色球 line), "第2列" …
// "第8列", and "第2列起各列之和" (the sum of a 3D draw).
QList<NumberColumn> numberColumnChoices();

struct RejectedLine {
    qsizetype lineNumber = 0; // 1-based, as the lines of the text are counted
    QString text;
};

struct ParsedRecords {
    QStringList records; // record lines "period.number", in text order
    QList<RejectedLine> rejected;
};

// Reads draw records out of a pasted history. A line with a "." and no blank, comma or tab, whose
// text before the first "." is all digits, is a record line taken as it is. Any other line is split
// into fields at runs of commas, tabs and blanks: the first field is the period, the chosen column
// the number, both all digits; numbers keep their leading zeros, a sum is plain decimal. Lines that
// hold nothing but separators are skipped; every other line that does not parse is rejected.
// Lines are split as in record files, and a NUL ends the text.
ParsedRecords parseImportText(QStringView text, NumberColumn column);

// Reads a file to import as the record files' text (decodeRecordText: a mark, else UTF-8 when valid,
// else GB18030; a NUL ends it). Raises the record files' read errors; a missing file cannot be opened.
QString readImportFile(const QString& path);

struct MergedRecords {
    QStringList lines;      // the whole record file after the import, in record order
    qsizetype added = 0;    // periods that were not there
    qsizetype replaced = 0; // periods whose number changes
    qsizetype same = 0;     // periods already there with that number
};

// Merges imported records into all lines of a record file by the rule of adding one record on the
// data-entry page: the first line with the same period (compared exactly) takes the new number,
// any other record is added. When the records hold a period twice, the later one wins.
MergedRecords mergeRecords(const QStringList& archive, const QStringList& records);

// Merges the records into the record file at `path` and writes it once, whole or not at all, in
// the file's own encoding (`newFileEncoding` when there is no file yet). Nothing is written when
// there are no records. Raises the record files' read and write errors; the file then stays as it was.
MergedRecords importRecords(const QString& path, const QStringList& records, TextEncoding newFileEncoding);

} // namespace dravik
