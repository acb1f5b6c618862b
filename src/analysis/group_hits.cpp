#include "analysis/group_hits.h"

#include "analysis/draw_numbers.h"
#include "analysis/group_match.h"
#include "storage/record_order.h"

#include <algorithm>

namespace dravik {

DrawGroupHits groupHitsOf(const QStringList& archiveLines, const QStringList& groupTexts, int from, int to,
                          int k) {
    k = std::max(k, 1);
    DrawGroupHits hits;
    hits.firstDraw = from;
    if (to <= from)
        return hits;
    GroupMatcher matcher(groupTexts);
    // Filled as locals and moved in: the compiler keeps their ends in registers.
    std::vector<std::size_t> drawStart;
    drawStart.reserve(std::size_t(to - from) + 1);
    drawStart.push_back(0);
    std::vector<int> entries;
    entries.reserve(std::size_t(to - from) * std::size_t(k));
    DrawNumberReader reader(k);
    for (int i = from; i < to; ++i) {
        reader.forEachNumber(drawNumberIn(archiveLines[i]), [&](const DrawNumber& number) {
            int firstOfNumber = 1;
            for (const int g : matcher.rowsHitBy(number)) {
                entries.push_back(g * 2 + firstOfNumber);
                firstOfNumber = 0;
            }
        });
        drawStart.push_back(entries.size());
    }
    hits.drawStart = std::move(drawStart);
    hits.entries = std::move(entries);
    return hits;
}

DrawGroupHits regroupHits(const DrawGroupHits& labelHits, const std::vector<int>& groupOfLabel) {
    DrawGroupHits hits;
    hits.firstDraw = labelHits.firstDraw;
    hits.drawStart.reserve(labelHits.drawStart.size());
    hits.entries.reserve(labelHits.entries.size());
    std::size_t numberStart = 0; // where the groups of the current number begin in hits.entries
    for (int d = 0; d < labelHits.drawCount(); ++d) {
        for (std::size_t h = labelHits.drawStart[d]; h < labelHits.drawStart[d + 1]; ++h) {
            const int entry = labelHits.entries[h];
            if (entry & 1)
                numberStart = hits.entries.size();
            const int group = groupOfLabel[entry >> 1];
            if (group < 0)
                continue;
            // A number equal to two labels of one group falls on that group once, as the matcher
            // of group texts would find it.
            const auto numberEntries = hits.entries.begin() + std::ptrdiff_t(numberStart);
            if (std::any_of(numberEntries, hits.entries.end(), [&](int e) { return e >> 1 == group; }))
                continue;
            hits.entries.push_back(group * 2 + (hits.entries.size() == numberStart ? 1 : 0));
        }
        hits.drawStart.push_back(hits.entries.size());
    }
    return hits;
}

} // namespace dravik
