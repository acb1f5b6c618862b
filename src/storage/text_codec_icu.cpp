#include "storage/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Linux: Qt's converters, backed by ICU for the sets beyond the Unicode forms and Latin-1.

namespace dravik {

bool isKnownCharset(const char* charset) {
    return QStringDecoder(charset).isValid();
}

std::optional<QString> decodeStrictly(QByteArrayView bytes, const char* charset) {
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
    QStringDecoder decoder(charset, mark == InitialMark::Keep ? QStringConverter::Flag::ConvertInitialBom
                                                              : QStringConverter::Flag::Default);
    return decoder.isValid() ? QString(decoder(bytes)) : QString();
}

QByteArray encodeInCharset(QStringView text, const char* charset) {
    QStringEncoder encoder(charset);
    return encoder.isValid() ? QByteArray(encoder(text)) : QByteArray();
}

} // namespace dravik
