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

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Whether the field repeats one of the numbers taken before it. Digit fields, nearly all of them,
// are the same number exactly when they are the same characters.
bool repeats(QStringView field, const std::vector<QStringView>& taken) {
    const bool digits = isPlainDigits(field);
    for (const QStringView other : taken) {
        if (digits && isPlainDigits(other) ? field == other : sameNumber(other.toString(), field.toString()))
            return true;
    }
    return false;
}

} // namespace

void splitDrawNumbers(QStringView numberText, int k, std::vector<QStringView>& numbers) {
    numbers.clear();
    if (k <= 1) {
        numbers.push_back(numberText);
        return;
    }
    qsizetype i = 0;
    const qsizetype size = numberText.size();
    while (i < size) {
        while (i < size && isBlank(numberText[i]))
            ++i;
        const qsizetype start = i;
        while (i < size && !isBlank(numberText[i]))
            ++i;
        if (i > start) {
            const QStringView field = numberText.sliced(start, i - start);
            if (!repeats(field, numbers))
                numbers.push_back(field);
        }
    }
}

std::vector<QStringView> drawNumbersIn(QStringView numberText, int k) {
    std::vector<QStringView> numbers;
    splitDrawNumbers(numberText, k, numbers);
    return numbers;
}

} // namespace dravik
