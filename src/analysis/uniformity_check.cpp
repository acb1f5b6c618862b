#include "analysis/uniformity_check.h"

#include "analysis/group_hits.h"
#include "analysis/tenths.h"
#include "analysis/trend_chart.h"

#include <algorithm>
#include <cmath>

namespace dravik {

Uniformity checkUniformity(const QStringList& archiveLines, const QStringList& labels, int window, int k) {
    Uniformity uniformity;
    const int total = int(archiveLines.size());
    uniformity.draws = windowLength(total, window);
    uniformity.numbersPerDraw = std::max(k, 1);
    uniformity.counts.assign(labels.size(), 0);
    // Each label its own group: the hits are the labels each draw's numbers are.
    const DrawGroupHits hits = groupHitsOf(archiveLines, labels, total - uniformity.draws, total, k);
    std::vector<int> lastDraw(labels.size(), -1);
    for (int i = hits.firstDraw; i < total; ++i) {
        hits.forEachGroup(i, [&](int label) {
            // A draw counts once for a label, however many of its numbers equal it.
            if (lastDraw[label] != i) {
                lastDraw[label] = i;
                ++uniformity.counts[label];
            }
        });
    }
    return uniformity;
}

namespace {

// χ² as a fraction of whole numbers, so that the text's rounding is exact.
struct ChiSquare {
    __int128 numerator = 0;   // (X·Σ O² − n²)(X − 1)
    __int128 denominator = 1; // n (X − K)
    int degreesOfFreedom = 0; // X − 1
    double value() const { return double(numerator) / double(denominator); }
};

ChiSquare chiSquareOf(const Uniformity& uniformity) {
    const qint64 x = qint64(uniformity.counts.size());
    const qint64 k = uniformity.numbersPerDraw;
    __int128 n = 0;
    __int128 squares = 0;
    for (const qint64 count : uniformity.counts) {
        n += count;
        squares += __int128(count) * count;
    }
    ChiSquare chi;
    chi.degreesOfFreedom = int(x - 1);
    // Σ (O − E)²/E = (X·Σ O² − n²)/n with E = n/X.
    if (n > 0 && x > k) {
        chi.numerator = (x * squares - n * n) * (x - 1);
        chi.denominator = n * (x - k);
    }
    return chi;
}

} // namespace

double chiSquareTail(double chiSquare, int degreesOfFreedom) {
    const double df = degreesOfFreedom;
    const double spread = 2.0 / (9.0 * df);
    const double z = (std::cbrt(chiSquare / df) - (1.0 - spread)) / std::sqrt(spread);
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}

QString uniformityText(const Uniformity& uniformity) {
    const qint64 x = qint64(uniformity.counts.size());
    if (x < 2)
        return {};
    qint64 n = 0;
    for (const qint64 count : uniformity.counts)
        n += count;
    // E = n/X < 5.
    if (n < 5 * x)
        return QStringLiteral("均匀性检验：期数太少（每个号码期望出现不足5次）");
    const ChiSquare chi = chiSquareOf(uniformity);
    const __int128 tenths = (20 * chi.numerator + chi.denominator) / (2 * chi.denominator);
    const double p = chiSquareTail(chi.value(), chi.degreesOfFreedom);
    const QString pText =
        p < 0.005 ? QStringLiteral("<0.01") : hundredthsText(qint64(std::floor(100 * p + 0.5)));
    return QStringLiteral("均匀性检验：近%1期χ²=%2（自由度%3），p=%4")
               .arg(uniformity.draws)
               .arg(tenthsText(qint64(tenths)))
               .arg(chi.degreesOfFreedom)
               .arg(pText) +
           QLatin1Char('\n') +
           QString::fromUtf8(p >= 0.01 ? "号码出现与随机抽取相符" : "号码出现明显偏离随机");
}

} // namespace dravik
