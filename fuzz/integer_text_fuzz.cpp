// The integer rule against a reference written the plain way, and toInteger against parseInteger.
#include "fuzz_support.h"
#include "storage/error.h"
#include "storage/integer_text.h"

#include <cstring>
#include <string>

using namespace dravik;

namespace {

bool isDecimal(char c) {
    return c >= '0' && c <= '9';
}
bool isHex(char c) {
    return isDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Step by step as the rule reads: "0x" in front becomes "$", blanks, a sign, then a hexadecimal
// prefix with one to eight hex digits, or decimal digits within the 32-bit range.
std::optional<qint32> reference(const QString& text) {
    // Only ASCII can be part of an integer; anything else makes the text no integer.
    for (const QChar c : text) {
        if (c.unicode() > 0x7F || c.unicode() == 0)
            return std::nullopt;
    }
    std::string s = text.toStdString();
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        s = "$" + s.substr(2);

    size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-')
        negative = s[i++] == '-';
    const std::string rest = s.substr(i);

    std::string hexDigits;
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X'))
        hexDigits = rest.substr(1);
    else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        hexDigits = rest.substr(2);
    else {
        if (rest.empty())
            return std::nullopt;
        for (char c : rest) {
            if (!isDecimal(c))
                return std::nullopt;
        }
        const size_t first = rest.find_first_not_of('0');
        const std::string digits = first == std::string::npos ? "0" : rest.substr(first);
        if (digits.size() > 10)
            return std::nullopt;
        const long long magnitude = std::stoll(digits);
        const long long value = negative ? -magnitude : magnitude;
        if (value < -2147483648LL || value > 2147483647LL)
            return std::nullopt;
        return qint32(value);
    }
    if (hexDigits.empty() || hexDigits.size() > 8)
        return std::nullopt;
    for (char c : hexDigits) {
        if (!isHex(c))
            return std::nullopt;
    }
    const uint32_t pattern = uint32_t(std::stoul(hexDigits, nullptr, 16));
    return qint32(negative ? 0u - pattern : pattern);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Both views of the bytes: UTF-8 reaches the ASCII paths quickly, UTF-16 every code unit.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size / 2 * 2);
    const QString texts[] = {QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)), units};
    for (const QString& text : texts) {
        const std::optional<qint32> value = parseInteger(text);
        FUZZ_CHECK(value == reference(text));
        try {
            const qint32 converted = toInteger(text);
            FUZZ_CHECK(value && converted == *value);
        } catch (const Error& error) {
            FUZZ_CHECK(!value);
            FUZZ_CHECK(error.message() == QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
        // What the program writes for an integer it read must read back as the same integer.
        if (value)
            FUZZ_CHECK(parseInteger(QString::number(*value)) == value);
    }
    return 0;
}
