#include "storage/record_file.h"

#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/text_codec.h"
#include "storage/whole_file.h"

#include <QFile>
#include <algorithm>
#include <vector>

namespace dravik {

namespace {

const QString kNoMapping =
    QStringLiteral("No mapping for the Unicode character exists in the target multi-byte code page");

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

// GB18030 that may hold invalid bytes: each becomes U+FFFD. A sequence cut short at the very end
// would vanish without a trace; followed by a line end it turns into U+FFFD like any other, and the
// line end goes again.
QString decodeGb18030Leniently(QByteArrayView bytes) {
    QString text = decodeLeniently(bytes.toByteArray() + '\n', codecOf(TextEncoding::Gb18030));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

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

QStringList splitLineEnds(QStringView text) {
    QStringList lines;
    forEachLine(text, [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

QStringView textBeforeNul(QStringView text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul >= 0 ? text.first(nul) : text;
}

QStringList splitLines(QStringView text) {
    return splitLineEnds(textBeforeNul(text));
}

DecodedText decodeText(const QByteArray& bytes) {
    DecodedText result;
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
        text = decodeStrictly(body, codecOf(TextEncoding::Utf8));
        if (!text) {
            result.encoding = TextEncoding::Gb18030;
            text = decodeStrictly(body, codecOf(TextEncoding::Gb18030));
        }
    } else {
        text = decodeStrictly(body, codecOf(result.encoding));
    }
    if (!text) {
        if (result.encoding == TextEncoding::Utf8Bom)
            throw Error(kNoMapping);
        // UTF-16 and GB18030 map every sequence to something; keep what the decoder made of it.
        if (result.encoding == TextEncoding::Gb18030) {
            text = decodeGb18030Leniently(body);
        } else {
            text = decodeLeniently(body, codecOf(result.encoding));
        }
    }
    result.text = *text;
    return result;
}

namespace {

// A file without a mark reads as UTF-8 whenever its bytes are valid UTF-8. GB18030 bytes can be that
// too (C2 A0 is a Chinese character in GB18030, a no-break space in UTF-8), for instance once the one
// line with bytes invalid in UTF-8 has been deleted or replaced; reading them back would then give
// other characters. Such a text goes out as UTF-8, which reads back unchanged.
bool goesOutAsUtf8(const QByteArray& bytes, TextEncoding encoding) {
    return encoding == TextEncoding::Gb18030 && decodeStrictly(bytes, codecOf(TextEncoding::Utf8));
}

} // namespace

QByteArray encodeText(const QString& text, TextEncoding encoding) {
    const QByteArray bytes = encodeInCharset(text, codecOf(encoding));
    if (goesOutAsUtf8(bytes, encoding))
        return text.toUtf8();
    return markOf(encoding) + bytes;
}

TextEncoding encodingAfterWriting(const QString& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Gb18030 &&
        goesOutAsUtf8(encodeInCharset(text, codecOf(encoding)), encoding))
        return TextEncoding::Utf8;
    return encoding;
}

DecodedText decodeRecordText(const QByteArray& bytes) {
    // A NUL ends a record file's text, so only the bytes before it may decide between UTF-8 and
    // GB18030: stray bytes after it would otherwise turn a UTF-8 file into GB18030 garbage, which
    // the next save would then write back. With a mark the encoding is known and NUL bytes belong to
    // UTF-16 characters.
    if (!bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF")) {
        const qsizetype nul = bytes.indexOf('\0');
        return decodeText(nul >= 0 ? bytes.left(nul) : bytes);
    }
    DecodedText decoded = decodeText(bytes);
    decoded.text.truncate(textBeforeNul(decoded.text).size());
    return decoded;
}

RecordLines decodeRecordBytes(const QByteArray& bytes) {
    const DecodedText decoded = decodeRecordText(bytes);
    return {splitLineEnds(decoded.text), decoded.encoding};
}

QByteArray encodeRecordLines(const QStringList& lines, TextEncoding encoding) {
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return encodeText(text, encoding);
}

std::optional<QByteArray> readRecordBytes(const QString& path) {
    QFile file(path);
    if (!fileExists(path))
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return file.readAll();
}

std::optional<RecordLines> readRecordFile(const QString& path) {
    const std::optional<QByteArray> bytes = readRecordBytes(path);
    if (!bytes)
        return std::nullopt;
    return decodeRecordBytes(*bytes);
}

std::optional<ByteText> byteRecordText(QByteArrayView bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return std::nullopt;
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    QByteArrayView body = bytes.sliced(marked ? 3 : 0);
    // In UTF-8 and GB18030 the byte of NUL never occurs inside another character, so the text ends
    // at the first NUL byte. The encoding is decided as when the text is decoded: a marked file must
    // be valid UTF-8 throughout, an unmarked one is UTF-8 when its bytes before a NUL are.
    const qsizetype nul = body.indexOf('\0');
    if (marked && !body.isValidUtf8())
        throw Error(kNoMapping);
    if (nul >= 0)
        body = body.first(nul);
    if (marked)
        return ByteText{body, TextEncoding::Utf8Bom};
    return ByteText{body, body.isValidUtf8() ? TextEncoding::Utf8 : TextEncoding::Gb18030};
}

std::optional<RecordTail> readRecordTail(const QString& path, qsizetype keep) {
    QFile file(path);
    if (!fileExists(path))
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    // Mapping spares copying a long history into memory of our own; whatever cannot be mapped is read.
    QByteArray readBytes;
    QByteArrayView bytes;
    if (uchar* mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr) {
        bytes = QByteArrayView(mapped, file.size());
    } else {
        readBytes = file.readAll();
        bytes = readBytes;
    }
    keep = std::max<qsizetype>(keep, 0);

    // UTF-16 has no byte-level line ends; such files are rare and read whole.
    const std::optional<ByteText> text = byteRecordText(bytes);
    if (!text) {
        const QStringList lines = decodeRecordBytes(bytes.toByteArray()).lines;
        return RecordTail{lines.size(), lines.mid(std::max<qsizetype>(lines.size() - keep, 0))};
    }

    // Count the lines in the bytes, remembering where each of the last `keep` starts.
    const QByteArrayView body = text->text;
    std::vector<qsizetype> starts(size_t(std::max<qsizetype>(keep, 1)));
    qsizetype count = 0;
    forEachByteLine(body, [&](QByteArrayView line) {
        starts[size_t(count % qsizetype(starts.size()))] = line.data() - body.data();
        ++count;
    });

    RecordTail tail;
    tail.lineCount = count;
    if (keep == 0)
        return tail;
    const qsizetype first = count <= keep ? 0 : starts[size_t(count % keep)];
    if (text->encoding == TextEncoding::Gb18030) {
        tail.lines = splitLines(decodeGb18030Leniently(body.sliced(first)));
    } else {
        tail.lines = splitLines(decodeLeniently(body.sliced(first), codecOf(TextEncoding::Utf8)));
    }
    return tail;
}

void writeRecordFile(const QString& path, const QStringList& lines, TextEncoding encoding) {
    writeRecordBytes(path, encodeRecordLines(lines, encoding));
}

void writeRecordBytes(const QString& path, const QByteArray& bytes) {
    QString reason;
    if (!replaceWholeFile(path, bytes, &reason))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason));
}

} // namespace dravik
