#pragma once

#include <QString>
#include <QtGlobal>

namespace dravik {

// Expected counts are shown in tenths, halves up, and a few figures in hundredths. They are worked out
// in integers, so that no .x5 is lost to a binary fraction on the way.

// The non-negative quotient, halves up.
inline qint64 roundedQuotient(qint64 numerator, qint64 denominator) {
    return (2 * numerator + denominator) / (2 * denominator);
}

// A count of tenths as "a.b".
inline QString tenthsText(qint64 tenths) {
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

// A count of hundredths as "a.bc".
inline QString hundredthsText(qint64 hundredths) {
    return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

} // namespace dravik
