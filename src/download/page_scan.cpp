#include "download/page_scan.h"

#include "storage/record_order.h"

#include <algorithm>
#include <optional>

namespace dravik {

namespace {

constexpr qsizetype kMarkerLength = 4;
constexpr qsizetype kPeriodLength = 5;
constexpr qsizetype kNumberLength = 2;
constexpr std::uint32_t kPlainRecords = 10'000'000; // 5 + 2 decimal digits

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The index of a plain record among all plain records, or nothing for any other text.
std::optional<std::uint32_t> plainIndex(QStringView record) {
    if (record.size() != kPeriodLength + 1 + kNumberLength || record[kPeriodLength] != u'.')
        return std::nullopt;
    std::uint32_t index = 0;
    for (qsizetype i = 0; i < record.size(); ++i) {
        if (i == kPeriodLength)
            continue;
        if (!isAsciiDigit(record[i]))
            return std::nullopt;
        index = index * 10 + static_cast<std::uint32_t>(record[i].unicode() - u'0');
    }
    return index;
}

// At most `length` characters from `from` on.
QStringView field(QStringView text, qsizetype from, qsizetype length) {
    return text.sliced(from, std::min(length, text.size() - from));
}

} // namespace

bool DrawList::RecordLess::operator()(const QString& a, const QString& b) const {
    return compareRecords(a, b) < 0;
}

bool DrawList::addOrdered(const QString& record) {
    if (!ordered_.insert(record).second)
        return false;
    records_.append(record);
    return true;
}

bool DrawList::add(const QString& record) {
    const std::optional<std::uint32_t> plain = plainIndex(record);
    if (!plain) {
        if (!ordering_) {
            ordering_ = true;
            ordered_.insert(records_.cbegin(), records_.cend());
        }
        return addOrdered(record);
    }
    if (plainSeen_.empty())
        plainSeen_.assign(kPlainRecords / 64 + 1, 0);
    std::uint64_t& word = plainSeen_[*plain / 64];
    const std::uint64_t bit = std::uint64_t{1} << (*plain % 64);
    if (word & bit)
        return false;
    // A plain record's later copies are repeats whatever this one turns out to be.
    word |= bit;
    if (ordering_)
        return addOrdered(record);
    records_.append(record);
    return true;
}

void scanPage(QStringView page, DrawList& found, const std::function<void()>& pump) {
    // Everything before `rest` has been consumed. The first marker of each kind at or after it is
    // remembered and looked for again only once consumed, so every character is searched at most once.
    qsizetype rest = 0;
    qsizetype period = -1;
    qsizetype number = -1;
    for (;;) {
        if (period < rest) {
            period = page.indexOf(kPeriodMarker, rest);
            if (period < 0)
                return;
        }
        if (number < rest) {
            number = page.indexOf(kNumberMarker, rest);
            if (number < 0)
                return;
        }
        QString record;
        record.reserve(kPeriodLength + 1 + kNumberLength);
        record.append(field(page, period + kMarkerLength, kPeriodLength));
        record.append(u'.');
        record.append(field(page, number + kMarkerLength, kNumberLength));
        rest = std::min(number + kMarkerLength + 1, page.size());
        found.add(record);
        pump();
    }
}

} // namespace dravik
