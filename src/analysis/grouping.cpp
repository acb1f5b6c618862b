#include "analysis/grouping.h"

#include <algorithm>

namespace dravik {

QStringList sequentialGroups(const QStringList& labels, const DivisionSettings& s) {
    QStringList groups;
    if (s.b < 1)
        return groups;
    groups.reserve(labels.size() / s.b + 1);
    for (qsizetype start = 0; start < labels.size(); start += s.b) {
        const qsizetype count = std::min<qsizetype>(s.b, labels.size() - start);
        groups.append(labels.mid(start, count).join(QLatin1Char('.')));
    }
    return groups;
}

QStringList intervalGroups(const QStringList& labels, const DivisionSettings& s) {
    QStringList groups;
    if (s.a < 1 || s.b < 1 || s.c < 0 || qint64(s.a) * s.b + s.c > labels.size())
        return groups;
    groups.reserve(s.a);
    QStringList row;
    for (qint32 r = 0; r < s.a; ++r) {
        row.clear();
        for (qint32 j = 0; j < s.b; ++j)
            row.append(labels[r + qsizetype(j) * s.a]);
        groups.append(row.join(QLatin1Char('.')));
    }
    const qsizetype x = labels.size();
    for (qint32 j = 0; j < s.c && j < s.a; ++j)
        groups[j] += QLatin1Char('.') + labels[x - s.c + j];
    return groups;
}

QStringList groupLabels(const QStringList& labels, const DivisionSettings& s, DisplayMode mode) {
    return mode == DisplayMode::Interval ? intervalGroups(labels, s) : sequentialGroups(labels, s);
}

} // namespace dravik
