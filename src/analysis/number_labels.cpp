#include "analysis/number_labels.h"

namespace dravik {

QStringList buildLabels(qint32 x, int startValue) {
    QStringList labels;
    if (x <= 0)
        return labels;
    labels.reserve(x);
    const bool fromOne = startValue == 1;
    for (qint64 i = 0; i < x; ++i) {
        const qint64 k = fromOne ? i + 1 : i;
        if (fromOne && k < 10)
            labels.append(QLatin1Char('0') + QString::number(k));
        else
            labels.append(QString::number(k));
    }
    return labels;
}

} // namespace dravik
