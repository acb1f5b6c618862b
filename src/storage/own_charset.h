#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace dravik {

// A character set that the platform's Qt cannot convert and the program converts itself: GB18030
// on Windows, whose Qt is built without ICU. Its conversions raise an Error when the system lacks
// what they are built on.
class OwnCharset {
public:
    virtual ~OwnCharset() = default;
    // The text of the bytes. Strict: nothing when they are not valid; else each invalid sequence
    // becomes U+FFFD and one cut short at the very end is dropped.
    virtual std::optional<QString> decode(QByteArrayView bytes, bool strict) const = 0;
    virtual QByteArray encode(QStringView text) const = 0;
};

// The program's own conversion of the set; null where Qt's converters serve it.
const OwnCharset* ownCharset(const char* charset);

} // namespace dravik
