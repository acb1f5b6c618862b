#include "analysis/trend_csv.h"

#include <QStringList>

namespace dravik {

namespace {

QString csvField(const QString& field) {
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\r')) && !field.contains(QLatin1Char('\n')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void appendRow(QString& text, const QStringList& fields) {
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += csvField(fields[i]);
    }
    text += QLatin1String("\r\n");
}

} // namespace

QByteArray trendCsv(const TrendChart& chart, const QString& check) {
    QString text;
    QStringList fields{QStringLiteral("期数"), QStringLiteral("号码")};
    for (int g = 0; g < chart.groupCount(); ++g)
        fields.append(QString::number(g + 1));
    appendRow(text, fields);

    for (int r = 0; r < chart.rowCount(); ++r) {
        fields = {chart.period(r), chart.number(r)};
        for (int g = 0; g < chart.groupCount(); ++g)
            fields.append(chart.cellNumbersText(r, g));
        appendRow(text, fields);
    }
    for (int f = 0; f < kTrendFooterCount; ++f) {
        fields = {trendFooterName(TrendFooter(f)), QString()};
        for (const TrendFigures& figures : chart.figures)
            fields.append(trendFooterText(figures, TrendFooter(f)));
        appendRow(text, fields);
    }
    if (!check.isEmpty()) {
        for (const QString& line : check.split(QLatin1Char('\n')))
            appendRow(text, {line});
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace dravik
