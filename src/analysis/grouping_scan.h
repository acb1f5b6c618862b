#pragma once

#include "analysis/analysis_run.h"
#include "analysis/division_settings.h"
#include "analysis/group_hits.h"
#include "analysis/grouping.h"
#include "analysis/mark_check.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace dravik {

// Is there any setting whose 荐 mark beats luck? The mark check over the whole archive for every
// grouping of X, and how likely the best of them is under pure chance.

// One setting the scan checks: the division of X, the display mode and the analysis depth N.
struct ScanSetting {
    DivisionSettings division;
    DisplayMode mode = DisplayMode::Sequential;
    int depth = 30;
};

// Every setting the scan checks for X, in the scan's order: A ascending from 2 to X − 1 where
// B = X div A and C = X mod A pass the settings tab's check (isUsableDivision), 顺序 before 间隔,
// N = 30, 60, 100. M is their number.
std::vector<ScanSetting> scanSettings(int labelCount);

struct ScanScore {
    ScanSetting setting;
    MarkCheck check; // over the whole archive: every draw with N draws before it
};

// The scan in steps of one setting, so that a caller can show progress and stop between any two.
// The draws are read once, when the scan is made; a step regroups them for its grouping (once for
// the three depths of a grouping) and runs the mark check, which gives exactly what checkMarks over
// the whole archive gives for that setting.
class GroupingScan {
public:
    // The archive's record lines, oldest first; X as the analysis works with it; the start value (0 or
    // 1); K as numbersPerDraw gives it.
    GroupingScan(const QStringList& archiveLines, int labelCount, int startValue, int k);

    int settingCount() const { return int(settings_.size()); } // M
    int doneCount() const { return int(scores_.size()); }
    bool isDone() const { return doneCount() == settingCount(); }
    // Checks the next setting; nothing once all are done.
    void runNext();
    // The checks done so far, in the scan's order.
    const std::vector<ScanScore>& scores() const { return scores_; }

private:
    int labelCount_;
    int k_;
    QStringList labels_;
    QHash<QString, int> labelIndex_;
    std::vector<ScanSetting> settings_;
    DrawGroupHits labelHits_; // the draws against the labels, each its own group
    // The grouping of the latest step, for the next depth of it.
    DrawGroupHits groupHits_;
    std::vector<qint64> groupLabels_;
    std::vector<ScanScore> scores_;
};

// The scan for the settings as they stand (X as the analysis works with it, settings it cannot use
// replaced as it replaces them; the start value; K by numbersPerDraw) over the archive's record file,
// read whole. Nothing, and in `problem` the text to show instead, when the record file is missing or
// cannot be read or a setting is no integer.
std::optional<GroupingScan> groupingScanOf(const AnalysisInputs& settings, QString* problem);

// The whole scan in one call. After each setting, proceed(done, M), when given, may stop it by
// returning false: then nothing.
std::optional<std::vector<ScanScore>>
scanGroupings(const QStringList& archiveLines, int labelCount, int startValue, int k,
              const std::function<bool(int done, int total)>& proceed = {});

// z = (h − E)/σ of a check, σ its standard deviation under chance as the mark check has it; nothing
// where σ = 0 (no draw checked, or no label ever marked or ever unmarked).
std::optional<double> markCheckZ(const MarkCheck& check);

// The scores of the scan (one X and K) that have a z, highest z first; equal z in the order A
// ascending, 顺序 before 间隔, N ascending. Equal means equal as numbers: z is compared exactly.
std::vector<ScanScore> rankedScores(const std::vector<ScanScore>& scores);

// P, the chance in whole percent (halves up) that of M settings whose marks are pure luck at least
// one reaches z: 100·(1 − (1 − p₁)^M) with p₁ = ½·erfc(z/√2).
int bestOfManyPercent(double z, int settingCount);

// What the dialog "全部分组回测" shows for the scores of every setting run (M of them).
struct ScanReport {
    // The 10 highest z, one line each: "A=…，B=…，C=…，顺序|间隔，N=…：命中h个，期望E个， z=Z".
    QStringList best;
    // "共回测M种分组，最好的z=Z。纯随机时，M种中至少一种达到它的机会约为P%" and the verdict; without any
    // z, the mark check's own "数据量不足，无法回测".
    QStringList summary;
};
ScanReport scanReport(const std::vector<ScanScore>& scores);

} // namespace dravik
