#include "storage/entered_numbers.h"

#include <QStringList>

namespace dravik {

namespace {

bool isSeparator(QChar ch) {
    return ch == u' ' || ch == u'\t' || ch == u',' || ch == u'，';
}

bool isDigitField(QStringView field) {
    for (const QChar ch : field) {
        if (ch < u'0' || ch > u'9')
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> enteredDrawNumbers(QStringView typed, int k) {
    QStringList fields;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= typed.size(); ++i) {
        const bool ends = i == typed.size() || isSeparator(typed[i]);
        if (ends && start >= 0) {
            const QStringView field = typed.mid(start, i - start);
            if (!isDigitField(field) || fields.contains(field))
                return std::nullopt;
            fields.append(field.toString());
            start = -1;
        } else if (!ends && start < 0) {
            start = i;
        }
    }
    if (fields.size() != k)
        return std::nullopt;
    return fields.join(QLatin1Char(' '));
}

QString enteredDrawNumbersMessage(int k) {
    return QStringLiteral("号码应为%1个不同的数字，用空格分开").arg(k);
}

} // namespace dravik
