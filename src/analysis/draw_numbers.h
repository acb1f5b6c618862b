#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

namespace dravik {

// The draw numbers of the latest `depth` lines of a record file, oldest first. File order is time
// order, so these are the last lines. A blank line is a draw too (its number is empty). Nothing when
// the file holds fewer lines than the depth asks for.
std::optional<QStringList> latestDrawNumbers(const QStringList& lines, int depth);

// K, how many numbers a draw holds, as the analysis, the trend chart and the mark check use it: the
// text of the settings' K when it is an integer from 1 to kMaxNumbersPerDraw and less than the
// number of labels X the analysis works with (after any substitution of the settings); else 1. A
// hand-edited settings file can hold a K that does not fit its X.
int numbersPerDraw(const QString& kText, qint32 labelCount);

// The numbers of one draw, as views into its draw number text (the text after the record line's
// first "."). K = 1: the text whole, as it stands, blanks and all. K > 1: the text split at runs of
// blanks and tabs, a field equal to an earlier one by sameNumber left out ("05" and "5" differ), in
// the order they stand; as many as the text holds, K or not.
std::vector<QStringView> drawNumbersIn(QStringView numberText, int k);
// The same into a list the caller keeps, for walks over long histories.
void splitDrawNumbers(QStringView numberText, int k, std::vector<QStringView>& numbers);

} // namespace dravik
