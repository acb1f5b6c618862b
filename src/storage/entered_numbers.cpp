#include "storage/entered_numbers.h"

#include <algorithm>
#include <vector>

namespace dravik {

namespace {

bool isSeparator(QChar ch) {
    return ch == u' ' || ch == u'\t' || ch == u',' || ch == u'，';
}

} // namespace

EnteredDraw enteredDraw(QStringView typed, const ArchiveNumbers& numbers) {
    const int k = numbers.perDraw();
    const EnteredDraw notADraw{{}, QStringLiteral("号码应为%1个不同的数字，用空格分开").arg(k)};
    std::vector<const std::string*> labels;
    bool outOfRange = false;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= typed.size(); ++i) {
        const bool ends = i == typed.size() || isSeparator(typed[i]);
        if (!ends) {
            if (start < 0)
                start = i;
            continue;
        }
        if (start < 0)
            continue;
        const QByteArray field = typed.mid(start, i - start).toUtf8();
        start = -1;
        ArchiveNumbers::Fault fault = ArchiveNumbers::Fault::None;
        const std::string* label = numbers.labelOf({field.data(), size_t(field.size())}, &fault);
        if (fault == ArchiveNumbers::Fault::NotDigits)
            return notADraw;
        outOfRange = outOfRange || !label;
        if (label && std::find(labels.cbegin(), labels.cend(), label) != labels.cend())
            return notADraw;
        labels.push_back(label);
    }
    // The count first: a range is only worth telling about for what is otherwise a draw.
    if (qsizetype(labels.size()) != k)
        return notADraw;
    if (outOfRange)
        return {{}, QStringLiteral("号码应在%1之间").arg(numbers.range())};
    QString number;
    for (const std::string* label : labels) {
        if (!number.isEmpty())
            number += QLatin1Char(' ');
        number += QString::fromStdString(*label);
    }
    return {number, {}};
}

} // namespace dravik
