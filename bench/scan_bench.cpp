#include "download/page_scan.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kPageLength = qsizetype{8} * 1024 * 1024;
constexpr int kDraws = 100'000;

// An 8 MiB history page of 100,000 distinct draws in table rows, padded to the length.
const QString& generatedPage() {
    static const QString page = [] {
        QString text;
        text.reserve(kPageLength);
        text += QStringLiteral("<html><head><title>history</title></head><body><table>\n");
        const qsizetype rowLength = (kPageLength - 64) / kDraws;
        for (int i = 0; i < kDraws; ++i) {
            const QString number = QStringLiteral("%1").arg(i % 36 + 1, 2, 10, QLatin1Char('0'));
            QString row =
                QStringLiteral(
                    "<tr><td class=\"qh\">20%1</td><td>2017-01-01</td><td No=\"%2\"><em>%2</em></td></tr>")
                    .arg(i, 5, 10, QLatin1Char('0'))
                    .arg(number);
            row += QString(rowLength - row.size() - 1, QLatin1Char(' '));
            text += row + QLatin1Char('\n');
        }
        text += QStringLiteral("</table></body></html>");
        text += QString(kPageLength - text.size(), QLatin1Char(' '));
        return text;
    }();
    return page;
}

void BM_ScanPage(benchmark::State& state) {
    const QString& page = generatedPage();
    qsizetype draws = 0;
    for (auto _ : state) {
        dravik::DrawList found;
        dravik::scanPage(page, found, [] {});
        draws = found.records().size();
        benchmark::DoNotOptimize(draws);
    }
    state.counters["draws"] = static_cast<double>(draws);
    state.SetBytesProcessed(state.iterations() * page.size() * qsizetype{sizeof(QChar)});
}
BENCHMARK(BM_ScanPage)->Unit(benchmark::kMillisecond);

// The floor the scan is measured against: one pass finding every period marker.
void BM_PeriodMarkerIndexOf(benchmark::State& state) {
    const QString& page = generatedPage();
    qsizetype markers = 0;
    for (auto _ : state) {
        markers = 0;
        for (qsizetype at = page.indexOf(dravik::kPeriodMarker); at >= 0;
             at = page.indexOf(dravik::kPeriodMarker, at + 1))
            ++markers;
        benchmark::DoNotOptimize(markers);
    }
    state.counters["markers"] = static_cast<double>(markers);
    state.SetBytesProcessed(state.iterations() * page.size() * qsizetype{sizeof(QChar)});
}
BENCHMARK(BM_PeriodMarkerIndexOf)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
