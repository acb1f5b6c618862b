#include "analysis/trend_run.h"

#include "analysis/draw_numbers.h"
#include "analysis/mark_check.h"
#include "analysis/number_labels.h"
#include "analysis/uniformity_check.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_file.h"

namespace dravik {

TrendOutcome runTrend(const TrendInputs& inputs) {
    std::optional<RecordLines> records;
    try {
        records = readRecordFile(recordFilePath(inputs.settings.archive));
    } catch (const Error& error) {
        TrendOutcome outcome;
        outcome.check = error.message();
        return outcome;
    }
    return trendOfLines(inputs, records ? std::optional<QStringList>(records->lines) : std::nullopt);
}

TrendOutcome trendOfLines(const TrendInputs& inputs, const std::optional<QStringList>& archiveLines) {
    TrendOutcome outcome;
    const AnalysisInputs& settings = inputs.settings;
    if (!archiveLines) {
        outcome.check = missingArchiveMessage(settings.archive);
        return outcome;
    }
    AnalysisGroups groups;
    try {
        groups = analysisGroups(settings.x, settings.a, settings.b, settings.c, settings.startValue,
                                settings.mode);
    } catch (const Error&) {
        outcome.check = QStringLiteral("设置错，无法显示走势");
        return outcome;
    }
    const int labelCount = groups.settings.values.x;
    const int rows = windowLength(int(archiveLines->size()), inputs.window);
    if (!trendChartFits(rows, int(groups.groups.size()))) {
        outcome.check = QStringLiteral("走势表过大（%1期×%2组），无法显示，请选较短的统计期数")
                            .arg(rows)
                            .arg(groups.groups.size());
        return outcome;
    }
    const int k = numbersPerDraw(settings.k, labelCount);
    outcome.chart = buildTrendChart(*archiveLines, groups.groups, labelCount, inputs.window, k);
    outcome.check =
        markCheckText(checkMarks(*archiveLines, groups.groups, labelCount, settings.depth, inputs.window, k));
    outcome.fair = uniformityText(
        checkUniformity(*archiveLines, buildLabels(labelCount, settings.startValue), inputs.window, k));
    return outcome;
}

} // namespace dravik
