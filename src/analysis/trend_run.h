#pragma once

#include "analysis/analysis_run.h"
#include "analysis/trend_chart.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dravik {

struct TrendInputs {
    // The archive, the depth N (for the mark check) and the settings texts, K's included, as an
    // analysis run takes them; its `records` play no part.
    AnalysisInputs settings;
    int window = kWholeArchive; // W
};

struct TrendOutcome {
    TrendChart chart; // empty when the record file or the settings cannot be used
    QString check;    // the mark check's text, or why there is no chart
    QString fair;     // the uniformity check's text over the window; empty when there is no chart
};

// One build of the trend tab: the archive's record file read whole, once, then trendOfLines. A read
// error ends in an empty chart with the error's text.
TrendOutcome runTrend(const TrendInputs& inputs);

// The same over the record file's lines (nullopt: no file), the settings handled as the analysis
// handles them: unusable ones silently replaced, a text that is no integer ends in an empty chart.
TrendOutcome trendOfLines(const TrendInputs& inputs, const std::optional<QStringList>& archiveLines);

} // namespace dravik
