#pragma once

#include <QString>
#include <optional>

namespace dravik {

// K, how many numbers each draw of a game holds, lies between 1 and this.
inline constexpr qint32 kMaxNumbersPerDraw = 20;

// An archive's analysis settings as its settings file holds them. X, A, B and C stay text: they go
// into the settings controls exactly as stored ("036" stays "036") and are converted only when
// analysed or saved.
struct StoredSettings {
    QString x, a, b, c;
    qint32 startValue = 0;  // [from] r1: 0 = numbers from 0, otherwise from 1
    qint32 displayMode = 0; // [model] r2: 0 = sequential, otherwise interval
    qint32 depth = 0;       // [count] r3: 0 = 30 draws, 1 = 60, otherwise 100
    qint32 k = 1;           // [math] K, 1 to kMaxNumbersPerDraw: a value beyond them or no integer is 1
};

// Settings as saved: the converted integers and the radio choices as 0/1/2.
struct SavedSettings {
    qint32 x = 0, a = 0, b = 0, c = 0;
    qint32 startValue = 0;  // 0 or 1
    qint32 displayMode = 0; // 0 or 1
    qint32 depth = 0;       // 0, 1 or 2
    qint32 k = 1;           // numbers per draw
};

// Start-up: the built-in archive's settings file, written only when missing (36, 6, 6, 0, from 1,
// sequential, 30 draws).
void createBuiltInSettings();

// Start-up: counts this start in set.ini. When set.ini was missing it is created (count 1, the
// built-in archive's name) and `created` is true: the caller then picks the built-in archive in its
// list instead of taking `archiveName`.
struct StartRecord {
    bool created = false;
    QString archiveName;
};
StartRecord recordStart();

// The stored settings of an archive; nothing when it has no settings file.
std::optional<StoredSettings> loadArchiveSettings(const QString& archive);

// Writes the archive's settings file key by key, then set.ini's [dravik] name. [math] K follows C
// when K is not 1 or the file already holds it: the file of an archive of one number a draw that
// never had the key stays as it always was.
void saveArchiveSettings(const QString& archive, const SavedSettings& settings);

// Where an archive's history lives: the page an import read it from, the 号码取 choice (its caption,
// "第3列起6列") and whether the start-up reads it again ("启动时自动更新"). Kept in the archive's
// settings file, section [source], keys url, column and auto.
struct ArchiveSource {
    QString url;
    QString column;
    bool autoUpdate = false;
};

// The archive's remembered source; nothing when its settings file holds no address.
std::optional<ArchiveSource> loadArchiveSource(const QString& archive);
// Writes [source] url, column and auto (1 or 0) in this order, after the file's other sections when
// the section is new; the global settings file is not touched. Raises the settings file's write error.
void saveArchiveSource(const QString& archive, const ArchiveSource& source);

// The operator site root from set.ini's optional [download] site key; empty when not set.
QString configuredSiteRoot();

} // namespace dravik
