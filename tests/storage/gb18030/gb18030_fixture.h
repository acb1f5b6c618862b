#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace dravik::test {

// A code of GB18030 (two or four bytes, the first the highest in the number) and the character the
// Linux build reads from it.
struct Gb18030Code {
    std::uint32_t code;
    char32_t character;
};

// The bytes of a code.
QByteArray gb18030Bytes(std::uint32_t code);

// The fixture gb18030_linux.txt: every two-byte code, then every four-byte code of the BMP and of the
// supplementary planes. Nothing when it cannot be read or lacks codes.
std::optional<std::vector<Gb18030Code>> readGb18030Fixture();

using Gb18030Decode = std::function<std::optional<QString>(QByteArrayView)>;
using Gb18030Encode = std::function<QByteArray(QStringView)>;

// Where a conversion differs from the fixture, each as "A8BC reads as U+E7C7, on Linux U+1E3F" or
// "U+1E3F writes as 8135F437, on Linux A8BC"; empty when it reads and writes every code as Linux does.
QStringList gb18030Differences(const std::vector<Gb18030Code>& fixture, const Gb18030Decode& decode,
                               const Gb18030Encode& encode);

} // namespace dravik::test
