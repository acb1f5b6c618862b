#include "storage/gb18030.h"

#include <windows.h>

// Windows: Qt here is built without ICU, so its own converters serve the Unicode forms and Latin-1,
// and GB18030 is the program's own, built on GBK's code page 936.

namespace dravik {

namespace {

// Windows' own GB18030, code page 54936, follows another edition than ICU and the Linux build (the
// 2000 one), and Wine, where this build is tested, has none. Both have GBK's code page 936, which
// gives the two-byte codes; gb18030.cpp makes GB18030 of them. Nothing when the system has no such
// code page or it leaves a code without a character.
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
