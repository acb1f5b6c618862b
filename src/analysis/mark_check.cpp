#include "analysis/mark_check.h"

#include "analysis/group_match.h"
#include "analysis/group_statistics.h"
#include "analysis/tenths.h"
#include "analysis/trend_chart.h"
#include "storage/record_order.h"

#include <algorithm>
#include <vector>

namespace dravik {

MarkCheck checkMarks(const QStringList& archiveLines, const QStringList& groupTexts, int labelCount,
                     int depth, int window) {
    MarkCheck check;
    check.labelCount = labelCount;
    const int total = int(archiveLines.size());
    depth = std::max(depth, 0);
    const int firstTrial = std::max(total - windowLength(total, window), depth);
    if (firstTrial >= total)
        return check;

    // The groups each draw from the first one counted hits, once.
    const int groups = int(groupTexts.size());
    const int from = firstTrial - depth;
    GroupMatcher matcher(groupTexts);
    std::vector<int> hitStart{0};
    std::vector<int> hitGroups;
    for (int i = from; i < total; ++i) {
        const std::vector<int>& hit = matcher.rowsHitBy(drawNumberIn(archiveLines[i]));
        hitGroups.insert(hitGroups.end(), hit.begin(), hit.end());
        hitStart.push_back(int(hitGroups.size()));
    }
    const auto forEachHit = [&](int i, auto&& f) {
        for (int h = hitStart[i - from]; h < hitStart[i - from + 1]; ++h)
            f(hitGroups[h]);
    };

    std::vector<qint64> labels(groups);
    for (int g = 0; g < groups; ++g)
        labels[g] = labelSet(groupTexts[g]).size();

    // The occurrence counts over the `depth` draws before t, kept as the span slides, and each group's
    // latest hit: the marks of every t cost one pass over the groups instead of a new count.
    std::vector<int> occurrence(groups, 0);
    std::vector<int> lastHit(groups, -1);
    for (int i = from; i < firstTrial; ++i) {
        forEachHit(i, [&](int g) {
            ++occurrence[g];
            lastHit[g] = i;
        });
    }
    const int m = evenShare(depth, groups);
    std::vector<char> marked(groups);
    for (int t = firstTrial; t < total; ++t) {
        qint64 k = 0;
        for (int g = 0; g < groups; ++g) {
            const int omission = lastHit[g] >= t - depth ? t - 1 - lastHit[g] : depth;
            marked[g] = isRecommended(occurrence[g], omission, m);
            if (marked[g])
                k += labels[g];
        }
        bool hit = false;
        forEachHit(t, [&](int g) {
            hit = hit || marked[g];
            ++occurrence[g];
            lastHit[g] = t;
        });
        forEachHit(t - depth, [&](int g) { --occurrence[g]; });

        ++check.trials;
        check.hits += hit ? 1 : 0;
        check.markedLabels += k;
        check.spread += k * (labelCount - k);
    }
    return check;
}

QString markCheckText(const MarkCheck& check) {
    if (check.trials == 0 || check.labelCount <= 0)
        return QStringLiteral("数据量不足，无法回测");
    const qint64 percent = roundedQuotient(100 * qint64(check.hits), check.trials);
    const qint64 expectedTenths = roundedQuotient(10 * check.markedLabels, check.labelCount);
    QString text = QStringLiteral("荐号回测：近%1期命中%2次（%3%），随机期望%4次")
                       .arg(check.trials)
                       .arg(check.hits)
                       .arg(percent)
                       .arg(tenthsText(expectedTenths));
    // |h − E| ≤ 2·√(Σ (k/X)(1 − k/X)), times X and squared: whole numbers, no rounding at the edge.
    // The squares can pass 64 bits on a long archive.
    const __int128 difference = __int128(check.hits) * check.labelCount - check.markedLabels;
    const char* verdict = difference * difference <= 4 * __int128(check.spread) ? "荐号与随机无明显差异"
                          : difference > 0 ? "荐号命中率高于随机"
                                           : "荐号命中率低于随机";
    return text + QLatin1Char('\n') + QString::fromUtf8(verdict);
}

} // namespace dravik
