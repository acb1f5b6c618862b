// A page body with a Content-Type, either one of those pages come with (HTML or text, with or without a
// charset, one that is no text) or arbitrary bytes, through the page reader: it never crashes, no line
// holds a NUL, CR or LF, a type that is no text gives nothing and any other type lines, and the lines
// of HTML have every cell's white space made one blank.
#include "download/page_lines.h"
#include "fuzz_support.h"

#include <iterator>

using namespace dravik;
using dravik::fuzz::ByteReader;

namespace {

const char* const kContentTypes[] = {
    "text/html",
    "text/html; charset=GBK",
    "text/html; charset=gb2312",
    "text/html; charset=utf-8",
    "text/html; charset=UTF-16",
    "text/html; charset=big5",
    "text/html; charset=x-unknown",
    "application/xhtml+xml",
    "",
    "text/plain",
    "text/plain; charset=utf-8",
    "text/plain; charset=GB18030",
    "text/plain; charset=utf-16le",
    "text/csv",
    "application/json",
    "image/png",
    "application/octet-stream",
};

bool isClean(const QString& line) {
    return !line.contains(QChar(u'\0')) && !line.contains(QChar(u'\r')) && !line.contains(QChar(u'\n'));
}

// A line of HTML: cells parted by tabs, each without white space at either end or two of it in a row.
bool isHtmlLine(const QString& line) {
    if (line.isEmpty())
        return false;
    const QStringList cells = line.split(u'\t');
    for (const QString& cell : cells) {
        if (cell != cell.simplified())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    const uint8_t choice = in.byte();
    const QByteArray contentType = choice & 0x80
                                       ? in.bytes(choice & 0x3F)
                                       : QByteArray(kContentTypes[choice % std::size(kContentTypes)]);
    const QByteArray body = in.rest();

    const std::optional<QStringList> lines = readPageLines(body, contentType);
    FUZZ_CHECK(lines.has_value() == mayBeTextPage(contentType));
    if (lines) {
        for (const QString& line : *lines)
            FUZZ_CHECK(isClean(line));
    }

    // The same bytes as the text of an HTML page, whatever they hold.
    for (const QString& line : htmlLines(QString::fromUtf8(body))) {
        FUZZ_CHECK(isClean(line));
        FUZZ_CHECK(isHtmlLine(line));
    }
    return 0;
}
