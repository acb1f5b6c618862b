#include "analysis/group_statistics.h"

#include "analysis/number_match.h"

#include <QHash>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace dravik {

namespace {

// Labels and draw numbers are short digit texts. Such a text of up to 17 digits becomes one integer
// that keeps its length too ("7" and "07" differ), so matching is an integer search, not a collation.
constexpr qsizetype kMaxKeyDigits = 17;

std::optional<quint64> digitKey(QStringView text) {
    if (text.size() > kMaxKeyDigits)
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
    }
    return value * 32 + quint64(text.size());
}

// A group text is walked with a "." appended: every "." closes a token, empty ones included.
template <typename F> void forEachToken(const QString& groupText, F&& f) {
    const QStringView text(groupText);
    qsizetype start = 0;
    while (true) {
        const qsizetype dot = text.indexOf(QLatin1Char('.'), start);
        if (dot < 0) {
            f(text.sliced(start));
            return;
        }
        f(text.sliced(start, dot - start));
        start = dot + 1;
    }
}

struct Label {
    int row;
    QStringView text;
};

struct KeyedLabel {
    quint64 key;
    int row;
    bool operator<(const KeyedLabel& other) const { return key < other.key; }
};

} // namespace

QStringList labelSet(const QString& groupText) {
    QStringList labels;
    QHash<quint64, bool> seenKeys;
    QStringList unkeyed; // held labels that only the collator can compare ("０７", " 7")
    forEachToken(groupText, [&](QStringView token) {
        const QString text = token.toString();
        const auto key = digitKey(token);
        if (key && seenKeys.contains(*key))
            return;
        for (const QString& held : unkeyed) {
            if (sameNumber(held, text))
                return;
        }
        if (key) {
            seenKeys.insert(*key, true);
        } else {
            // Compared against every earlier plain label too, which the key search cannot do.
            for (const QString& held : labels) {
                if (sameNumber(held, text))
                    return;
            }
            unkeyed.append(text);
        }
        labels.append(text);
    });
    return labels;
}

bool isRecommended(int occurrence, int omission, int m) {
    if (occurrence >= m && omission >= m && omission <= 2 * m)
        return true;
    return omission == 0;
}

QVector<ResultRow> groupStatistics(const QStringList& drawNumbers, const QStringList& groupTexts) {
    const int rowCount = int(groupTexts.size());
    const int drawCount = int(drawNumbers.size());

    // Repeated labels within a row change nothing: a draw hits a row when any of its labels matches,
    // and counts once for it. So the rows are split without removing repeats.
    std::vector<Label> labels;
    std::vector<KeyedLabel> keyed;
    std::vector<Label> unkeyed;
    for (int row = 0; row < rowCount; ++row) {
        forEachToken(groupTexts[row], [&](QStringView token) {
            labels.push_back({row, token});
            if (const auto key = digitKey(token))
                keyed.push_back({*key, row});
            else
                unkeyed.push_back({row, token});
        });
    }
    std::sort(keyed.begin(), keyed.end());

    std::vector<int> occurrence(rowCount, 0);
    std::vector<int> omission(rowCount, drawCount);
    std::vector<int> lastHitBy(rowCount, -1);
    std::vector<int> hits;
    QHash<QString, std::vector<int>> collatedHits; // draw numbers that need the collator, by text

    auto hitRowsOf = [&](const QString& draw) -> const std::vector<int>& {
        hits.clear();
        if (const auto key = digitKey(draw)) {
            const auto range = std::equal_range(keyed.begin(), keyed.end(), KeyedLabel{*key, 0});
            for (auto it = range.first; it != range.second; ++it)
                hits.push_back(it->row);
            for (const Label& label : unkeyed) {
                if (sameNumber(label.text.toString(), draw))
                    hits.push_back(label.row);
            }
            return hits;
        }
        auto cached = collatedHits.find(draw);
        if (cached == collatedHits.end()) {
            std::vector<int> rows;
            for (const Label& label : labels) {
                if (sameNumber(label.text.toString(), draw))
                    rows.push_back(label.row);
            }
            cached = collatedHits.insert(draw, std::move(rows));
        }
        return *cached;
    };

    // From the latest draw back: the omission of a row is how far back its first hit lies.
    for (int back = 0; back < drawCount; ++back) {
        for (const int row : hitRowsOf(drawNumbers[drawCount - 1 - back])) {
            if (lastHitBy[row] == back)
                continue;
            lastHitBy[row] = back;
            if (occurrence[row] == 0)
                omission[row] = back;
            ++occurrence[row];
        }
    }

    const int m = rowCount > 0 ? drawCount / rowCount : 0;
    QVector<ResultRow> rows;
    rows.reserve(rowCount);
    for (int row = 0; row < rowCount; ++row) {
        rows.append({groupTexts[row], QString::number(occurrence[row]), QString::number(omission[row]),
                     isRecommended(occurrence[row], omission[row], m) ? kMark : QString()});
    }
    return rows;
}

} // namespace dravik
