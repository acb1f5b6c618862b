#include "analysis/analysis_run.h"

#include "analysis/division_settings.h"
#include "analysis/draw_numbers.h"
#include "analysis/number_labels.h"
#include "storage/error.h"
#include "storage/integer_text.h"

namespace dravik {

AnalysisGroups analysisGroups(const QString& x, const QString& a, const QString& b, const QString& c,
                              int startValue, DisplayMode mode) {
    const DivisionSettings typed{toInteger(x), toInteger(a), toInteger(b), toInteger(c)};
    // Settings that pass the division rule but have no sensible grouping (A ≤ 0, B ≤ 0, C < 0 or an
    // immense X, all only reachable by editing a settings file by hand) are treated as failing it.
    AnalysisGroups result;
    result.settings = checkDivision(typed);
    const QStringList labels = buildLabels(result.settings.values.x, startValue == 1 ? 1 : 0);
    result.groups = groupLabels(labels, result.settings.values, mode);
    return result;
}

int numbersPerDrawOf(const AnalysisInputs& inputs) {
    try {
        const DivisionSettings typed{toInteger(inputs.x), toInteger(inputs.a), toInteger(inputs.b),
                                     toInteger(inputs.c)};
        return numbersPerDraw(inputs.k, checkDivision(typed).values.x);
    } catch (const Error&) {
        return 1;
    }
}

ArchiveNumbers archiveNumbersOf(const AnalysisInputs& inputs) {
    const DivisionSettings typed{toInteger(inputs.x), toInteger(inputs.a), toInteger(inputs.b),
                                 toInteger(inputs.c)};
    const qint32 x = checkDivision(typed).values.x;
    const int start = inputs.startValue == 1 ? 1 : 0;
    return ArchiveNumbers(buildLabels(x, start), quint64(start), numbersPerDraw(inputs.k, x));
}

QString missingArchiveMessage(const QString& archive) {
    return QStringLiteral("Dravik[") + archive + QStringLiteral("]丢失，请重录");
}

AnalysisOutcome runAnalysis(const AnalysisInputs& inputs) {
    AnalysisOutcome outcome;
    if (!inputs.records) {
        // The table must not go on showing another archive's figures under this one's name.
        outcome.table = AnalysisOutcome::Table::Empty;
        if (inputs.reportMissingRecords)
            outcome.message = missingArchiveMessage(inputs.archive);
        return outcome;
    }
    const std::optional<QStringList> draws = inputs.records->lineCount < inputs.depth
                                                 ? std::nullopt
                                                 : latestDrawNumbers(inputs.records->lines, inputs.depth);
    if (!draws) {
        outcome.message =
            QStringLiteral("Dravik[") + inputs.archive + QStringLiteral("]数据量不足，无法分析");
        outcome.table = AnalysisOutcome::Table::Empty;
        return outcome;
    }

    AnalysisGroups groups;
    try {
        groups = analysisGroups(inputs.x, inputs.a, inputs.b, inputs.c, inputs.startValue, inputs.mode);
    } catch (const Error& error) {
        outcome.message = error.message();
        outcome.messageIsError = true;
        return outcome;
    }
    if (groups.settings.substituted)
        outcome.message = QStringLiteral("设置错，已改为默认设置");
    outcome.rows = groupStatistics(*draws, groups.groups, numbersPerDraw(inputs.k, groups.settings.values.x));
    outcome.table = AnalysisOutcome::Table::Rows;
    return outcome;
}

} // namespace dravik
