#pragma once

#include "analysis/number_match.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>
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

// One number of a draw and its digitKey, when it has one.
struct DrawNumber {
    QStringView text;
    std::optional<quint64> key;
};

// drawNumbersIn for walks over long histories: calls visit(const DrawNumber&) for each number of a
// draw, in order, with the digitKey found on the way for the matching; nothing is allocated per
// draw. A repeat among the numbers usual in draws (one or two digits) is one bit of a mask.
class DrawNumberReader {
public:
    explicit DrawNumberReader(int k) : k_(k) {}

    template <typename Visit> void forEachNumber(QStringView numberText, Visit&& visit) {
        if (k_ <= 1) {
            visit(DrawNumber{numberText, digitKey(numberText)});
            return;
        }
        const char16_t* const begin = numberText.utf16();
        const char16_t* const end = begin + numberText.size();
        quint64 shortSeen[2] = {0, 0}; // "0" to "9" and "00" to "99" so far: bits 0 to 109
        keys_.clear();                 // the longer digit numbers so far
        bool collated = false;         // a field without a key came: compare every field the long way
        const char16_t* p = begin;
        // The form the program writes, two digits a number and one blank between ("01 05 12"), is
        // taken two digits at a time while it lasts; whatever else the text holds goes the long way.
        while (end - p >= 2) {
            const unsigned tens = unsigned(p[0]) - u'0';
            const unsigned ones = unsigned(p[1]) - u'0';
            const bool last = end - p == 2;
            if (tens > 9 || ones > 9 || (!last && p[2] != u' '))
                break;
            const unsigned value = tens * 10 + ones;
            const quint64 mask = quint64(1) << ((10 + value) % 64);
            quint64& word = shortSeen[(10 + value) / 64];
            const bool fresh = (word & mask) == 0;
            word |= mask;
            if (fresh)
                visit(DrawNumber{QStringView(p, 2), quint64(value) * 32 + 2});
            p += last ? 2 : 3;
        }
        while (true) {
            while (p != end && isBlank(*p))
                ++p;
            if (p == end)
                return;
            const char16_t* const start = p;
            // One or two digits, the numbers of nearly every draw, are told at a glance; anything
            // else is scanned to its end.
            const unsigned first = unsigned(start[0]) - u'0';
            const unsigned second = end - start > 1 ? unsigned(start[1]) - u'0' : 0;
            const qsizetype shortLength = first > 9                               ? 0
                                          : end - start == 1 || isBlank(start[1]) ? 1
                                          : second > 9                            ? 0
                                          : end - start == 2 || isBlank(start[2]) ? 2
                                                                                  : 0;
            if (shortLength > 0) {
                p = start + shortLength;
                const QStringView field(start, shortLength);
                const unsigned value = shortLength == 1 ? first : first * 10 + second;
                const unsigned bit = shortLength == 1 ? value : 10 + value;
                const quint64 mask = quint64(1) << (bit % 64);
                quint64& word = shortSeen[bit / 64];
                const bool fresh = collated ? isNewCollated(begin, field) : (word & mask) == 0;
                word |= mask;
                if (fresh)
                    visit(DrawNumber{field, quint64(value) * 32 + quint64(shortLength)});
                continue;
            }
            // A digit number of three digits or more, or a field that is not all digits.
            unsigned nonDigits = 0;
            do {
                nonDigits |= unsigned(*p) - u'0' > 9 ? 1u : 0u;
                ++p;
            } while (p != end && !isBlank(*p));
            const QStringView field(start, p - start);
            const std::optional<quint64> key = nonDigits == 0 ? digitKey(field) : std::nullopt;
            collated = collated || !key;
            if (collated ? isNewCollated(begin, field) : isNewKey(*key))
                visit(DrawNumber{field, key});
        }
    }

private:
    static bool isBlank(char16_t c) { return c <= u' ' && (c == u' ' || c == u'\t'); }

    // Whether a digit number of three digits or more is new in the draw, noting it.
    bool isNewKey(quint64 key);
    // Whether the field equals no field before it in the draw's text by sameNumber; digit texts are
    // the same number exactly when they are the same characters.
    static bool isNewCollated(const char16_t* begin, QStringView field);

    int k_;
    std::vector<quint64> keys_;
};

} // namespace dravik
