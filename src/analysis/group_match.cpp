#include "analysis/group_match.h"

#include "analysis/number_match.h"

#include <algorithm>
#include <utility>

namespace dravik {

namespace {

// Digit texts of up to four digits, "" to "9999", each get a slot: 11,111 in all.
constexpr int kDenseDigits = 4;
constexpr int kDenseOffset[kDenseDigits + 2] = {0, 1, 11, 111, 1111, 11111};

// The slot of a digitKey (the value times 32 plus the length), or −1 for a longer text.
int denseSlot(quint64 key) {
    const int length = int(key % 32);
    return length <= kDenseDigits ? kDenseOffset[length] + int(key / 32) : -1;
}

void keepDistinct(std::vector<int>& rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

} // namespace

GroupMatcher::GroupMatcher(const QStringList& groupTexts)
    : groups_(groupTexts), keyRows_(1), denseKeys_(kDenseOffset[kDenseDigits + 1], 0) {
    // Repeated labels within a row change nothing (a draw counts once for a row), so the rows are
    // split without removing repeats.
    std::vector<std::pair<quint64, int>> keyed;
    for (int row = 0; row < groups_.size(); ++row) {
        for (const QStringView token : groupTokens(groups_.at(row))) {
            labels_.push_back({row, token});
            if (const auto key = digitKey(token))
                keyed.push_back({*key, row});
            else
                unkeyed_.push_back({row, token});
        }
    }
    // Sorted by key and then row, each key's rows come out distinct and ascending.
    std::sort(keyed.begin(), keyed.end());
    keyed.erase(std::unique(keyed.begin(), keyed.end()), keyed.end());
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        const quint64 key = keyed[i].first;
        if (i == 0 || keyed[i - 1].first != key) {
            const int entry = int(keyRows_.size());
            keyRows_.emplace_back();
            if (const int slot = denseSlot(key); slot >= 0)
                denseKeys_[slot] = entry;
            else
                longKeys_.insert(key, entry);
        }
        keyRows_.back().push_back(keyed[i].second);
    }
}

const std::vector<int>& GroupMatcher::rowsOfKey(quint64 key) const {
    if (const int slot = denseSlot(key); slot >= 0)
        return keyRows_[denseKeys_[slot]];
    return keyRows_[longKeys_.value(key, 0)];
}

const std::vector<int>& GroupMatcher::rowsHitBy(QStringView drawNumber) {
    if (const auto key = digitKey(drawNumber)) {
        const std::vector<int>& keyed = rowsOfKey(*key);
        if (unkeyed_.empty())
            return keyed;
        hits_ = keyed;
        const QString draw = drawNumber.toString();
        for (const Label& label : unkeyed_) {
            if (sameNumber(label.text.toString(), draw))
                hits_.push_back(label.row);
        }
        keepDistinct(hits_);
        return hits_;
    }
    const QString draw = drawNumber.toString();
    auto cached = collatedHits_.find(draw);
    if (cached == collatedHits_.end()) {
        std::vector<int> rows;
        for (const Label& label : labels_) {
            if (sameNumber(label.text.toString(), draw))
                rows.push_back(label.row);
        }
        keepDistinct(rows);
        cached = collatedHits_.insert(draw, std::move(rows));
    }
    return *cached;
}

} // namespace dravik
