#include "storage/whole_file.h"

#include <QFileInfo>
#include <QSaveFile>

namespace dravik {

namespace {

bool ownerMayWrite(const QFileInfo& info) { return info.permissions() & QFileDevice::WriteOwner; }

} // namespace

bool replaceWholeFile(const QString& path, const QByteArray& bytes, QString* reason) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if ((target.exists() && !ownerMayWrite(target)) || (folder.isDir() && !ownerMayWrite(folder))) {
        *reason = QStringLiteral("Permission denied");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace dravik
