#include "storage/window_state.h"

#include "storage/data_folder.h"

#include <QSettings>

namespace dravik {

namespace {

const QString kGroup = QStringLiteral("window");

// An archive named "window" keeps its settings in the same file: a file with any group but ours is
// one, which QSettings would rewrite in its own encoding and order.
bool holdsOnlyWindowState(const QSettings& settings) {
    const QStringList groups = settings.childGroups();
    return settings.childKeys().isEmpty() && (groups.isEmpty() || groups == QStringList{kGroup});
}

} // namespace

QString windowStatePath() {
    return dataFolder() + QStringLiteral("window.ini");
}

std::optional<WindowState> loadWindowState() {
    const QString path = windowStatePath();
    if (!fileExists(path))
        return std::nullopt;
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !holdsOnlyWindowState(settings))
        return std::nullopt;
    settings.beginGroup(kGroup);
    int values[4];
    const char* keys[] = {"left", "top", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = settings.value(QLatin1String(keys[i])).toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    WindowState state;
    state.geometry = QRect(values[0], values[1], values[2], values[3]);
    state.maximized = settings.value(QStringLiteral("maximized")).toBool();
    if (state.geometry.width() <= 0 || state.geometry.height() <= 0)
        return std::nullopt;
    return state;
}

void saveWindowState(const WindowState& state) {
    const QString path = windowStatePath();
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !holdsOnlyWindowState(settings))
        return;
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("left"), state.geometry.x());
    settings.setValue(QStringLiteral("top"), state.geometry.y());
    settings.setValue(QStringLiteral("width"), state.geometry.width());
    settings.setValue(QStringLiteral("height"), state.geometry.height());
    settings.setValue(QStringLiteral("maximized"), state.maximized);
    settings.endGroup();
    settings.sync();
}

} // namespace dravik
