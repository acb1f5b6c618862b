#pragma once

#include "analysis/grouping.h"
#include "analysis/trend_chart.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dravik {

struct TrendInputs {
    QString archive;    // Edit_name's text, for the messages
    QString recordPath; // the archive's record file
    int depth = 30;     // the analysis depth N, for the mark check
    QString x, a, b, c; // the texts of Edit_x, Edit_a, Edit_b, Edit_c
    int startValue = 0; // 0 or 1
    DisplayMode mode = DisplayMode::Sequential;
    int window = kWholeArchive; // W
};

struct TrendOutcome {
    TrendChart chart; // empty when the record file or the settings cannot be used
    QString check;    // Label_check's text: the mark check, or why there is no chart
};

// One build of the trend tab: the record file read whole, once, then trendOfLines.
TrendOutcome runTrend(const TrendInputs& inputs);

// The same over the record file's lines (nullopt: no file), the settings handled as the analysis
// handles them: unusable ones silently replaced, a text that is no integer ends in an empty chart.
TrendOutcome trendOfLines(const TrendInputs& inputs, const std::optional<QStringList>& archiveLines);

} // namespace dravik
