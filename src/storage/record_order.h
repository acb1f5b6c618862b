#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <string_view>
#include <vector>

namespace dravik {

// The record comparison: locale-aware on the system locale, letter case ignored. Lines of digits and
// "." come in character order with "." before every digit (10.01 < 10.1 < 9.01). Returns <0, 0, >0.
int compareRecords(const QString& a, const QString& b);
inline bool sameRecord(const QString& a, const QString& b) {
    return compareRecords(a, b) == 0;
}

// Sorts in place into record order; equal lines keep no defined order.
void sortRecords(QStringList& lines);
// The lines of both lists together in record order (each list is put in record order first).
QStringList mergeInRecordOrder(QStringList a, QStringList b);

// The same for lines viewed in longer texts, in UTF-16 or in UTF-8, such as a long history's.
std::vector<std::u16string_view> mergeInRecordOrder(std::vector<std::u16string_view> a,
                                                    std::vector<std::u16string_view> b);
std::vector<std::string_view> mergeInRecordOrder(std::vector<std::string_view> a,
                                                 std::vector<std::string_view> b);

// A record line is the period, a full stop, the draw number, split at the first full stop. A line
// without one has an empty period and is all draw number.
QString periodOf(const QString& line);
QString drawNumberOf(const QString& line);
// The draw number as a view into the line, for walks over long histories.
QStringView drawNumberIn(QStringView line);

} // namespace dravik
