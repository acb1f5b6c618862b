#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace dravik {

// Bytes in a named character set ("UTF-8", "UTF-16LE", "GB18030", ...) to text and back; names are
// matched without regard to letter case. Qt converts the Unicode forms and Latin-1 itself; the other
// sets, GB18030 above all (archives from Chinese Windows machines, the operator's pages), come from
// ICU on Linux. On Windows, whose Qt is built without ICU, GB18030 is the program's own conversion
// over the system's code page 936 (gb18030.h), code for code as ICU converts it; on a system without
// that code page every conversion in GB18030 raises an Error.

// What a decoder makes of a byte-order mark at the start of UTF-8, UTF-16 or UTF-32 bytes.
enum class InitialMark {
    Keep, // a character like any other (a file's mark has been taken off already)
    Skip, // dropped; for UTF-16 or UTF-32 without a stated byte order it gives the order
};

// Whether the set is converted here (GB18030 always, even where its conversion raises an Error).
bool isKnownCharset(const char* charset);

// The text of the bytes, a mark kept; nothing when they are not valid in the set (a sequence cut
// short at the end included) or the set is not known here.
std::optional<QString> decodeStrictly(QByteArrayView bytes, const char* charset);

// The text of the bytes; each invalid sequence becomes U+FFFD, a sequence cut short at the very end
// is dropped. Empty for a set not known here.
QString decodeLeniently(QByteArrayView bytes, const char* charset, InitialMark mark = InitialMark::Keep);

// The text in the set, without a mark; a character that the set cannot hold becomes its substitute.
// Empty for a set not known here.
QByteArray encodeInCharset(QStringView text, const char* charset);

} // namespace dravik
