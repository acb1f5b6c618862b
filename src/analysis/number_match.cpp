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

std::optional<quint64> digitKey(QStringView text) {
    constexpr qsizetype kMaxKeyDigits = 17;
    if (text.size() > kMaxKeyDigits)
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
    }
    return value * 32 + quint64(text.size());
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
