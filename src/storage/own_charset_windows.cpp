#include "storage/gb18030.h"

#include <windows.h>

// Windows: Qt here is built without ICU, so its own converters serve the Unicode forms and Latin-1,
// and GB18030 is the program's own, built on GBK's code page 936.

namespace dravik {

namespace {

// Windows converts GB18030 itself as code page 54936, which Wine, where this build is tested, does
// not have; both have GBK's code page 936.
std::optional<std::u16string> systemGbk() {
    const QByteArray codes = gbkTwoByteCodes();
    std::u16string text(size_t(codes.size() / 2), u'\0');
    if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, codes.constData(), int(codes.size()),
                            reinterpret_cast<wchar_t*>(text.data()), int(text.size())) != int(text.size()))
        return std::nullopt;
    return text;
}

} // namespace

const OwnCharset* ownCharset(const char* charset) {
    if (qstricmp(charset, "GB18030") != 0)
        return nullptr;
    // Even without code page 936: GB18030 is then not converted at all (each conversion raises an
    // Error), rather than be an unknown set that reads as nothing.
    static const Gb18030Charset gb18030(systemGbk());
    return &gb18030;
}

} // namespace dravik
