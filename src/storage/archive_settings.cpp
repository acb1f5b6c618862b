#include "storage/archive_settings.h"

#include "storage/data_folder.h"
#include "storage/settings_file.h"

#include <limits>

namespace dravik {

namespace {

const QString kDravik = QStringLiteral("dravik");
const QString kName = QStringLiteral("name");
const QString kRuntime = QStringLiteral("runtime");
const QString kCount = QStringLiteral("count");
const QString kMath = QStringLiteral("math");
const QString kNumbersPerDraw = QStringLiteral("K");
const QString kSource = QStringLiteral("source");

// The archive settings file's keys in the order they are written; the file the first save creates
// has its lines in this order.
QList<SettingsEntry> archiveEntries(const QString& archive, const SavedSettings& s, bool withK) {
    QList<SettingsEntry> entries{
        {kDravik, kName, archive},
        {kMath, QStringLiteral("X"), QString::number(s.x)},
        {kMath, QStringLiteral("A"), QString::number(s.a)},
        {kMath, QStringLiteral("B"), QString::number(s.b)},
        {kMath, QStringLiteral("C"), QString::number(s.c)},
    };
    if (withK)
        entries.append({kMath, kNumbersPerDraw, QString::number(s.k)});
    entries += {
        {QStringLiteral("from"), QStringLiteral("r1"), QString::number(s.startValue)},
        {QStringLiteral("model"), QStringLiteral("r2"), QString::number(s.displayMode)},
        {kCount, QStringLiteral("r3"), QString::number(s.depth)},
    };
    return entries;
}

} // namespace

void createBuiltInSettings() {
    const QString path = settingsFilePath(kBuiltInArchive);
    if (fileExists(path))
        return;
    SavedSettings builtIn;
    builtIn.x = 36;
    builtIn.a = 6;
    builtIn.b = 6;
    builtIn.c = 0;
    builtIn.startValue = 1;
    builtIn.displayMode = 0;
    builtIn.depth = 0;
    SettingsFile(path).writeAll(archiveEntries(kBuiltInArchive, builtIn, false));
}

StartRecord recordStart() {
    SettingsFile global(globalSettingsPath());
    if (!fileExists(global.path())) {
        global.writeAll({{kRuntime, kCount, QStringLiteral("1")}, {kDravik, kName, kBuiltInArchive}});
        return {true, kBuiltInArchive};
    }
    const qint32 count = global.readInteger(kRuntime, kCount, 1);
    // The counter stops at the largest value instead of wrapping round to a negative count.
    global.writeInteger(kRuntime, kCount, count == std::numeric_limits<qint32>::max() ? count : count + 1);
    return {false, global.readText(kDravik, kName, kBuiltInArchive)};
}

std::optional<StoredSettings> loadArchiveSettings(const QString& archive) {
    const SettingsFile file(settingsFilePath(archive));
    if (!fileExists(file.path()))
        return std::nullopt;
    StoredSettings s;
    s.x = file.readText(kMath, QStringLiteral("X"), QString());
    s.a = file.readText(kMath, QStringLiteral("A"), QString());
    s.b = file.readText(kMath, QStringLiteral("B"), QString());
    s.c = file.readText(kMath, QStringLiteral("C"), QString());
    s.startValue = file.readInteger(QStringLiteral("from"), QStringLiteral("r1"), 0);
    s.displayMode = file.readInteger(QStringLiteral("model"), QStringLiteral("r2"), 0);
    s.depth = file.readInteger(kCount, QStringLiteral("r3"), 0);
    const qint32 k = file.readInteger(kMath, kNumbersPerDraw, 1);
    s.k = k >= 1 && k <= kMaxNumbersPerDraw ? k : 1;
    return s;
}

void saveArchiveSettings(const QString& archive, const SavedSettings& settings) {
    SettingsFile file(settingsFilePath(archive));
    file.writeAll(archiveEntries(archive, settings, settings.k != 1 || file.holds(kMath, kNumbersPerDraw)));
    SettingsFile(globalSettingsPath()).writeText(kDravik, kName, archive);
}

std::optional<ArchiveSource> loadArchiveSource(const QString& archive) {
    const SettingsFile file(settingsFilePath(archive));
    ArchiveSource source;
    source.url = file.readText(kSource, QStringLiteral("url"), QString()).trimmed();
    if (source.url.isEmpty())
        return std::nullopt;
    source.column = file.readText(kSource, QStringLiteral("column"), QString());
    source.autoUpdate = file.readInteger(kSource, QStringLiteral("auto"), 0) == 1;
    return source;
}

void saveArchiveSource(const QString& archive, const ArchiveSource& source) {
    SettingsFile(settingsFilePath(archive))
        .writeAll({{kSource, QStringLiteral("url"), source.url},
                   {kSource, QStringLiteral("column"), source.column},
                   {kSource, QStringLiteral("auto"),
                    source.autoUpdate ? QStringLiteral("1") : QStringLiteral("0")}});
}

QString configuredSiteRoot() {
    return SettingsFile(globalSettingsPath())
        .readText(QStringLiteral("download"), QStringLiteral("site"), QString());
}

} // namespace dravik
