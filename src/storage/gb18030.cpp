#include "storage/gb18030.h"

#include "storage/error.h"

#include <utility>

namespace dravik {

namespace {

// GB18030 is GBK's two-byte codes, 81 of them mapped to characters of their own rather than GBK's
// private-use ones, and four-byte codes that number, in order, every other character: the rest of
// the Basic Multilingual Plane up to 84 31 A4 39, then the supplementary planes from 90 30 81 30.
// That is the 2000 edition; the mapping here is ICU's, which the Linux build converts with: the 2005
// edition, which gave A8BC the character that 2000 had numbered among the four-byte codes (below).
// The 2022 edition's characters for the codes A6D9.., FE59.. are not ICU 72's, nor ours.
constexpr std::pair<std::uint16_t, char16_t> kOwnCharacters[] = {
    {0xA2E3, u'\u20AC'}, {0xA8BF, u'\u01F9'}, {0xA989, u'\u303E'}, {0xA98A, u'\u2FF0'}, {0xA98B, u'\u2FF1'},
    {0xA98C, u'\u2FF2'}, {0xA98D, u'\u2FF3'}, {0xA98E, u'\u2FF4'}, {0xA98F, u'\u2FF5'}, {0xA990, u'\u2FF6'},
    {0xA991, u'\u2FF7'}, {0xA992, u'\u2FF8'}, {0xA993, u'\u2FF9'}, {0xA994, u'\u2FFA'}, {0xA995, u'\u2FFB'},
    {0xFE50, u'\u2E81'}, {0xFE54, u'\u2E84'}, {0xFE55, u'\u3473'}, {0xFE56, u'\u3447'}, {0xFE57, u'\u2E88'},
    {0xFE58, u'\u2E8B'}, {0xFE5A, u'\u359E'}, {0xFE5B, u'\u361A'}, {0xFE5C, u'\u360E'}, {0xFE5D, u'\u2E8C'},
    {0xFE5E, u'\u2E97'}, {0xFE5F, u'\u396E'}, {0xFE60, u'\u3918'}, {0xFE62, u'\u39CF'}, {0xFE63, u'\u39DF'},
    {0xFE64, u'\u3A73'}, {0xFE65, u'\u39D0'}, {0xFE68, u'\u3B4E'}, {0xFE69, u'\u3C6E'}, {0xFE6A, u'\u3CE0'},
    {0xFE6B, u'\u2EA7'}, {0xFE6E, u'\u2EAA'}, {0xFE6F, u'\u4056'}, {0xFE70, u'\u415F'}, {0xFE71, u'\u2EAE'},
    {0xFE72, u'\u4337'}, {0xFE73, u'\u2EB3'}, {0xFE74, u'\u2EB6'}, {0xFE75, u'\u2EB7'}, {0xFE77, u'\u43B1'},
    {0xFE78, u'\u43AC'}, {0xFE79, u'\u2EBB'}, {0xFE7A, u'\u43DD'}, {0xFE7B, u'\u44D6'}, {0xFE7C, u'\u4661'},
    {0xFE7D, u'\u464C'}, {0xFE80, u'\u4723'}, {0xFE81, u'\u4729'}, {0xFE82, u'\u477C'}, {0xFE83, u'\u478D'},
    {0xFE84, u'\u2ECA'}, {0xFE85, u'\u4947'}, {0xFE86, u'\u497A'}, {0xFE87, u'\u497D'}, {0xFE88, u'\u4982'},
    {0xFE89, u'\u4983'}, {0xFE8A, u'\u4985'}, {0xFE8B, u'\u4986'}, {0xFE8C, u'\u499F'}, {0xFE8D, u'\u499B'},
    {0xFE8E, u'\u49B7'}, {0xFE8F, u'\u49B6'}, {0xFE92, u'\u4CA3'}, {0xFE93, u'\u4C9F'}, {0xFE94, u'\u4CA0'},
    {0xFE95, u'\u4CA1'}, {0xFE96, u'\u4C77'}, {0xFE97, u'\u4CA2'}, {0xFE98, u'\u4D13'}, {0xFE99, u'\u4D14'},
    {0xFE9A, u'\u4D15'}, {0xFE9B, u'\u4D16'}, {0xFE9C, u'\u4D17'}, {0xFE9D, u'\u4D18'}, {0xFE9E, u'\u4D19'},
    {0xFE9F, u'\u4DAE'}};

// Two-byte codes: a lead byte 81..FE and a trail byte 40..7E or 80..FE.
constexpr int kTrailsPerLead = 190;
constexpr int kTwoByteCodes = 126 * kTrailsPerLead;
// Four-byte codes: 81..FE, 30..39, 81..FE, 30..39, numbered from 81 30 81 30.
constexpr std::uint32_t kBmpFourByteCodes = 39420;
constexpr std::uint32_t kSupplementaryFirst = (0x90 - 0x81) * 12600; // the number of 90 30 81 30
constexpr char kSubstitute = '\x1A'; // for a lone surrogate, as ICU writes it on Linux

bool isLead(uchar b) {
    return b >= 0x81 && b <= 0xFE;
}
bool isTrail(uchar b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}
bool isDigit(uchar b) {
    return b >= 0x30 && b <= 0x39;
}
int twoByteIndex(uchar lead, uchar trail) {
    return (lead - 0x81) * kTrailsPerLead + trail - (trail < 0x7F ? 0x40 : 0x41);
}

constexpr std::uint32_t kTwoByte = 1u << 16;
constexpr std::uint32_t kFourByte = 2u << 16;

// Without its tables the set is not converted at all: an archive must never read as empty, nor
// another one be written in its place.
[[noreturn]] void throwWithoutGbk() {
    throw Error(QStringLiteral("系统缺少代码页936（GBK），无法读写GB18030编码的文字"));
}

void appendFourBytes(QByteArray& bytes, std::uint32_t number) {
    char code[4];
    code[3] = char(0x30 + number % 10);
    number /= 10;
    code[2] = char(0x81 + number % 126);
    number /= 126;
    code[1] = char(0x30 + number % 10);
    code[0] = char(0x81 + number / 10);
    bytes.append(code, 4);
}

} // namespace

QByteArray gbkTwoByteCodes() {
    QByteArray codes;
    codes.reserve(2 * kTwoByteCodes);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (isTrail(uchar(trail)))
                codes.append(char(lead)).append(char(trail));
        }
    }
    return codes;
}

Gb18030Charset::Gb18030Charset(const std::optional<std::u16string>& gbk) {
    if (!gbk || gbk->size() != size_t(kTwoByteCodes))
        return;
    twoByte_.assign(gbk->begin(), gbk->end());
    for (const auto& [code, character] : kOwnCharacters)
        twoByte_[size_t(twoByteIndex(uchar(code >> 8), uchar(code)))] = character;
    // The four-byte codes keep the numbers of the 2000 edition, in which A8BC is private-use U+E7C7,
    // as in GBK, and U+1E3F has a four-byte code (81 35 F4 37). 2005 exchanged the two characters.
    const size_t exchanged = size_t(twoByteIndex(0xA8, 0xBC));
    twoByte_[exchanged] = u'\uE7C7';
    const QByteArray codes = gbkTwoByteCodes();
    codeOf_.assign(0x10000, 0);
    for (int i = 0; i < kTwoByteCodes; ++i)
        codeOf_[twoByte_[size_t(i)]] =
            kTwoByte | std::uint32_t(uchar(codes[2 * i])) << 8 | uchar(codes[2 * i + 1]);
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (!QChar::isSurrogate(c) && codeOf_[c] == 0) {
            codeOf_[c] = kFourByte | std::uint32_t(fourByte_.size());
            fourByte_.push_back(char16_t(c));
        }
    }
    // Only a GBK that gives every code a character of its own leaves the four-byte codes their number,
    // and one that gave U+1E3F a code would leave 2005 nothing to exchange.
    const std::uint32_t fourByteCode = codeOf_[0x1E3F];
    valid_ = fourByte_.size() == kBmpFourByteCodes && (fourByteCode & kFourByte);
    if (!valid_)
        return;
    fourByte_[fourByteCode & 0xFFFF] = u'\uE7C7';
    codeOf_[0xE7C7] = fourByteCode;
    twoByte_[exchanged] = u'\u1E3F';
    codeOf_[0x1E3F] = kTwoByte | 0xA8BC;
}

// Lenient: each invalid sequence becomes U+FFFD, taking its lead byte and a following byte that is
// neither ASCII nor a possible start (as ICU does on Linux), and a sequence cut short by the end is
// dropped.
std::optional<QString> Gb18030Charset::decode(QByteArrayView bytes, bool strict) const {
    if (!valid_)
        throwWithoutGbk();
    const qsizetype size = bytes.size();
    const auto at = [&](qsizetype i) { return i < size ? uchar(bytes[i]) : uchar(0); };
    QString text;
    text.reserve(size);
    qsizetype i = 0;
    while (i < size) {
        const uchar lead = at(i);
        if (lead < 0x80) {
            text.append(QChar(lead));
            ++i;
            continue;
        }
        qsizetype invalid = 1; // the bytes an invalid sequence takes
        if (isLead(lead)) {
            const uchar second = at(i + 1);
            if (i + 1 >= size)
                return strict ? std::nullopt : std::optional<QString>(text);
            if (isTrail(second)) {
                text.append(QChar(twoByte_[size_t(twoByteIndex(lead, second))]));
                i += 2;
                continue;
            }
            if (isDigit(second)) {
                const uchar third = at(i + 2);
                const uchar fourth = at(i + 3);
                if (isLead(third) && isDigit(fourth) && i + 3 < size) {
                    const std::uint32_t number = ((lead - 0x81) * 10u + (second - 0x30)) * 1260u +
                                                 (third - 0x81) * 10u + (fourth - 0x30);
                    const char32_t supplementary = 0x10000 + (number - kSupplementaryFirst);
                    if (number < kBmpFourByteCodes) {
                        text.append(QChar(fourByte_[number]));
                        i += 4;
                        continue;
                    }
                    if (number >= kSupplementaryFirst && supplementary <= 0x10FFFF) {
                        text.append(QChar::highSurrogate(supplementary))
                            .append(QChar::lowSurrogate(supplementary));
                        i += 4;
                        continue;
                    }
                    invalid = 4; // well formed, but no character has that number
                } else if (i + 2 >= size || (isLead(third) && i + 3 >= size)) {
                    return strict ? std::nullopt : std::optional<QString>(text);
                }
            } else if (second >= 0x80) {
                invalid = 2;
            }
        }
        if (strict)
            return std::nullopt;
        text.append(QChar::ReplacementCharacter);
        i += invalid;
    }
    return text;
}

QByteArray Gb18030Charset::encode(QStringView text) const {
    if (!valid_)
        throwWithoutGbk();
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            bytes.append(char(c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendFourBytes(bytes, kSupplementaryFirst +
                                       (QChar::surrogateToUcs4(c, text[i + 1].unicode()) - 0x10000));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            bytes.append(kSubstitute);
        } else if (const std::uint32_t code = codeOf_[c]; code & kTwoByte) {
            bytes.append(char(code >> 8 & 0xFF)).append(char(code & 0xFF));
        } else {
            appendFourBytes(bytes, code & 0xFFFF);
        }
    }
    return bytes;
}

} // namespace dravik
