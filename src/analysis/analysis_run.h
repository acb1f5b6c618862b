#pragma once

#include "analysis/group_statistics.h"
#include "analysis/grouping.h"
#include "storage/archive_numbers.h"
#include "storage/record_file.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace dravik {

struct AnalysisInputs {
    QString archive;                   // the archive name as typed, for the messages
    std::optional<RecordTail> records; // the record file's line count and at least its last `depth`
                                       // lines (readRecordTail); nullopt when there is no file
    int depth = 30;                    // N: 30, 60 or 100
    QString x, a, b, c;                // the settings' texts as they stand
    QString k = QStringLiteral("1");   // numbers per draw as it stands (numbersPerDraw)
    int startValue = 0;                // 0 or 1
    DisplayMode mode = DisplayMode::Sequential;
    // Whether a missing record file is told: not when the archive has only just been created.
    bool reportMissingRecords = true;
};

struct AnalysisOutcome {
    enum class Table { Unchanged, Empty, Rows };
    QString message;             // text to show in the message box before the table changes; empty: none
    bool messageIsError = false; // the conversion error: the window raises dravik::Error(message) instead
    Table table = Table::Unchanged;
    QVector<ResultRow> rows; // when table == Rows
};

// The groups of the table for the texts of the settings controls: X, A, B and C converted in this
// order (the first that is no integer raises its conversion error), settings that cannot be used
// replaced by kDefaultDivision, then the labels and the groups, one text per table row.
struct AnalysisGroups {
    SettingsCheck settings;
    QStringList groups;
};
AnalysisGroups analysisGroups(const QString& x, const QString& a, const QString& b, const QString& c,
                              int startValue, DisplayMode mode);

// K as the analysis of these inputs would use it (numbersPerDraw against the X it works with); 1 when
// a setting is no integer, as there is then no analysis at all.
int numbersPerDrawOf(const AnalysisInputs& inputs);

// The numbers that draws of these settings hold, as the analysis counts them: the labels of the X it
// works with (settings it cannot use give those of kDefaultDivision) and K as numbersPerDrawOf gives
// it. Raises the conversion error of a setting that is no integer, as the analysis does.
ArchiveNumbers archiveNumbersOf(const AnalysisInputs& inputs);

// What the analysis and the trend chart say when the archive's record file is missing.
QString missingArchiveMessage(const QString& archive);

// One whole analysis run over plain inputs, in the order the user meets its checks: a missing record
// file (an empty table, and its message unless not to be told), too few lines (before any setting is read), a
// setting that is no integer (X, A, B, C in this order), then settings that cannot be used, which are
// reported and replaced by 36, 6, 6, 0. K is numbersPerDraw of the K text and the X so found, without a
// message.
AnalysisOutcome runAnalysis(const AnalysisInputs& inputs);

} // namespace dravik
