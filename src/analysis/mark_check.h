#pragma once

#include "analysis/group_hits.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace dravik {

// Would the 荐 mark have helped? For every draw t of the window with at least `depth` archive draws
// before it, the marks as the analysis gives them from those draws, and how many of t's numbers fell
// in marked groups. Sums are kept whole so that the text's rounding and test are exact.
struct MarkCheck {
    int trials = 0;          // T
    qint64 hits = 0;         // h = Σ h_t, the numbers of the checked draws in marked groups
    int labelCount = 0;      // X
    int numbersPerDraw = 1;  // K, 1 to X − 1
    qint64 markedLabels = 0; // Σ k_t, the labels lying in marked groups
    qint64 spread = 0;       // Σ k_t (X − k_t): X² times the variance of h under chance for K = 1
};

// Over the archive's record lines (oldest first), the table's groups and universe, the analysis depth
// N, the window (kWholeArchive for all draws) and the numbers a draw holds.
MarkCheck checkMarks(const QStringList& archiveLines, const QStringList& groupTexts, int labelCount,
                     int depth, int window, int k = 1);

// The same over the draws' hits read ahead: `hits` hold the archive's draws from firstTrial − depth to
// its end (none needed when firstTrial is past the end), labels[g] is the number of labels of group g
// (labelSet), and the draws checked are those from firstTrial on. Settings that group the same labels
// differently can share the reading of the draws (regroupHits).
MarkCheck checkMarksOfHits(const DrawGroupHits& hits, const std::vector<qint64>& labels, int labelCount,
                           int depth, int firstTrial, int k = 1);

// The mark check as the trend tab shows it: one or two lines joined by "\n". Chance puts each of a draw's K
// distinct numbers in the marked groups with k_t / X, so E = Σ K·k_t/X; the variance is that of drawing K of
// the X numbers without putting back, Σ K·(k_t/X)(1 − k_t/X)(X − K)/(X − 1).
QString markCheckText(const MarkCheck& check);

} // namespace dravik
