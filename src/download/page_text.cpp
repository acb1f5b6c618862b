#include "download/page_text.h"

#include "storage/text_codec.h"

#include <algorithm>
#include <optional>

namespace dravik {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

QByteArrayView trimmed(QByteArrayView text) {
    while (!text.isEmpty() && isSpace(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isSpace(text.back()))
        text.chop(1);
    return text;
}

// The next "<meta" from `from` on, in any letter case.
qsizetype nextMetaTag(QByteArrayView page, qsizetype from) {
    for (qsizetype at = page.indexOf('<', from); at >= 0; at = page.indexOf('<', at + 1)) {
        if (at + 5 <= page.size() && qstrnicmp(page.data() + at + 1, "meta", 4) == 0)
            return at;
    }
    return -1;
}

bool equalsNoCase(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && qstrnicmp(a.data(), b.data(), a.size()) == 0;
}

// One attribute of an element's start tag: `name`, `name=value`, `name="value"` or `name='value'`.
struct Attribute {
    QByteArrayView name;
    QByteArrayView value;
};

// Reads the attribute at `pos` inside `tag` (the text between the element name and ">"); advances `pos`.
std::optional<Attribute> nextAttribute(QByteArrayView tag, qsizetype& pos) {
    while (pos < tag.size() && (isSpace(tag[pos]) || tag[pos] == '/'))
        ++pos;
    if (pos >= tag.size())
        return std::nullopt;
    const qsizetype nameStart = pos;
    while (pos < tag.size() && !isSpace(tag[pos]) && tag[pos] != '=' && tag[pos] != '/')
        ++pos;
    Attribute attribute{tag.sliced(nameStart, pos - nameStart), {}};
    qsizetype look = pos;
    while (look < tag.size() && isSpace(tag[look]))
        ++look;
    if (look >= tag.size() || tag[look] != '=')
        return attribute;
    pos = look + 1;
    while (pos < tag.size() && isSpace(tag[pos]))
        ++pos;
    if (pos < tag.size() && (tag[pos] == '"' || tag[pos] == '\'')) {
        const char quote = tag[pos++];
        const qsizetype valueStart = pos;
        while (pos < tag.size() && tag[pos] != quote)
            ++pos;
        attribute.value = tag.sliced(valueStart, pos - valueStart);
        if (pos < tag.size())
            ++pos;
    } else {
        const qsizetype valueStart = pos;
        while (pos < tag.size() && !isSpace(tag[pos]))
            ++pos;
        attribute.value = tag.sliced(valueStart, pos - valueStart);
    }
    return attribute;
}

} // namespace

QByteArray decoderNameOfCharset(const QByteArray& charset) {
    if (equalsNoCase(charset, "gb2312") || equalsNoCase(charset, "gbk") || equalsNoCase(charset, "x-gbk"))
        return "GB18030";
    return charset;
}

QByteArray charsetOfContentType(QByteArrayView contentType) {
    qsizetype pos = contentType.indexOf(';');
    while (pos >= 0) {
        const qsizetype end = contentType.indexOf(';', pos + 1);
        const QByteArrayView parameter =
            contentType.sliced(pos + 1, (end < 0 ? contentType.size() : end) - pos - 1);
        const qsizetype equals = parameter.indexOf('=');
        if (equals >= 0 && equalsNoCase(trimmed(parameter.first(equals)), "charset")) {
            QByteArrayView value = trimmed(parameter.sliced(equals + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.sliced(1, value.size() - 2);
            return trimmed(value).toByteArray();
        }
        pos = end;
    }
    return {};
}

QByteArray charsetOfMeta(QByteArrayView page) {
    qsizetype close = 0;
    for (qsizetype at = nextMetaTag(page, 0); at >= 0; at = nextMetaTag(page, std::max(at + 5, close))) {
        const qsizetype tagStart = at + 5;
        if (tagStart < page.size() && !isSpace(page[tagStart]) && page[tagStart] != '/')
            continue; // <metadata> or the like
        close = page.indexOf('>', tagStart);
        const QByteArrayView tag = page.sliced(tagStart, (close < 0 ? page.size() : close) - tagStart);
        bool contentTypeMeta = false;
        QByteArrayView content;
        qsizetype pos = 0;
        while (const std::optional<Attribute> attribute = nextAttribute(tag, pos)) {
            if (equalsNoCase(attribute->name, "http-equiv"))
                contentTypeMeta = equalsNoCase(trimmed(attribute->value), "content-type");
            else if (equalsNoCase(attribute->name, "content"))
                content = attribute->value;
        }
        if (contentTypeMeta) {
            const QByteArray charset = charsetOfContentType(content);
            if (!charset.isEmpty())
                return charset;
        }
        if (close < 0)
            break;
    }
    return {};
}

QString decodePageText(const QByteArray& body, QByteArrayView contentType) {
    QByteArray charset = charsetOfContentType(contentType);
    if (charset.isEmpty())
        charset = charsetOfMeta(body);
    if (!charset.isEmpty()) {
        const QByteArray name = decoderNameOfCharset(charset);
        if (isKnownCharset(name.constData()))
            return decodeLeniently(body, name.constData(), InitialMark::Skip);
    }
    return QString::fromLatin1(body);
}

} // namespace dravik
