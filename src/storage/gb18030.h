#pragma once

#include "storage/own_charset.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dravik {

// Every two-byte code of GBK and GB18030 in order, two bytes each: lead bytes 81..FE, each with the
// trail bytes 40..7E and 80..FE. What the system's GBK is asked to convert.
QByteArray gbkTwoByteCodes();

// GB18030 converted by the program itself, built on GBK's two-byte codes as the system converts them
// (code page 936). It is compiled on every platform, so that its tests run where ICU can check it.
class Gb18030Charset : public OwnCharset {
public:
    // `gbk`: the characters the system gives gbkTwoByteCodes(), one each; nothing when the system
    // cannot convert them.
    explicit Gb18030Charset(const std::optional<std::u16string>& gbk);

    // Whether the tables could be built from the system's GBK. Without them decoding and encoding
    // raise an Error that says so.
    bool isValid() const { return valid_; }

    std::optional<QString> decode(QByteArrayView bytes, bool strict) const override;
    QByteArray encode(QStringView text) const override;

private:
    bool valid_ = false;
    std::vector<char16_t> twoByte_;     // by two-byte index
    std::vector<char16_t> fourByte_;    // by four-byte number, the rest of the BMP in order
    std::vector<std::uint32_t> codeOf_; // by BMP character: kTwoByte | code, kFourByte | number, or 0
};

} // namespace dravik
