#pragma once

#include "analysis/draw_numbers.h"
#include "analysis/number_match.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace dravik {

// Which rows of a table a draw number falls in, by sameNumber against the labels of each group text.
// Built once per list of group texts: labels and draw numbers are short digit texts in practice, and
// those are matched by a table look-up on their digitKey, so a long history costs no collation.
class GroupMatcher {
public:
    explicit GroupMatcher(const QStringList& groupTexts);

    // Rows as a range over ints the matcher holds.
    struct Rows {
        const int* first;
        const int* last;
        const int* begin() const { return first; }
        const int* end() const { return last; }
    };

    // The distinct rows (0-based, ascending) whose group text holds a label equal to the number. The
    // range stays valid until the next call. A digit number against digit labels, nearly every call
    // over a long history, is a look-up here; the rest is rowsHitByOtherwise's.
    Rows rowsHitBy(const DrawNumber& number) {
        if (unkeyed_.empty() && number.key) {
            if (const int slot = denseSlot(*number.key); slot >= 0)
                return rowsOf(denseSpans_[slot]);
        }
        return rowsHitByOtherwise(number);
    }
    Rows rowsHitBy(QStringView drawNumber) { return rowsHitBy(DrawNumber{drawNumber, digitKey(drawNumber)}); }

private:
    struct Label {
        int row;
        QStringView text;
    };

    // Digit texts of up to kDenseDigits digits, "" to "9999", each get a slot: 11,111 in all.
    static constexpr int kDenseDigits = 4;
    static constexpr int kDenseOffset[kDenseDigits + 2] = {0, 1, 11, 111, 1111, 11111};

    // The slot of a digitKey (the value times 32 plus the length), or −1 for a longer text.
    static int denseSlot(quint64 key) {
        const int length = int(key % 32);
        return length <= kDenseDigits ? kDenseOffset[length] + int(key / 32) : -1;
    }

    // Where the rows of one digit label lie in keyRows_.
    struct KeySpan {
        int start = 0;
        int count = 0;
    };
    Rows rowsOf(KeySpan span) const {
        const int* const first = keyRows_.data() + span.start;
        return {first, first + span.count};
    }
    // Long digit numbers, and numbers or labels that only the collator can compare.
    Rows rowsHitByOtherwise(DrawNumber number);

    QStringList groups_; // kept so that the label views stay valid
    std::vector<Label> labels_;
    std::vector<Label> unkeyed_; // labels that only the collator can compare
    // The rows of each plain digit label, label after label: digit texts of up to kDenseDigits
    // digits find theirs in denseSpans_ by their slot, longer ones in longKeys_ (none: empty).
    std::vector<int> keyRows_;
    std::vector<KeySpan> denseSpans_;
    QHash<quint64, KeySpan> longKeys_;
    std::vector<int> hits_;
    QHash<QString, std::vector<int>> collatedHits_; // draw numbers that need the collator, by text
};

} // namespace dravik
