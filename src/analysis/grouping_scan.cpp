#include "analysis/grouping_scan.h"

#include "analysis/draw_numbers.h"
#include "analysis/group_statistics.h"
#include "analysis/number_labels.h"
#include "analysis/number_match.h"
#include "analysis/tenths.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_file.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace dravik {

namespace {

constexpr int kScanDepths[] = {30, 60, 100};
constexpr int kBestLines = 10;

// a · b, or nothing once past the range of 128 bits: the comparisons below are exact where the
// products fit, as they do for any archive a person keeps, and fall back to floating point beyond.
std::optional<__int128> times(std::optional<__int128> a, std::optional<__int128> b) {
    __int128 product;
    if (!a || !b || __builtin_mul_overflow(*a, *b, &product))
        return std::nullopt;
    return product;
}

int numbersPerDrawOf(const MarkCheck& check) {
    return std::max(check.numbersPerDraw, 1);
}

// X times h − E: z = d / √(f·s) with s = Σ k_t (X − k_t) and f = K(X − K)/(X − 1), so that
// z² = d²(X − 1) / (K(X − K)·s): whole numbers throughout.
__int128 excessOf(const MarkCheck& check) {
    return __int128(check.hits) * check.labelCount - __int128(numbersPerDrawOf(check)) * check.markedLabels;
}

// The sign of z(a) − z(b) for two checks of one X and K, each with σ > 0.
int compareZ(const MarkCheck& a, const MarkCheck& b) {
    const __int128 da = excessOf(a);
    const __int128 db = excessOf(b);
    const int signA = (da > 0) - (da < 0);
    const int signB = (db > 0) - (db < 0);
    if (signA != signB || signA == 0)
        return (signA > signB) - (signA < signB);
    const std::optional<__int128> left = times(times(da, da), b.spread);
    const std::optional<__int128> right = times(times(db, db), a.spread);
    if (!left || !right) {
        const double za = *markCheckZ(a);
        const double zb = *markCheckZ(b);
        return (za > zb) - (za < zb);
    }
    const int magnitude = (*left > *right) - (*left < *right);
    return signA * magnitude;
}

// |z| in hundredths, halves up: the largest q with (2q − 1)² ≤ 40000·z², checked in whole numbers
// from the floating-point estimate.
qint64 zHundredths(const MarkCheck& check, double z) {
    qint64 q = qint64(std::floor(100 * std::abs(z) + 0.5));
    const qint64 x = check.labelCount;
    const qint64 k = numbersPerDrawOf(check);
    const __int128 d = excessOf(check);
    const std::optional<__int128> bound = times(times(d, d), __int128(40000) * (x - 1));
    const std::optional<__int128> denominator = times(k * (x - k), check.spread);
    const auto reaches = [&](qint64 candidate) -> std::optional<bool> {
        if (candidate <= 0)
            return true;
        const std::optional<__int128> square =
            times(times(2 * candidate - 1, 2 * candidate - 1), denominator);
        if (!square || !bound)
            return std::nullopt;
        return *square <= *bound;
    };
    while (reaches(q) == std::optional<bool>(false))
        --q;
    while (reaches(q + 1) == std::optional<bool>(true))
        ++q;
    return q;
}

QString zText(const MarkCheck& check) {
    const double z = *markCheckZ(check);
    const qint64 hundredths = zHundredths(check, z);
    return (z < 0 && hundredths > 0 ? QStringLiteral("-") : QString()) + hundredthsText(hundredths);
}

QString scoreLine(const ScanScore& score) {
    const ScanSetting& setting = score.setting;
    const MarkCheck& check = score.check;
    const qint64 expectedTenths =
        roundedQuotient(10 * qint64(numbersPerDrawOf(check)) * check.markedLabels, check.labelCount);
    return QStringLiteral("A=%1，B=%2，C=%3，%4，N=%5：命中%6个，期望%7个， z=%8")
        .arg(setting.division.a)
        .arg(setting.division.b)
        .arg(setting.division.c)
        .arg(setting.mode == DisplayMode::Sequential ? QStringLiteral("顺序") : QStringLiteral("间隔"))
        .arg(setting.depth)
        .arg(check.hits)
        .arg(tenthsText(expectedTenths))
        .arg(zText(check));
}

} // namespace

std::vector<ScanSetting> scanSettings(int labelCount) {
    std::vector<ScanSetting> settings;
    for (qint32 a = 2; a < labelCount; ++a) {
        const DivisionSettings division{labelCount, a, labelCount / a, labelCount % a};
        if (!isUsableDivision(division))
            continue;
        for (const DisplayMode mode : {DisplayMode::Sequential, DisplayMode::Interval}) {
            for (const int depth : kScanDepths)
                settings.push_back({division, mode, depth});
        }
    }
    return settings;
}

GroupingScan::GroupingScan(const QStringList& archiveLines, int labelCount, int startValue, int k)
    : labelCount_(labelCount), k_(std::max(k, 1)), labels_(buildLabels(labelCount, startValue)),
      settings_(scanSettings(labelCount)),
      labelHits_(groupHitsOf(archiveLines, labels_, 0, int(archiveLines.size()), k_)) {
    for (int i = 0; i < labels_.size(); ++i)
        labelIndex_.insert(labels_[i], i);
    scores_.reserve(settings_.size());
}

void GroupingScan::runNext() {
    if (isDone())
        return;
    const ScanSetting& setting = settings_[scores_.size()];
    const bool newGrouping = scores_.empty() || !(scores_.back().setting.division == setting.division) ||
                             scores_.back().setting.mode != setting.mode;
    if (newGrouping) {
        const QStringList groups = groupLabels(labels_, setting.division, setting.mode);
        std::vector<int> groupOfLabel(labels_.size(), -1);
        groupLabels_.assign(groups.size(), 0);
        for (int g = 0; g < groups.size(); ++g) {
            for (const QStringView label : groupTokens(groups[g])) {
                if (const auto found = labelIndex_.constFind(label.toString()); found != labelIndex_.cend())
                    groupOfLabel[*found] = g;
            }
            groupLabels_[g] = labelSet(groups[g]).size();
        }
        groupHits_ = regroupHits(labelHits_, groupOfLabel);
    }
    // Over the whole archive the first draw checked is the one with N draws before it.
    scores_.push_back(
        {setting, checkMarksOfHits(groupHits_, groupLabels_, labelCount_, setting.depth, setting.depth, k_)});
}

std::optional<GroupingScan> groupingScanOf(const AnalysisInputs& settings, QString* problem) {
    std::optional<RecordLines> records;
    try {
        records = readRecordFile(recordFilePath(settings.archive));
    } catch (const Error& error) {
        *problem = error.message();
        return std::nullopt;
    }
    if (!records) {
        *problem = missingArchiveMessage(settings.archive);
        return std::nullopt;
    }
    AnalysisGroups groups;
    try {
        groups = analysisGroups(settings.x, settings.a, settings.b, settings.c, settings.startValue,
                                settings.mode);
    } catch (const Error&) {
        *problem = QStringLiteral("设置错，请检查X、A、B、C值");
        return std::nullopt;
    }
    const int labelCount = groups.settings.values.x;
    return GroupingScan(records->lines, labelCount, settings.startValue,
                        numbersPerDraw(settings.k, labelCount));
}

std::optional<std::vector<ScanScore>> scanGroupings(const QStringList& archiveLines, int labelCount,
                                                    int startValue, int k,
                                                    const std::function<bool(int done, int total)>& proceed) {
    GroupingScan scan(archiveLines, labelCount, startValue, k);
    while (!scan.isDone()) {
        scan.runNext();
        if (proceed && !proceed(scan.doneCount(), scan.settingCount()))
            return std::nullopt;
    }
    return scan.scores();
}

std::optional<double> markCheckZ(const MarkCheck& check) {
    if (check.trials == 0 || check.spread <= 0)
        return std::nullopt;
    const double x = check.labelCount;
    const double k = numbersPerDrawOf(check);
    return double(excessOf(check)) / std::sqrt(k * (x - k) / (x - 1) * double(check.spread));
}

std::vector<ScanScore> rankedScores(const std::vector<ScanScore>& scores) {
    std::vector<ScanScore> ranked;
    std::copy_if(scores.begin(), scores.end(), std::back_inserter(ranked),
                 [](const ScanScore& score) { return markCheckZ(score.check).has_value(); });
    std::sort(ranked.begin(), ranked.end(), [](const ScanScore& l, const ScanScore& r) {
        if (const int order = compareZ(l.check, r.check); order != 0)
            return order > 0;
        const ScanSetting& a = l.setting;
        const ScanSetting& b = r.setting;
        if (a.division.a != b.division.a)
            return a.division.a < b.division.a;
        if (a.mode != b.mode)
            return a.mode == DisplayMode::Sequential;
        return a.depth < b.depth;
    });
    return ranked;
}

int bestOfManyPercent(double z, int settingCount) {
    if (settingCount <= 0)
        return 0;
    const double single = 0.5 * std::erfc(z / std::sqrt(2.0));
    // 1 − (1 − p₁)^M without losing a small p₁ to the subtraction.
    const double percent = -100 * std::expm1(settingCount * std::log1p(-single));
    return int(std::floor(percent + 0.5));
}

ScanReport scanReport(const std::vector<ScanScore>& scores) {
    ScanReport report;
    const std::vector<ScanScore> ranked = rankedScores(scores);
    if (ranked.empty()) {
        report.summary = QStringList{QStringLiteral("数据量不足，无法回测")};
        return report;
    }
    for (int i = 0; i < std::min(int(ranked.size()), kBestLines); ++i)
        report.best.append(scoreLine(ranked[i]));
    const int settingCount = int(scores.size());
    const MarkCheck& best = ranked.front().check;
    const int percent = bestOfManyPercent(*markCheckZ(best), settingCount);
    report.summary =
        QStringList{QStringLiteral("共回测%1种分组，最好的z=%2。纯随机时，%1种中至少一种达到它的机会约为%3%")
                        .arg(settingCount)
                        .arg(zText(best))
                        .arg(percent),
                    percent >= 5 ? QStringLiteral("最好的分组与运气无法区分")
                                 : QStringLiteral("最好的分组可能优于运气，请用今后的开奖再检验")};
    return report;
}

} // namespace dravik
