#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <string>
#include <string_view>
#include <vector>

namespace dravik {

// The numbers a draw of an archive may hold, as its records write them: the X labels of its settings
// ("01" … "33" counted from one, "0" … "27" from zero) and K, how many of them a draw holds. A number
// that comes in from outside, pasted, imported or typed, is taken by its value and written as the
// label of that value, so that "1", "01" and "001" are one number and every record counts in the
// analysis.
class ArchiveNumbers {
public:
    // `labels` in ascending order of value, the first one's value `firstValue`; K below 1 counts as 1.
    ArchiveNumbers(const QStringList& labels, quint64 firstValue, int perDraw = 1);

    int perDraw() const { return perDraw_; }
    // "01～33": the first and the last label, as messages name the range.
    QString range() const;

    // Why a number text is no number of the archive.
    enum class Fault { None, NotDigits, OutOfRange };
    // The label of the value that `digits` writes in decimal (leading zeros ignored), UTF-8; nullptr,
    // and the fault, when the text is not all ASCII digits (empty included) or no label has that value.
    const std::string* labelOf(std::string_view digits, Fault* fault = nullptr) const;
    // The same for a value already added up (a sum of fields). Equal labels are the same object, so
    // that a repeat in a draw is found by address.
    const std::string* labelOfValue(quint64 value) const;

private:
    std::vector<std::string> labels_;
    quint64 firstValue_;
    int perDraw_;
};

} // namespace dravik
