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

std::u16string_view unitsOf(const QString& line) {
    return {reinterpret_cast<const char16_t*>(line.utf16()), size_t(line.size())};
}
std::u16string_view unitsOf(std::u16string_view line) {
    return line;
}
std::string_view unitsOf(std::string_view line) {
    return line;
}

// Lines of digits and "." only, the form of nearly every record: the collation orders them character
// by character with "." before the digits, which is plain code-unit order (in UTF-8 as in UTF-16),
// many times quicker.
template <typename Lines> bool allPlain(const Lines& lines) {
    for (const auto& line : lines) {
        for (const auto c : unitsOf(line)) {
            if (c != '.' && (c < '0' || c > '9'))
                return false;
        }
    }
    return true;
}

QStringView collatable(const QString& line) {
    return line;
}
QStringView collatable(std::u16string_view line) {
    return QStringView(line.data(), qsizetype(line.size()));
}
// Only UTF-8 files holding lines that are no plain records come here, which are rare: the lines are
// converted when compared.
QString collatable(std::string_view line) {
    return QString::fromUtf8(line.data(), qsizetype(line.size()));
}

template <typename Line> bool collatedLess(const Line& a, const Line& b) {
    return recordCollator().compare(collatable(a), collatable(b)) < 0;
}
template <typename Line> bool plainLess(const Line& a, const Line& b) {
    return unitsOf(a) < unitsOf(b);
}

// Record files are kept sorted, and histories copied from web pages come newest first: both take
// one pass here instead of a sort.
template <typename Lines, typename Less> void sortWith(Lines& lines, Less less) {
    if (std::is_sorted(lines.cbegin(), lines.cend(), less))
        return;
    if (std::is_sorted(lines.crbegin(), lines.crend(), less)) {
        std::reverse(lines.begin(), lines.end());
        return;
    }
    std::sort(lines.begin(), lines.end(), less);
}

template <typename Lines, typename Less> Lines mergeWith(Lines a, Lines b, Less less) {
    sortWith(a, less);
    sortWith(b, less);
    Lines merged;
    merged.reserve(a.size() + b.size());
    std::merge(std::make_move_iterator(a.begin()), std::make_move_iterator(a.end()),
               std::make_move_iterator(b.begin()), std::make_move_iterator(b.end()),
               std::back_inserter(merged), less);
    return merged;
}

template <typename Lines> Lines mergeLinesInRecordOrder(Lines a, Lines b) {
    using Line = typename Lines::value_type;
    if (allPlain(a) && allPlain(b))
        return mergeWith(std::move(a), std::move(b), plainLess<Line>);
    return mergeWith(std::move(a), std::move(b), collatedLess<Line>);
}

} // namespace

int compareRecords(const QString& a, const QString& b) {
    return recordCollator().compare(a, b);
}

void sortRecords(QStringList& lines) {
    if (allPlain(lines))
        sortWith(lines, plainLess<QString>);
    else
        sortWith(lines, collatedLess<QString>);
}

QStringList mergeInRecordOrder(QStringList a, QStringList b) {
    return mergeLinesInRecordOrder(std::move(a), std::move(b));
}

std::vector<std::u16string_view> mergeInRecordOrder(std::vector<std::u16string_view> a,
                                                    std::vector<std::u16string_view> b) {
    return mergeLinesInRecordOrder(std::move(a), std::move(b));
}

std::vector<std::string_view> mergeInRecordOrder(std::vector<std::string_view> a,
                                                 std::vector<std::string_view> b) {
    return mergeLinesInRecordOrder(std::move(a), std::move(b));
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
