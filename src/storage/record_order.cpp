#include "storage/record_order.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <string_view>

namespace dravik {

namespace {

// Built once per thread: a QCollator is costly to set up and the locale does not change under a run.
const QCollator& recordCollator() {
    thread_local const QCollator collator = [] {
        QCollator c(QLocale::system());
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator;
}

// Lines of digits and "." only, the form of nearly every record: the collation orders them character
// by character with "." before the digits, which is plain code-unit order, many times quicker.
bool allPlain(const QStringList& lines) {
    for (const QString& line : lines) {
        for (const QChar c : line) {
            const char16_t u = c.unicode();
            if (u != u'.' && (u < u'0' || u > u'9'))
                return false;
        }
    }
    return true;
}

bool collatedLess(const QString& a, const QString& b) {
    return recordCollator().compare(a, b) < 0;
}
std::u16string_view unitsOf(const QString& line) {
    return {reinterpret_cast<const char16_t*>(line.utf16()), size_t(line.size())};
}
bool plainLess(const QString& a, const QString& b) {
    return unitsOf(a) < unitsOf(b);
}

// Record files are kept sorted, and histories copied from web pages come newest first: both take
// one pass here instead of a sort.
template <typename Less> void sortWith(QStringList& lines, Less less) {
    if (std::is_sorted(lines.cbegin(), lines.cend(), less))
        return;
    if (std::is_sorted(lines.crbegin(), lines.crend(), less)) {
        std::reverse(lines.begin(), lines.end());
        return;
    }
    std::sort(lines.begin(), lines.end(), less);
}

template <typename Less> QStringList mergeWith(QStringList a, QStringList b, Less less) {
    sortWith(a, less);
    sortWith(b, less);
    QStringList merged;
    merged.reserve(a.size() + b.size());
    std::merge(std::make_move_iterator(a.begin()), std::make_move_iterator(a.end()),
               std::make_move_iterator(b.begin()), std::make_move_iterator(b.end()),
               std::back_inserter(merged), less);
    return merged;
}

} // namespace

int compareRecords(const QString& a, const QString& b) {
    return recordCollator().compare(a, b);
}

void sortRecords(QStringList& lines) {
    if (allPlain(lines))
        sortWith(lines, plainLess);
    else
        sortWith(lines, collatedLess);
}

QStringList mergeInRecordOrder(QStringList a, QStringList b) {
    if (allPlain(a) && allPlain(b))
        return mergeWith(std::move(a), std::move(b), plainLess);
    return mergeWith(std::move(a), std::move(b), collatedLess);
}

QString periodOf(const QString& line) {
    const qsizetype dot = line.indexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : line.left(dot);
}

QStringView drawNumberIn(QStringView line) {
    // A plain scan: record lines are short, and a library search costs more than it saves on them.
    const auto dot = std::find(line.begin(), line.end(), QLatin1Char('.'));
    return dot == line.end() ? line : line.sliced(dot - line.begin() + 1);
}

QString drawNumberOf(const QString& line) {
    const QStringView number = drawNumberIn(line);
    return number.size() == line.size() ? line : number.toString();
}

} // namespace dravik
