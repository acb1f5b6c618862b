// A raw HTTP body with an arbitrary Content-Type through the charset decoding and the page scan:
// the draws found are those a plain marker-by-marker reading finds, each once by the record
// comparison, and the pump runs once per draw found, repeats included.
#include "download/page_scan.h"
#include "download/page_text.h"
#include "fuzz_support.h"
#include "storage/record_order.h"

using namespace dravik;
using dravik::fuzz::ByteReader;

namespace {

// The scan as its rule reads, one marker search after another from where the last draw ended.
QStringList referenceScan(const QString& page) {
    QStringList records;
    qsizetype rest = 0;
    for (;;) {
        const qsizetype period = page.indexOf(QStringLiteral("\">20"), rest);
        const qsizetype number = page.indexOf(QStringLiteral("No=\""), rest);
        if (period < 0 || number < 0)
            return records;
        records.append(page.mid(period + 4, 5) + QLatin1Char('.') + page.mid(number + 4, 2));
        rest = std::min(number + 5, page.size());
    }
}

// Repeats dropped the slow way: compared with every line kept so far.
QStringList withoutRepeats(const QStringList& records) {
    QStringList kept;
    for (const QString& record : records) {
        bool repeated = false;
        for (const QString& held : std::as_const(kept))
            repeated = repeated || sameRecord(held, record);
        if (!repeated)
            kept.append(record);
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    const QByteArray contentType = in.bytes(in.byte() % 64);
    const QByteArray body = in.rest();

    charsetOfContentType(contentType);
    charsetOfMeta(body);
    const QString page = decodePageText(body, contentType);

    DrawList found;
    int pumped = 0;
    scanPage(page, found, [&pumped] { ++pumped; });
    const QStringList expected = referenceScan(page);
    FUZZ_CHECK(pumped == expected.size());
    // The slow comparison is quadratic; long lists are left to the length check.
    if (expected.size() <= 200)
        FUZZ_CHECK(found.records() == withoutRepeats(expected));
    FUZZ_CHECK(found.records().size() <= expected.size());
    FUZZ_CHECK(found.isEmpty() == expected.isEmpty());

    // A second page adds only draws not yet held.
    DrawList again = found;
    scanPage(page, again, [] {});
    FUZZ_CHECK(again.records() == found.records());
    return 0;
}
