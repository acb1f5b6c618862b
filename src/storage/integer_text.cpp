#include "storage/integer_text.h"

#include "storage/error.h"

namespace dravik {

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

std::optional<qint32> parseInteger(QStringView text) {
    QString prefixed;
    if (text.size() > 2 && text[0] == QLatin1Char('0') && (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'))) {
        prefixed = QLatin1Char('$') + text.mid(2).toString();
        text = prefixed;
    }

    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }

    bool hex = false;
    if (i < text.size() && (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }

    if (i >= text.size())
        return std::nullopt;

    if (hex) {
        quint32 value = 0;
        int digits = 0;
        for (; i < text.size(); ++i) {
            const int d = hexDigit(text[i]);
            if (d < 0 || ++digits > 8)
                return std::nullopt;
            value = value * 16 + quint32(d);
        }
        const qint32 pattern = qint32(value);
        return negative ? qint32(0u - value) : pattern;
    }

    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < '0' || u > '9')
            return std::nullopt;
        value = value * 10 + (u - '0');
        if (value > qint64(2147483648))
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647 || value < -2147483648LL)
        return std::nullopt;
    return qint32(value);
}

qint32 toInteger(const QString& text) {
    if (const auto value = parseInteger(text))
        return *value;
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

} // namespace dravik
