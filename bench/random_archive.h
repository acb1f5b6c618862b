#pragma once

#include <QHash>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace dravik::bench {

inline constexpr int kArchiveDraws = 10000;

// 10,000 record lines (period 7 digits) of k distinct numbers of 01..x, written with their "0",
// apart by one blank; made once per k and x.
inline const QStringList& randomArchive(int k, int x) {
    static QHash<int, QStringList> archives;
    const int id = k * 1000 + x;
    if (!archives.contains(id)) {
        QStringList result;
        QRandomGenerator random(42);
        for (int i = 0; i < kArchiveDraws; ++i) {
            QStringList numbers;
            while (numbers.size() < k) {
                const QString number =
                    QStringLiteral("%1").arg(int(random.bounded(x)) + 1, 2, 10, QLatin1Char('0'));
                if (!numbers.contains(number))
                    numbers.append(number);
            }
            result.append(QStringLiteral("%1.%2").arg(2000000 + i).arg(numbers.join(QLatin1Char(' '))));
        }
        archives.insert(id, result);
    }
    return archives[id];
}

} // namespace dravik::bench
