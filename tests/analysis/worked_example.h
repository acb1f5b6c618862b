#pragma once

#include <QString>
#include <QStringList>

namespace dravik::test {

// The 30 draws of the analysis worked example, oldest first.
inline const QStringList kDraws =
    QStringLiteral("08 18 20 13 07 15 29 17 10 16 23 14 09 18 26 13 12 15 21 07 30 11 27 08 "
                   "22 24 19 20 05 03")
        .split(QLatin1Char(' '));

// Draw numbers as record lines with consecutive periods from firstPeriod on.
inline QStringList recordLinesOf(const QStringList& draws, int firstPeriod = 24001) {
    QStringList lines;
    for (int i = 0; i < draws.size(); ++i)
        lines.append(QString::number(firstPeriod + i) + QLatin1Char('.') + draws[i]);
    return lines;
}

} // namespace dravik::test
