#pragma once

#include <QString>
#include <QStringList>

// The two contents the save loop (save_loop.cpp) writes in turn. They are large, so that a save
// takes long enough to be caught in the middle, and differ from their first byte on.
namespace dravik::test::payload {

inline QStringList recordLines(int which) {
    QStringList lines;
    constexpr int kLines = 200000;
    lines.reserve(kLines);
    for (int i = 0; i < kLines; ++i)
        lines.append(
            QStringLiteral("%1%2.%3").arg(which + 1).arg(i, 6, 10, QLatin1Char('0')).arg(i % 36 + 1));
    return lines;
}

inline QString settingsValue(int which) {
    return QString(3'000'000, which == 0 ? QLatin1Char('a') : QLatin1Char('b'));
}

} // namespace dravik::test::payload
