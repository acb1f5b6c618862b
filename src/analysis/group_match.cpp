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
    : groups_(groupTexts), denseSpans_(kDenseOffset[kDenseDigits + 1]) {
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
    for (std::size_t i = 0; i < keyed.size();) {
        const quint64 key = keyed[i].first;
        const KeySpan span{int(keyRows_.size()), 0};
        for (; i < keyed.size() && keyed[i].first == key; ++i)
            keyRows_.push_back(keyed[i].second);
        const KeySpan rows{span.start, int(keyRows_.size()) - span.start};
        if (const int slot = denseSlot(key); slot >= 0)
            denseSpans_[slot] = rows;
        else
            longKeys_.insert(key, rows);
    }
}

GroupMatcher::Rows GroupMatcher::rowsHitByOtherwise(DrawNumber number) {
    const auto rowsIn = [](const std::vector<int>& rows) {
        return Rows{rows.data(), rows.data() + rows.size()};
    };
    if (const std::optional<quint64> key = number.key) {
        const int slot = denseSlot(*key);
        const Rows keyed = rowsOf(slot >= 0 ? denseSpans_[slot] : longKeys_.value(*key));
        if (unkeyed_.empty())
            return keyed;
        hits_.assign(keyed.first, keyed.last);
        const QString draw = number.text.toString();
        for (const Label& label : unkeyed_) {
            if (sameNumber(label.text.toString(), draw))
                hits_.push_back(label.row);
        }
        keepDistinct(hits_);
        return rowsIn(hits_);
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
    return rowsIn(*cached);
}

} // namespace dravik
