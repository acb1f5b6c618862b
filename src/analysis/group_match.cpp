#include "analysis/group_match.h"

#include "analysis/number_match.h"

#include <algorithm>
#include <utility>

namespace dravik {

namespace {

void keepDistinct(std::vector<int>& rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

} // namespace

GroupMatcher::GroupMatcher(const QStringList& groupTexts)
    : groups_(groupTexts), keyRowStart_{0, 0}, denseKeys_(kDenseOffset[kDenseDigits + 1], 0) {
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
            const int entry = int(keyRowStart_.size()) - 1;
            keyRowStart_.push_back(keyRowStart_.back());
            if (const int slot = denseSlot(key); slot >= 0)
                denseKeys_[slot] = entry;
            else
                longKeys_.insert(key, entry);
        }
        keyRows_.push_back(keyed[i].second);
        ++keyRowStart_.back();
    }
}

GroupMatcher::Rows GroupMatcher::rowsHitByOtherwise(DrawNumber number) {
    const auto rowsOf = [](const std::vector<int>& rows) {
        return Rows{rows.data(), rows.data() + rows.size()};
    };
    if (const std::optional<quint64> key = number.key) {
        const int slot = denseSlot(*key);
        const Rows keyed = rowsOfEntry(slot >= 0 ? denseKeys_[slot] : longKeys_.value(*key, 0));
        if (unkeyed_.empty())
            return keyed;
        hits_.assign(keyed.first, keyed.last);
        const QString draw = number.text.toString();
        for (const Label& label : unkeyed_) {
            if (sameNumber(label.text.toString(), draw))
                hits_.push_back(label.row);
        }
        keepDistinct(hits_);
        return rowsOf(hits_);
    }
    const QString draw = number.text.toString();
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
    return rowsOf(*cached);
}

} // namespace dravik
