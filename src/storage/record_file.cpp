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
        text = lenient(body);
    }
    result.text = *text;
    return result;
}

QByteArray encodeText(const QString& text, TextEncoding encoding) {
    QStringEncoder encoder(codecOf(encoding));
    return markOf(encoding) + QByteArray(encoder(text));
}

RecordLines decodeRecordBytes(const QByteArray& bytes) {
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
