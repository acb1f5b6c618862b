#include "storage/record_file.h"

#include "storage/error.h"
#include "storage/whole_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

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

} // namespace

QStringList splitLines(QStringView text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text = text.left(nul);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
    return lines;
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
        if (result.encoding == TextEncoding::Gb18030) {
            // A GB18030 sequence cut short at the very end would vanish without a trace; followed by
            // a line end it turns into U+FFFD like any other invalid byte, and the line end goes again.
            QString decoded = lenient(body.toByteArray() + '\n');
            if (decoded.endsWith(QLatin1Char('\n')))
                decoded.chop(1);
            text = decoded;
        } else {
            text = lenient(body);
        }
    }
    result.text = *text;
    return result;
}

QByteArray encodeText(const QString& text, TextEncoding encoding) {
    QStringEncoder encoder(codecOf(encoding));
    const QByteArray bytes = encoder(text);
    // A file without a mark reads as UTF-8 whenever its bytes are valid UTF-8. GB18030 bytes can be
    // that too (C2 A0 is a Chinese character in GB18030, a no-break space in UTF-8), for instance
    // once the one line with bytes invalid in UTF-8 has been deleted or replaced; reading them back
    // would then give other characters. Such a text goes out as UTF-8, which reads back unchanged.
    if (encoding == TextEncoding::Gb18030 && decode(bytes, TextEncoding::Utf8))
        return text.toUtf8();
    return markOf(encoding) + bytes;
}

RecordLines decodeRecordBytes(const QByteArray& bytes) {
    // A NUL ends a record file's text, so only the bytes before it may decide between UTF-8 and
    // GB18030: stray bytes after it would otherwise turn a UTF-8 file into GB18030 garbage, which
    // the next save would then write back. With a mark the encoding is known and NUL bytes belong to
    // UTF-16 characters.
    if (!bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF")) {
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0) {
            DecodedText decoded = decodeText(bytes.left(nul));
            return {splitLines(decoded.text), decoded.encoding};
        }
    }
    DecodedText decoded = decodeText(bytes);
    return {splitLines(decoded.text), decoded.encoding};
}

QByteArray encodeRecordLines(const QStringList& lines, TextEncoding encoding) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return encodeText(text, encoding);
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
