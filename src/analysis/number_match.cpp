#include "analysis/number_match.h"

#include "storage/record_order.h"

namespace dravik {

bool isPlainDigits(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    return true;
}

bool sameNumber(const QString& label, const QString& drawNumber) {
    if (isPlainDigits(label) && isPlainDigits(drawNumber))
        return label == drawNumber;
    return sameRecord(label, drawNumber);
}

} // namespace dravik
