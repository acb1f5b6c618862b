// A 5,000-row history page read into lines, as an archive's address gives it to the import, set against
// what libxml2's parser alone takes over the same page and what decoding its bytes alone takes, so that
// the figure means something on whatever machine runs it.
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

constexpr int kParseOptions =
    HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING;

// The floor: libxml2's HTML parser over the same page in UTF-8, its events counted and nothing else.
void BM_LibXml2EventsFloor(benchmark::State& state) {
    const QByteArray& page = utf8Page();
    for (auto _ : state) {
        htmlParserCtxtPtr parser = htmlNewParserCtxt();
        *parser->sax = htmlSAXHandler{};
        static long events = 0;
        parser->sax->startElement = [](void*, const xmlChar*, const xmlChar**) { ++events; };
        parser->sax->endElement = [](void*, const xmlChar*) { ++events; };
        parser->sax->characters = [](void*, const xmlChar*, int) { ++events; };
        htmlCtxtReadMemory(parser, page.constData(), int(page.size()), nullptr, "UTF-8", kParseOptions);
        htmlFreeParserCtxt(parser);
        benchmark::DoNotOptimize(events);
    }
}
BENCHMARK(BM_LibXml2EventsFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// What the reader does not do: libxml2 building the page's tree (and freeing it) with htmlReadMemory.
void BM_LibXml2Tree(benchmark::State& state) {
    const QByteArray& page = utf8Page();
    for (auto _ : state) {
        htmlDocPtr document =
            htmlReadMemory(page.constData(), int(page.size()), nullptr, "UTF-8", kParseOptions);
        if (!document)
            state.SkipWithError("no document");
        xmlFreeDoc(document);
    }
}
BENCHMARK(BM_LibXml2Tree)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The GBK page's bytes decoded, and nothing else.
void BM_DecodeGbkFloor(benchmark::State& state) {
    const QByteArray& page = gbkPage();
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeLeniently(page, "GB18030"));
}
BENCHMARK(BM_DecodeGbkFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace
