// Record files from arbitrary bytes: reading never fails except for a broken UTF-8 file with a
// mark, and whatever was read writes back to bytes that read as the same lines in the same
// encoding, and write again to the very same bytes. Reading only the tail of the file, as the
// analysis does, gives the last lines of the whole read and its line count, or the same error.
#include "fuzz_support.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "storage/record_order.h"

#include <QFile>
#include <QTemporaryDir>

using namespace dravik;
using dravik::fuzz::isValidUtf8;

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);

TextEncoding expectedEncoding(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Mark))
        return TextEncoding::Utf8Bom;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16Le;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16Be;
    // A NUL ends the text: what follows it has no say in the encoding.
    const qsizetype nul = bytes.indexOf('\0');
    return isValidUtf8(nul < 0 ? bytes : bytes.left(nul)) ? TextEncoding::Utf8 : TextEncoding::Gb18030;
}

void checkTail(const QByteArray& bytes) {
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("fuzz.dat"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   file.write(bytes) == bytes.size());
    }
    std::optional<QStringList> whole;
    QString wholeError;
    try {
        whole = readRecordFile(path)->lines;
    } catch (const Error& error) {
        wholeError = error.message();
    }
    for (const qsizetype keep : {0, 2, 100}) {
        try {
            const std::optional<RecordTail> tail = readRecordTail(path, keep);
            FUZZ_CHECK(whole && tail);
            FUZZ_CHECK(tail->lineCount == whole->size());
            FUZZ_CHECK(tail->lines == whole->mid(std::max<qsizetype>(whole->size() - keep, 0)));
        } catch (const Error& error) {
            FUZZ_CHECK(!whole && error.message() == wholeError);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkTail(bytes);
    const bool brokenUtf8 = bytes.startsWith(kUtf8Mark) && !isValidUtf8(bytes.mid(3));

    RecordLines read;
    try {
        read = decodeRecordBytes(bytes);
    } catch (const Error& error) {
        FUZZ_CHECK(brokenUtf8);
        FUZZ_CHECK(error.message() ==
                   "No mapping for the Unicode character exists in the target multi-byte code page");
        return 0;
    }
    FUZZ_CHECK(!brokenUtf8);
    FUZZ_CHECK(read.encoding == expectedEncoding(bytes));

    for (const QString& line : std::as_const(read.lines)) {
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        FUZZ_CHECK(!line.contains(QChar(u'\0')));
        if (line.contains(QLatin1Char('.')))
            FUZZ_CHECK(periodOf(line) + QLatin1Char('.') + drawNumberOf(line) == line);
        else
            FUZZ_CHECK(periodOf(line).isEmpty() && drawNumberOf(line) == line);
    }

    const QByteArray written = encodeRecordLines(read.lines, read.encoding);
    RecordLines reread;
    try {
        reread = decodeRecordBytes(written);
    } catch (const Error&) {
        FUZZ_CHECK(!"a file the program wrote cannot be read back");
    }
    FUZZ_CHECK(reread.lines == read.lines);
    // GB18030 lines whose bytes would read as UTF-8 are written as UTF-8 and read back as such.
    FUZZ_CHECK(reread.encoding == read.encoding ||
               (read.encoding == TextEncoding::Gb18030 && reread.encoding == TextEncoding::Utf8));
    FUZZ_CHECK(encodeRecordLines(reread.lines, reread.encoding) == written);
    return 0;
}
