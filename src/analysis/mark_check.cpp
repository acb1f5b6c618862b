#include "analysis/mark_check.h"

#include "analysis/group_statistics.h"
#include "analysis/tenths.h"
#include "analysis/trend_chart.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace dravik {

MarkCheck checkMarks(const QStringList& archiveLines, const QStringList& groupTexts, int labelCount,
                     int depth, int window, int k) {
    const int total = int(archiveLines.size());
    depth = std::max(depth, 0);
    const int firstTrial = std::min(std::max(total - windowLength(total, window), depth), total);
    // Without a draw to check no draw is read.
    const int from = firstTrial < total ? firstTrial - depth : total;
    std::vector<qint64> labels;
    labels.reserve(groupTexts.size());
    for (const QString& group : groupTexts)
        labels.push_back(labelSet(group).size());
    return checkMarksOfHits(groupHitsOf(archiveLines, groupTexts, from, total, k), labels, labelCount, depth,
                            firstTrial, k);
}

MarkCheck checkMarksOfHits(const DrawGroupHits& hits, const std::vector<qint64>& labels, int labelCount,
                           int depth, int firstTrial, int k) {
    k = std::max(k, 1);
    MarkCheck check;
    check.labelCount = labelCount;
    check.numbersPerDraw = k;
    const int total = hits.firstDraw + hits.drawCount();
    if (firstTrial >= total)
        return check;
    const int groups = int(labels.size());
    const int from = firstTrial - depth;
    const auto forEachHit = [&](int i, auto&& f) { hits.forEachGroup(i, f); };

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
    const int m =
        evenShare(int(std::min<qint64>(qint64(depth) * k, std::numeric_limits<int>::max())), groups);
    std::vector<char> marked(groups);
    for (int t = firstTrial; t < total; ++t) {
        qint64 markedCount = 0;
        for (int g = 0; g < groups; ++g) {
            const int omission = lastHit[g] >= t - depth ? t - 1 - lastHit[g] : depth;
            marked[g] = isRecommended(occurrence[g], omission, m);
            if (marked[g])
                markedCount += labels[g];
        }
        // A number counts once however many of its groups are marked: with its first group its
        // count starts, and a further marked one adds nothing.
        int numberHit = 0;
        for (std::size_t h = hits.drawStart[t - from]; h < hits.drawStart[t - from + 1]; ++h) {
            const int entry = hits.entries[h];
            check.hits += numberHit & entry & 1;
            numberHit = (numberHit & ~entry & 1) | int(marked[entry >> 1] != 0);
        }
        check.hits += numberHit;
        forEachHit(t, [&](int g) {
            ++occurrence[g];
            lastHit[g] = t;
        });
        forEachHit(t - depth, [&](int g) { --occurrence[g]; });

        ++check.trials;
        check.markedLabels += markedCount;
        check.spread += markedCount * (labelCount - markedCount);
    }
    return check;
}

QString markCheckText(const MarkCheck& check) {
    if (check.trials == 0 || check.labelCount <= 0)
        return QStringLiteral("数据量不足，无法回测");
    const qint64 x = check.labelCount;
    const qint64 k = std::max(check.numbersPerDraw, 1);
    const qint64 drawn = check.trials * k;
    const qint64 percent = roundedQuotient(100 * check.hits, drawn);
    const qint64 expectedTenths = roundedQuotient(10 * k * check.markedLabels, x);
    QString text = k == 1
                       ? QStringLiteral("荐号回测：近%1期命中%2次（%3%），随机期望%4次")
                             .arg(check.trials)
                             .arg(check.hits)
                             .arg(percent)
                             .arg(tenthsText(expectedTenths))
                       : QStringLiteral("荐号回测：近%1期开出%2个号码，荐号组命中%3个（%4%），随机期望%5个")
                             .arg(check.trials)
                             .arg(drawn)
                             .arg(check.hits)
                             .arg(percent)
                             .arg(tenthsText(expectedTenths));
    // |h − E| ≤ 2·√(Σ K·(k/X)(1 − k/X)·f) with f = (X − K)/(X − 1), exactly 1 for K = 1 (X = 1
    // included); times X, squared and times f's denominator: whole numbers, no rounding at the edge.
    // The squares can pass 64 bits on a long archive.
    const qint64 finiteNumerator = k == 1 ? 1 : k * (x - k);
    const qint64 finiteDenominator = k == 1 ? 1 : x - 1;
    const __int128 difference = __int128(check.hits) * x - k * check.markedLabels;
    const char* verdict =
        difference * difference * finiteDenominator <= 4 * __int128(check.spread) * finiteNumerator
            ? "荐号与随机无明显差异"
        : difference > 0 ? "荐号命中率高于随机"
                         : "荐号命中率低于随机";
    return text + QLatin1Char('\n') + QString::fromUtf8(verdict);
}

} // namespace dravik
