#include "storage/record_order.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

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

} // namespace

int compareRecords(const QString& a, const QString& b) {
    return recordCollator().compare(a, b);
}

void sortRecords(QStringList& lines) {
    std::sort(lines.begin(), lines.end(),
              [](const QString& a, const QString& b) { return compareRecords(a, b) < 0; });
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
