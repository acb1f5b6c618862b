#include "analysis/analysis_run.h"

#include "analysis/division_settings.h"
#include "analysis/draw_numbers.h"
#include "analysis/number_labels.h"
#include "storage/error.h"
#include "storage/integer_text.h"

namespace dravik {

AnalysisOutcome runAnalysis(const AnalysisInputs& inputs) {
    AnalysisOutcome outcome;
    if (!inputs.records) {
        outcome.message = QStringLiteral("Dravik[") + inputs.archive + QStringLiteral("]丢失，请重录");
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

    DivisionSettings settings;
    try {
        settings.x = toInteger(inputs.x);
        settings.a = toInteger(inputs.a);
        settings.b = toInteger(inputs.b);
        settings.c = toInteger(inputs.c);
    } catch (const Error& error) {
        outcome.message = error.message();
        outcome.messageIsError = true;
        return outcome;
    }

    // Settings that pass the division rule but have no sensible grouping (A ≤ 0, B ≤ 0, C < 0 or an
    // immense X, all only reachable by editing a settings file by hand) are treated as failing it.
    const SettingsCheck check = checkDivision(settings);
    if (check.substituted)
        outcome.message = QStringLiteral("设置错，已改为默认设置");

    const QStringList labels = buildLabels(check.values.x, inputs.startValue == 1 ? 1 : 0);
    const QStringList groups = groupLabels(labels, check.values, inputs.mode);
    outcome.rows = groupStatistics(*draws, groups);
    outcome.table = AnalysisOutcome::Table::Rows;
    return outcome;
}

} // namespace dravik
