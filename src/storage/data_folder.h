#pragma once

#include <QString>
#include <QStringList>

namespace dravik {

// The built-in archive, refreshed from the operator's site at every start.
inline const QString kBuiltInArchive = QStringLiteral("南粤风采好彩1");

// Every path is asked for afresh, so that a changed XDG_DATA_HOME (tests) or a folder that appeared
// meanwhile is always seen. Paths are plain text joins, never normalised: an archive name goes in unchanged.
QString baseFolder();
QString dataFolder();                             // base + "/Dravik/"
QString recordFilePath(const QString& archive);   // base + "/Dravik/" + name + ".dat"
QString settingsFilePath(const QString& archive); // base + "/Dravik/" + name + ".ini"
QString globalSettingsPath();                     // base + "/Dravik/set.ini"

// Whether a file is there. A folder named like one (a folder "y.dat") is no file: every reader treats
// it as missing, so that the user sees the missing file's message rather than a read error.
bool fileExists(const QString& path);

// Creates the data folder with every missing parent. Failure is silent: it shows up later as the
// file errors of whoever reads or writes there.
void ensureDataFolder();

// Names of the archives that have a record file, in directory order. Raises "The specified path was
// not found" when the data folder is missing.
QStringList listArchives();

// Names that must never reach a file path: empty, "." or "..", or holding a path separator.
bool isSafeArchiveName(const QString& archive);

} // namespace dravik
