#pragma once

#include "data_home.h"
#include "storage/archive_numbers.h"
#include "storage/record_file.h"
#include "storage/text_codec.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

namespace dravik::test {

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Draw lines 19001.01, 19002.02, ... in file order, which is also record order.
inline QStringList draws(int first, int last) {
    QStringList lines;
    for (int i = first; i <= last; ++i)
        lines.append(QStringLiteral("%1.%2").arg(19000 + i).arg(i % 36 + 1, 2, 10, QLatin1Char('0')));
    return lines;
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

// The numbers of an archive of X numbers from `start` (0 or 1), K a draw, labelled as the analysis
// labels them: from one, 1 to 9 with a leading "0".
inline ArchiveNumbers archiveNumbers(int x, int start, int k = 1) {
    QStringList labels;
    for (int value = start; value < start + x; ++value)
        labels.append(start == 1 && value < 10 ? QStringLiteral("0%1").arg(value) : QString::number(value));
    return ArchiveNumbers(labels, quint64(start), k);
}

// Read-only as the program sees it: the owner's write bit cleared, which holds even for root.
constexpr QFileDevice::Permissions kReadOnlyFile =
    QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr QFileDevice::Permissions kReadOnlyFolder =
    kReadOnlyFile | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
constexpr QFileDevice::Permissions kWritableFolder = kReadOnlyFolder | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kWritableFile = kReadOnlyFile | QFileDevice::WriteOwner;

// Whether the folder counts as read-only for the program. Windows keeps a folder's read-only
// attribute without acting on it, and so does Qt: there the cases of a read-only folder are skipped.
inline bool isReadOnlyFolder(const QString& folder) {
    return !(QFileInfo(folder).permissions() & QFileDevice::WriteOwner);
}

} // namespace dravik::test

Q_DECLARE_METATYPE(dravik::TextEncoding)
