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

std::vector<QStringView> groupTokens(QStringView groupText) {
    std::vector<QStringView> tokens;
    qsizetype start = 0;
    while (true) {
        const qsizetype dot = groupText.indexOf(QLatin1Char('.'), start);
        if (dot < 0) {
            tokens.push_back(groupText.sliced(start));
            return tokens;
        }
        tokens.push_back(groupText.sliced(start, dot - start));
        start = dot + 1;
    }
}

} // namespace dravik
