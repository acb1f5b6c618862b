#include "storage/whole_file.h"

#include <QFileInfo>
#include <QSaveFile>

namespace dravik {

namespace {

bool ownerMayWrite(const QFileInfo& info) {
    return info.permissions() & QFileDevice::WriteOwner;
}

} // namespace

bool replaceWholeFile(const QString& path, const QByteArray& bytes, QString* reason) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if ((target.exists() && !ownerMayWrite(target)) || (folder.isDir() && !ownerMayWrite(folder))) {
        *reason = QStringLiteral("Permission denied");
        return false;
    }
    QSaveFile file(path);
    // Unbuffered, so that each write reaches the file here and a short one is seen. Buffered, the
    // bytes would go out at commit, which takes a write that a full disk cut short for a whole one and
    // puts the truncated file in place of the old.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    // A short write carries no reason; the next one, which cannot go on, gives the platform's.
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            *reason = file.errorString();
            file.cancelWriting();
            return false;
        }
        data += written;
        left -= written;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace dravik
