// A 5,000-row history page read into lines, as an archive's address gives it to the import, set against
// what libxml2 alone takes to parse the same page and what decoding its bytes alone takes, so that the
// figure means something on whatever machine runs it.
#include "download/page_lines.h"
#include "history_table_page.h"
#include "storage/text_codec.h"

#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>

using namespace dravik;
using dravik::test::historyTablePage;
using dravik::test::lotteryDraws;
using dravik::test::PageCharset;

namespace {

constexpr int kRows = 5000;

const QByteArray& gbkPage() {
    static const QByteArray page = historyTablePage(lotteryDraws(kRows), PageCharset::Gbk);
    return page;
}

const QByteArray& utf8Page() {
    static const QByteArray page = historyTablePage(lotteryDraws(kRows), PageCharset::Utf8);
    return page;
}

void readInto(benchmark::State& state, const QByteArray& page, const QByteArray& contentType) {
    for (auto _ : state) {
        const std::optional<QStringList> lines = readPageLines(page, contentType);
        if (!lines || lines->size() != kRows + 1)
            state.SkipWithError("unexpected lines");
    }
    state.counters["page_KiB"] = double(page.size()) / 1024;
}

// The page in GBK, its charset in the HTTP header.
void BM_PageLinesGbkHeader(benchmark::State& state) {
    readInto(state, gbkPage(), "text/html; charset=GBK");
}
BENCHMARK(BM_PageLinesGbkHeader)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The same page in UTF-8, its charset in a meta only: libxml2 reads it twice, for the meta first.
void BM_PageLinesUtf8Meta(benchmark::State& state) {
    readInto(state, utf8Page(), "text/html");
}
BENCHMARK(BM_PageLinesUtf8Meta)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The floor: libxml2 building the tree of the same page in UTF-8, and nothing else.
void BM_LibXml2ParseFloor(benchmark::State& state) {
    const QByteArray& page = utf8Page();
    for (auto _ : state) {
        htmlDocPtr document =
            htmlReadMemory(page.constData(), int(page.size()), nullptr, "UTF-8",
                           HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING);
        if (!document)
            state.SkipWithError("no document");
        xmlFreeDoc(document);
    }
}
BENCHMARK(BM_LibXml2ParseFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The GBK page's bytes decoded, and nothing else.
void BM_DecodeGbkFloor(benchmark::State& state) {
    const QByteArray& page = gbkPage();
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeLeniently(page, "GB18030"));
}
BENCHMARK(BM_DecodeGbkFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace
