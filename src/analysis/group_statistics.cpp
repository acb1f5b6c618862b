#include "analysis/group_statistics.h"

#include "analysis/draw_numbers.h"
#include "analysis/group_match.h"
#include "analysis/number_match.h"

#include <QHash>
#include <algorithm>
#include <limits>
#include <vector>

namespace dravik {

QStringList labelSet(const QString& groupText) {
    QStringList labels;
    QHash<quint64, bool> seenKeys;
    QStringList unkeyed; // held labels that only the collator can compare ("０７", " 7")
    for (const QStringView token : groupTokens(groupText)) {
        const QString text = token.toString();
        const auto heldIn = [&](const QStringList& held) {
            return std::any_of(held.begin(), held.end(),
                               [&](const QString& other) { return sameNumber(other, text); });
        };
        const auto key = digitKey(token);
        if ((key && seenKeys.contains(*key)) || heldIn(unkeyed))
            continue;
        if (key) {
            seenKeys.insert(*key, true);
        } else {
            // Compared against every earlier plain label too, which the key search cannot do.
            if (heldIn(labels))
                continue;
            unkeyed.append(text);
        }
        labels.append(text);
    }
    return labels;
}

int evenShare(int drawCount, int rowCount) {
    return rowCount > 0 ? drawCount / rowCount : 0;
}

bool isRecommended(int occurrence, int omission, int m) {
    if (occurrence >= m && omission >= m && omission <= 2 * m)
        return true;
    return omission == 0;
}

QVector<ResultRow> groupStatistics(const QStringList& drawNumbers, const QStringList& groupTexts, int k) {
    k = std::max(k, 1);
    const int rowCount = int(groupTexts.size());
    const int drawCount = int(drawNumbers.size());
    GroupMatcher matcher(groupTexts);

    std::vector<int> occurrence(rowCount, 0);
    std::vector<int> omission(rowCount, drawCount);
    DrawNumberReader reader(k);
    // From the latest draw back: the omission of a row is how far back its first hit lies.
    for (int back = 0; back < drawCount; ++back) {
        reader.forEachNumber(drawNumbers[drawCount - 1 - back], [&](const DrawNumber& number) {
            for (const int row : matcher.rowsHitBy(number)) {
                if (occurrence[row] == 0)
                    omission[row] = back;
                ++occurrence[row];
            }
        });
    }

    const int m =
        evenShare(int(std::min<qint64>(qint64(drawCount) * k, std::numeric_limits<int>::max())), rowCount);
    QVector<ResultRow> rows;
    rows.reserve(rowCount);
    for (int row = 0; row < rowCount; ++row) {
        rows.append({groupTexts[row], QString::number(occurrence[row]), QString::number(omission[row]),
                     isRecommended(occurrence[row], omission[row], m) ? kMark : QString()});
    }
    return rows;
}

} // namespace dravik
