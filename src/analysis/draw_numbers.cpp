#include "analysis/draw_numbers.h"

#include "analysis/number_match.h"
#include "storage/archive_settings.h"
#include "storage/integer_text.h"
#include "storage/record_order.h"

#include <algorithm>

namespace dravik {

std::optional<QStringList> latestDrawNumbers(const QStringList& lines, int depth) {
    const qsizetype wanted = std::max(depth, 0);
    if (lines.size() < wanted)
        return std::nullopt;
    // Only the kept lines are cut: the draw number of a dropped line is never looked at, and a record
    // file may hold a very long history.
    QStringList numbers;
    numbers.reserve(wanted);
    for (qsizetype i = lines.size() - wanted; i < lines.size(); ++i)
        numbers.append(drawNumberOf(lines[i]));
    return numbers;
}

int numbersPerDraw(const QString& kText, qint32 labelCount) {
    const std::optional<qint32> k = parseInteger(kText);
    return k && *k >= 1 && *k <= kMaxNumbersPerDraw && *k < labelCount ? *k : 1;
}

bool DrawNumberReader::isNewKey(quint64 key) {
    if (std::find(keys_.begin(), keys_.end(), key) != keys_.end())
        return false;
    keys_.push_back(key);
    return true;
}

bool DrawNumberReader::isNewCollated(const char16_t* begin, QStringView field) {
    // The fields before this one, split again: a repeat among them equals one taken, so comparing
    // with all of them is the same as comparing with the numbers taken.
    const QStringView before(begin, field.utf16() - begin);
    const bool digits = isPlainDigits(field);
    for (const QStringView other : before.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        for (const QStringView earlier : other.split(QLatin1Char('\t'), Qt::SkipEmptyParts)) {
            if (digits && isPlainDigits(earlier) ? earlier == field
                                                 : sameNumber(earlier.toString(), field.toString()))
                return false;
        }
    }
    return true;
}

std::vector<QStringView> drawNumbersIn(QStringView numberText, int k) {
    std::vector<QStringView> numbers;
    DrawNumberReader(k).forEachNumber(numberText,
                                      [&](const DrawNumber& number) { numbers.push_back(number.text); });
    return numbers;
}

} // namespace dravik
