#include "storage/archive_numbers.h"

#include <algorithm>

namespace dravik {

ArchiveNumbers::ArchiveNumbers(const QStringList& labels, quint64 firstValue, int perDraw)
    : firstValue_(firstValue), perDraw_(std::max(perDraw, 1)) {
    labels_.reserve(size_t(labels.size()));
    for (const QString& label : labels)
        labels_.push_back(label.toStdString());
}

QString ArchiveNumbers::range() const {
    if (labels_.empty())
        return {};
    return QString::fromStdString(labels_.front()) + QStringLiteral("～") +
           QString::fromStdString(labels_.back());
}

const std::string* ArchiveNumbers::labelOf(std::string_view digits, Fault* fault) const {
    const auto fail = [fault](Fault why) -> const std::string* {
        if (fault)
            *fault = why;
        return nullptr;
    };
    if (digits.empty())
        return fail(Fault::NotDigits);
    quint64 value = 0;
    bool beyond = false; // more than any label: the digits are still checked to the end
    for (const char c : digits) {
        const unsigned digit = unsigned(uchar(c)) - '0';
        if (digit > 9)
            return fail(Fault::NotDigits);
        if (!beyond) {
            value = value * 10 + digit;
            beyond = value >= firstValue_ + labels_.size();
        }
    }
    const std::string* label = beyond ? nullptr : labelOfValue(value);
    return label ? label : fail(Fault::OutOfRange);
}

const std::string* ArchiveNumbers::labelOfValue(quint64 value) const {
    if (value < firstValue_ || value - firstValue_ >= labels_.size())
        return nullptr;
    return &labels_[size_t(value - firstValue_)];
}

} // namespace dravik
