#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace dravik {

// The program's one rule for reading an integer out of text: leading blanks, an optional sign, then
// decimal digits within the signed 32-bit range, or up to eight hexadecimal digits after "$", "x", "X",
// "0x" or "0X" taken as a 32-bit two's-complement pattern. The whole text must be used up.
std::optional<qint32> parseInteger(QStringView text);

// The same rule for values the user typed or picked: a text that is no integer raises
// "'<text>' is not a valid integer value".
qint32 toInteger(const QString& text);

} // namespace dravik
