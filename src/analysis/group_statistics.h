#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace dravik {

// One row of the analysis table: group text, occurrence count, omission count, mark ("√" or empty).
struct ResultRow {
    QString group, occurrence, omission, mark;
    friend bool operator==(const ResultRow& l, const ResultRow& r) {
        return l.group == r.group && l.occurrence == r.occurrence && l.omission == r.omission &&
               l.mark == r.mark;
    }
};

inline const QString kMark = QStringLiteral("\u221A");

// The distinct labels of a group text, split at ".", in order of first appearance; labels equal
// under sameNumber count once.
QStringList labelSet(const QString& groupText);

// The even share m of the recommendation: draws div rows (0 without rows).
int evenShare(int drawCount, int rowCount);

// The recommendation: a row hit by the latest draw, or one hit at least m times whose latest hit
// lies m to 2m draws back.
bool isRecommended(int occurrence, int omission, int m);

// For each group text, in order: how many of the draws' numbers (drawNumbersIn, k a draw) fell on the
// group, each number at most once; how many of the latest draws passed since the most recent draw
// that hit it (the number of draws when none did); and the mark with m = (draws · k) div rows, the
// share of the drawn numbers each row would get. Draw numbers are oldest first. With k = 1 a draw is
// its whole number text and counts at most once for a row.
QVector<ResultRow> groupStatistics(const QStringList& drawNumbers, const QStringList& groupTexts, int k = 1);

} // namespace dravik
