#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace dravik {

// The encoding a list of lines carries from the file it was read from to the file it is written to.
// A file without a byte-order mark is UTF-8 when its bytes are valid UTF-8, else GB18030 (archives
// brought from Chinese Windows machines); new files are UTF-8 without a mark.
enum class TextEncoding { Utf8, Gb18030, Utf8Bom, Utf16Le, Utf16Be };

struct RecordLines {
    QStringList lines;
    TextEncoding encoding = TextEncoding::Utf8;
};

// Calls `visit(line)` for every line of the text, in order: CR LF, a lone CR and LF each end a line;
// a line end at the very end starts no further line. The lines are views into the text.
template <typename Visit> void forEachLine(QStringView text, Visit visit) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > u'\r' || (c != u'\r' && c != u'\n'))
            continue;
        visit(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        visit(text.sliced(start));
}

// Calls `visit(p)` for every position of a CR or LF byte, in order. Record lines are a dozen bytes
// long, so the bytes are tested sixteen at a time where the processor allows.
template <typename Visit> void forEachLineEndByte(const char* data, qsizetype size, Visit visit) {
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        unsigned mask =
            unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf))));
        while (mask) {
            visit(i + qCountTrailingZeroBits(mask));
            mask &= mask - 1;
        }
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '\r' || data[i] == '\n')
            visit(i);
    }
}

// forEachLine over UTF-8 or GB18030 bytes, where the bytes of CR and LF occur in no other character.
template <typename Visit> void forEachByteLine(QByteArrayView text, Visit visit) {
    const char* data = text.data();
    qsizetype start = 0;
    forEachLineEndByte(data, text.size(), [&](qsizetype at) {
        // An LF right after a CR completes the CR LF that already ended the line.
        if (!(data[at] == '\n' && at > 0 && data[at - 1] == '\r'))
            visit(text.sliced(start, at - start));
        start = at + 1;
    });
    if (start < text.size())
        visit(text.sliced(start));
}

// The text up to its first NUL: a NUL ends the text of a record file.
QStringView textBeforeNul(QStringView text);

// Splits text into lines by the rule of forEachLine; a NUL ends the text.
QStringList splitLines(QStringView text);
// The same line ends without the NUL rule, for text where every character is kept.
QStringList splitLineEnds(QStringView text);

// Bytes of a text file to text and back, by the same mark and encoding rules as record files. Settings
// files use these directly: they must keep every character, also those after a NUL.
struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};
DecodedText decodeText(const QByteArray& bytes);
QByteArray encodeText(const QString& text, TextEncoding encoding);
// The encoding that decodeText finds in what encodeText writes: the given one, except for GB18030
// text that goes out as UTF-8.
TextEncoding encodingAfterWriting(const QString& text, TextEncoding encoding);

// The text of a record file's bytes, up to the NUL that ends it, and its encoding.
DecodedText decodeRecordText(const QByteArray& bytes);

// The text of a record file's bytes when they are not UTF-16: the bytes before the NUL that ends it,
// without the mark, and their encoding (Utf8, Utf8Bom or Gb18030). Nothing for UTF-16. Raises the
// decoding error of a marked file that is not UTF-8 throughout.
struct ByteText {
    QByteArrayView text;
    TextEncoding encoding = TextEncoding::Utf8;
};
std::optional<ByteText> byteRecordText(QByteArrayView bytes);

// Bytes of a record file to lines and back. Decoding raises "No mapping for the Unicode character
// exists in the target multi-byte code page" for invalid UTF-8 after a UTF-8 mark; GB18030 text, read
// or written, raises the text codec's error where the system cannot convert GB18030 (text_codec.h).
RecordLines decodeRecordBytes(const QByteArray& bytes);
QByteArray encodeRecordLines(const QStringList& lines, TextEncoding encoding);

// A record file's bytes; nothing when no file is there. Raises "Cannot open file "<path>". <reason>".
std::optional<QByteArray> readRecordBytes(const QString& path);
// Reads a record file; nothing when no file is there. Raises "Cannot open file "<path>". <reason>".
std::optional<RecordLines> readRecordFile(const QString& path);

// The latest lines of a record file and how many lines it holds in all: what an analysis needs. A long
// history is counted in its bytes, and only the kept lines are decoded and made into strings.
struct RecordTail {
    qsizetype lineCount = 0;
    QStringList lines; // the last `keep` lines, or all of them when there are fewer
};

// Gives the same lines, encoding checks and errors as readRecordFile, keeping only the last `keep`.
std::optional<RecordTail> readRecordTail(const QString& path, qsizetype keep);

// Replaces the file's content with the lines, each followed by CR LF, in the given encoding. Raises
// "Cannot create file "<path>". <reason>" and then leaves the old file as it was.
void writeRecordFile(const QString& path, const QStringList& lines, TextEncoding encoding);
// The same for bytes already encoded.
void writeRecordBytes(const QString& path, const QByteArray& bytes);
// The mark a file in that encoding begins with, if any.
QByteArray markOf(TextEncoding encoding);

} // namespace dravik
