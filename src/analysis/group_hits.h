#pragma once

#include <QStringList>
#include <cstddef>
#include <vector>

namespace dravik {

// The groups the numbers of a run of consecutive archive draws fall on, read once: those of draw i
// are entries[drawStart[i − firstDraw]] up to drawStart[i − firstDraw + 1], each written as group · 2 + 1
// for the first group of a number and group · 2 for any further one (a number in no group leaves
// nothing). One list, sized ahead, keeps a long history's cost to its numbers.
struct DrawGroupHits {
    int firstDraw = 0;
    std::vector<std::size_t> drawStart{0};
    std::vector<int> entries;

    int drawCount() const { return int(drawStart.size()) - 1; }
    // f(group) for each group a number of the archive's draw i falls on.
    template <typename F> void forEachGroup(int i, F&& f) const {
        const std::size_t end = drawStart[i - firstDraw + 1];
        for (std::size_t h = drawStart[i - firstDraw]; h < end; ++h)
            f(entries[h] >> 1);
    }
};

// Draws `from` up to `to` of the archive's record lines, each read as the analysis reads it (k numbers
// a draw), against the group texts by the analysis's comparison.
DrawGroupHits groupHitsOf(const QStringList& archiveLines, const QStringList& groupTexts, int from, int to,
                          int k);

// The hits of the same draws against other groups of the same labels, without reading the draws
// again: `labelHits` are groupHitsOf with each label its own group text, and groupOfLabel[ℓ] is the
// group label ℓ lies in (−1: none). Each label lies in one group at most, as in the groupings of
// X ÷ A. The same hits as groupHitsOf over the groups' texts, a number's groups perhaps in another
// order.
DrawGroupHits regroupHits(const DrawGroupHits& labelHits, const std::vector<int>& groupOfLabel);

} // namespace dravik
