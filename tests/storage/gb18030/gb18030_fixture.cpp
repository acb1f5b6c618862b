#include "gb18030_fixture.h"

#include <QFile>
#include <QList>
#include <QTextStream>

namespace dravik::test {

namespace {

constexpr qsizetype kTwoByteCodes = 126 * 190;
constexpr qsizetype kFourByteCodes = 39420 + 0x100000; // the rest of the BMP, the supplementary planes

std::uint32_t numberOf(std::uint32_t code) {
    return ((((code >> 24) - 0x81) * 10 + ((code >> 16 & 0xFF) - 0x30)) * 126 + ((code >> 8 & 0xFF) - 0x81)) *
               10 +
           ((code & 0xFF) - 0x30);
}

std::uint32_t codeOf(std::uint32_t number) {
    std::uint32_t code = 0x30 + number % 10;
    number /= 10;
    code |= (0x81 + number % 126) << 8;
    number /= 126;
    code |= (0x30 + number % 10) << 16;
    return code | (0x81 + number / 10) << 24;
}

QString codeName(std::uint32_t code) {
    return QString::number(code, 16).toUpper();
}

QString characterName(char32_t character) {
    return QStringLiteral("U+%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper();
}

// The character as text (QString::fromUcs4 would take U+FEFF for a byte-order mark and drop it).
QString textOf(char32_t character) {
    if (QChar::requiresSurrogates(character))
        return QString(QChar(QChar::highSurrogate(character))) + QChar(QChar::lowSurrogate(character));
    return QString(QChar(char16_t(character)));
}

QString charactersName(QStringView text) {
    QStringList names;
    for (const uint character : text.toUcs4())
        names.append(characterName(character));
    return names.isEmpty() ? QStringLiteral("nothing") : names.join(QLatin1Char(' '));
}

} // namespace

QByteArray gb18030Bytes(std::uint32_t code) {
    QByteArray bytes;
    for (int shift = code > 0xFFFF ? 24 : 8; shift >= 0; shift -= 8)
        bytes.append(char(code >> shift & 0xFF));
    return bytes;
}

std::optional<std::vector<Gb18030Code>> readGb18030Fixture() {
    QFile file(QStringLiteral(":/gb18030/gb18030_linux.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::vector<Gb18030Code> codes;
    codes.reserve(kTwoByteCodes + kFourByteCodes);
    qsizetype twoByte = 0;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QString line;
    while (in.readLineInto(&line)) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(' '));
        bool ok[3] = {};
        if (fields.size() == 2 && fields[0].size() == 2) {
            const uint lead = fields[0].toUInt(&ok[0], 16);
            if (!ok[0] || fields[1].size() != 190)
                return std::nullopt;
            for (int trail = 0x40, i = 0; trail <= 0xFE; ++trail) {
                if (trail != 0x7F)
                    codes.push_back({lead << 8 | uint(trail), fields[1][i++].unicode()});
            }
            twoByte += 190;
        } else if (fields.size() == 3) {
            const std::uint32_t first = numberOf(fields[0].toUInt(&ok[0], 16));
            const std::uint32_t last = numberOf(fields[1].toUInt(&ok[1], 16));
            const char32_t character = fields[2].toUInt(&ok[2], 16);
            if (!ok[0] || !ok[1] || !ok[2] || last < first)
                return std::nullopt;
            for (std::uint32_t number = first; number <= last; ++number)
                codes.push_back({codeOf(number), character + (number - first)});
        } else {
            return std::nullopt;
        }
    }
    if (twoByte != kTwoByteCodes || qsizetype(codes.size()) != kTwoByteCodes + kFourByteCodes)
        return std::nullopt;
    return codes;
}

QStringList gb18030Differences(const std::vector<Gb18030Code>& fixture, const Gb18030Decode& decode,
                               const Gb18030Encode& encode) {
    QByteArray bytes;
    QString text;
    for (const Gb18030Code& code : fixture) {
        bytes += gb18030Bytes(code.code);
        text += textOf(code.character);
    }
    // All at once first; code by code only to name the differences.
    if (decode(bytes) == text && encode(text) == bytes)
        return {};
    QStringList differences;
    for (const Gb18030Code& code : fixture) {
        const QByteArray codeBytes = gb18030Bytes(code.code);
        const QString character = textOf(code.character);
        const std::optional<QString> read = decode(codeBytes);
        if (read != character) {
            differences.append(QStringLiteral("%1 reads as %2, on Linux %3")
                                   .arg(codeName(code.code),
                                        read ? charactersName(*read) : QStringLiteral("invalid"),
                                        characterName(code.character)));
        }
        const QByteArray written = encode(character);
        if (written != codeBytes) {
            differences.append(QStringLiteral("%1 writes as %2, on Linux %3")
                                   .arg(characterName(code.character),
                                        QString::fromLatin1(written.toHex().toUpper()), codeName(code.code)));
        }
    }
    if (differences.isEmpty())
        differences.append(
            QStringLiteral("every code reads and writes alone as on Linux, but not all together"));
    return differences;
}

} // namespace dravik::test
