#pragma once

#include "analysis/trend_chart.h"

#include <QByteArray>
#include <QString>

namespace dravik {

// The chart as a spreadsheet file: UTF-8 with a byte-order mark, CR LF after every line, RFC 4180
// quoting where a field needs it. The header "期数,号码,1,2,…", a row per draw (cellNumbersText: the
// numbers in a hit cell, the omission elsewhere), the footer rows (name, empty, values), then each line of
// the mark check as a row of one cell.
QByteArray trendCsv(const TrendChart& chart, const QString& check);

} // namespace dravik
