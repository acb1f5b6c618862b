#include "storage/record_file.h"

#include "storage/error.h"
#include "storage/whole_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace dravik {

namespace {

const QString kNoMapping =
    QStringLiteral("No mapping for the Unicode character exists in the target multi-byte code page");

QByteArray markOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF", 3);
    case TextEncoding::Utf16Le:
        return QByteArray("\xFF\xFE", 2);
    case TextEncoding::Utf16Be:
        return QByteArray("\xFE\xFF", 2);
    case TextEncoding::Utf8:
    case TextEncoding::Gb18030:
        break;
    }
    return {};
}

const char* codecOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Gb18030:
        return "GB18030";
    case TextEncoding::Utf16Le:
        return "UTF-16LE";
    case TextEncoding::Utf16Be:
        return "UTF-16BE";
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        break;
    }
    return "UTF-8";
}

// Returns the decoded text, or nothing when the bytes are not valid in that encoding.
std::optional<QString> decode(QByteArrayView bytes, TextEncoding encoding) {
    QStringDecoder decoder(codecOf(encoding),
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Where the next CR or LF lies in [p, end), or end. Eight characters at a time where SSE2 is there:
// lines are short, but a million of them make this the loop that reading a record file spends on.
const char16_t* nextLineEnd(const char16_t* p, const char16_t* end) {
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; end - p >= 8; p += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(chars, cr), _mm_cmpeq_epi16(chars, lf)));
        if (mask != 0)
            return p + __builtin_ctz(unsigned(mask)) / 2;
    }
#endif
    for (; p < end; ++p) {
        if (*p == u'\r' || *p == u'\n')
            return p;
    }
    return end;
}

// How many CR and LF characters [p, end) holds: a bound on its line count, so that the list of lines
// is made once at its size instead of growing through a million appends.
qsizetype lineEndCount(const char16_t* p, const char16_t* end) {
    qsizetype count = 0;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; end - p >= 8; p += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(chars, cr), _mm_cmpeq_epi16(chars, lf)));
        count += __builtin_popcount(unsigned(mask)) / 2;
    }
#endif
    for (; p < end; ++p)
        count += *p == u'\r' || *p == u'\n';
    return count;
}

// A record file may hold a million lines, and one allocation per line made reading it a matter of
// allocator speed. So all lines of a text share one block, the text itself: every line end in it
// becomes a NUL, and each line is a QString over its own part of the block, NUL-terminated there as a
// QString's data always is (a CR LF leaves its LF unused behind the NUL). The block is
// reference-counted like any QString data: lines outlive the list and each other freely, and changing
// a line copies it first, as for any shared QString.
QStringList splitOwnedText(QString text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data()); // our own copy from here on
    char16_t* const end = begin + (nul >= 0 ? nul : text.size());
    QStringList lines;
    if (begin == end)
        return lines;
    lines.reserve(lineEndCount(begin, end) + 1);

    // No other thread can see the block until the list is returned, so each line's reference is
    // taken with a plain increment, before the line exists: whatever throws leaves the count right.
    QString::DataPointer& shared = text.data_ptr();
    QArrayData* const header = shared.d_ptr();
    auto appendLine = [&](char16_t* from, char16_t* to) {
        *to = u'\0';
        header->ref_.storeRelaxed(header->ref_.loadRelaxed() + 1);
        lines.append(QString(QString::DataPointer(shared.d_ptr(), from, to - from)));
    };
    char16_t* lineStart = begin;
    while (lineStart < end) {
        char16_t* const lineEnd = const_cast<char16_t*>(nextLineEnd(lineStart, end));
        if (lineEnd == end) {
            appendLine(lineStart, end);
            break;
        }
        const bool pair = *lineEnd == u'\r' && lineEnd + 1 < end && lineEnd[1] == u'\n';
        appendLine(lineStart, lineEnd);
        lineStart = lineEnd + (pair ? 2 : 1);
    }
    return lines;
}

} // namespace

QStringList splitLines(QStringView text) {
    return splitOwnedText(text.toString());
}

RecordLines decodeRecordBytes(const QByteArray& bytes) {
    RecordLines result;
    QByteArrayView body = bytes;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        result.encoding = TextEncoding::Utf8Bom;
        body = body.sliced(3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        result.encoding = TextEncoding::Utf16Le;
        body = body.sliced(2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        result.encoding = TextEncoding::Utf16Be;
        body = body.sliced(2);
    }

    std::optional<QString> text;
    if (result.encoding == TextEncoding::Utf8) {
        text = decode(body, TextEncoding::Utf8);
        if (!text) {
            result.encoding = TextEncoding::Gb18030;
            text = decode(body, TextEncoding::Gb18030);
        }
    } else {
        text = decode(body, result.encoding);
    }
    if (!text) {
        if (result.encoding == TextEncoding::Utf8Bom)
            throw Error(kNoMapping);
        // UTF-16 and GB18030 map every sequence to something; keep what the decoder made of it.
        QStringDecoder lenient(codecOf(result.encoding), QStringConverter::Flag::ConvertInitialBom);
        text = lenient(body);
    }
    result.lines = splitOwnedText(std::move(*text));
    return result;
}

QByteArray encodeRecordLines(const QStringList& lines, TextEncoding encoding) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    QStringEncoder encoder(codecOf(encoding));
    return markOf(encoding) + QByteArray(encoder(text));
}

std::optional<RecordLines> readRecordFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return decodeRecordBytes(file.readAll());
}

void writeRecordFile(const QString& path, const QStringList& lines, TextEncoding encoding) {
    QString reason;
    if (!replaceWholeFile(path, encodeRecordLines(lines, encoding), &reason))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason));
}

} // namespace dravik
