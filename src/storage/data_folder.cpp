#include "storage/data_folder.h"

#include "storage/error.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace dravik {

QString baseFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    while (base.size() > 1 && base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString dataFolder() { return baseFolder() + QStringLiteral("/Dravik/"); }

QString recordFilePath(const QString& archive) { return dataFolder() + archive + QStringLiteral(".dat"); }

QString settingsFilePath(const QString& archive) { return dataFolder() + archive + QStringLiteral(".ini"); }

QString globalSettingsPath() { return dataFolder() + QStringLiteral("set.ini"); }

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

void ensureDataFolder() {
    const QString folder = dataFolder();
    if (QFileInfo(folder).isDir())
        return;
    QDir().mkpath(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
}

QStringList listArchives() {
    QDir dir(dataFolder());
    if (!dir.exists())
        throw Error(QStringLiteral("The specified path was not found"));
    QStringList names;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& file : files) {
        // Only ASCII letters fold, as the platform's "*.dat" pattern does.
        if (file.size() >= 4 && file.right(4).toLatin1().toLower() == ".dat")
            names.append(file.left(file.size() - 4));
    }
    return names;
}

bool isSafeArchiveName(const QString& archive) {
    return !archive.isEmpty() && archive != QLatin1String(".") && archive != QLatin1String("..") &&
           !archive.contains(QLatin1Char('/')) && !archive.contains(QLatin1Char('\\'));
}

} // namespace dravik
