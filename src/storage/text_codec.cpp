#include "storage/text_codec.h"

#include "storage/own_charset.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace dravik {

bool isKnownCharset(const char* charset) {
    return ownCharset(charset) || QStringDecoder(charset).isValid();
}

std::optional<QString> decodeStrictly(QByteArrayView bytes, const char* charset) {
    if (const OwnCharset* own = ownCharset(charset))
        return own->decode(bytes, true);
    QStringDecoder decoder(charset,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString decodeLeniently(QByteArrayView bytes, const char* charset, InitialMark mark) {
    if (const OwnCharset* own = ownCharset(charset))
        return *own->decode(bytes, false);
    QStringDecoder decoder(charset, mark == InitialMark::Keep ? QStringConverter::Flag::ConvertInitialBom
                                                              : QStringConverter::Flag::Default);
    return decoder.isValid() ? QString(decoder(bytes)) : QString();
}

QByteArray encodeInCharset(QStringView text, const char* charset) {
    if (const OwnCharset* own = ownCharset(charset))
        return own->encode(text);
    QStringEncoder encoder(charset);
    return encoder.isValid() ? QByteArray(encoder(text)) : QByteArray();
}

} // namespace dravik
