#pragma once

#include <QString>
#include <QStringList>

namespace dravik {

// Would the 荐 mark have helped? For every draw t of the window with at least `depth` archive draws
// before it, the marks as the analysis gives them from those draws, and whether t fell in a marked
// group. Sums are kept whole so that the text's rounding and test are exact.
struct MarkCheck {
    int trials = 0;          // T
    int hits = 0;            // h
    int labelCount = 0;      // X
    qint64 markedLabels = 0; // Σ k_t, the labels lying in marked groups
    qint64 spread = 0;       // Σ k_t (X − k_t): X² times the variance of h under chance
};

// Over the archive's record lines (oldest first), the table's groups and universe, the analysis depth
// N and the window (kWholeArchive for all draws).
MarkCheck checkMarks(const QStringList& archiveLines, const QStringList& groupTexts, int labelCount,
                     int depth, int window);

// The text of Label_check: one or two lines joined by "\n".
QString markCheckText(const MarkCheck& check);

} // namespace dravik
