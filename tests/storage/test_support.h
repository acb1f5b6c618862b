#pragma once

#include "storage/record_file.h"
#include "storage/text_codec.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

namespace dravik::test {

// Points XDG_DATA_HOME at a fresh temporary folder for as long as it lives, so no test ever sees
// the real home folder or another test's files.
class TempDataHome {
public:
    TempDataHome() { qputenv("XDG_DATA_HOME", dir_.path().toUtf8()); }
    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray encoded(const char* codec, const QString& text) {
    return encodeInCharset(text, codec);
}

inline QByteArray utf16le(const QString& text) {
    return QByteArray("\xFF\xFE", 2) + encoded("UTF-16LE", text);
}
inline QByteArray utf16be(const QString& text) {
    return QByteArray("\xFE\xFF", 2) + encoded("UTF-16BE", text);
}
inline QByteArray gb18030(const QString& text) {
    return encoded("GB18030", text);
}

// Read-only as the program sees it: the owner's write bit cleared, which holds even for root.
constexpr QFileDevice::Permissions kReadOnlyFile =
    QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr QFileDevice::Permissions kReadOnlyFolder =
    kReadOnlyFile | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
constexpr QFileDevice::Permissions kWritableFolder = kReadOnlyFolder | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kWritableFile = kReadOnlyFile | QFileDevice::WriteOwner;

} // namespace dravik::test

Q_DECLARE_METATYPE(dravik::TextEncoding)
