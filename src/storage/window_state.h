#pragma once

#include <QRect>
#include <QString>
#include <optional>

namespace dravik {

// The window's place as the user left it: its geometry when not maximised, in device-independent
// pixels, and whether it was maximised.
struct WindowState {
    QRect geometry;
    bool maximized = false;
};

QString windowStatePath(); // base + "/Dravik/window.ini"

// The state kept by the last run; nothing when there is none, or none that makes a window (a size
// missing, not a number or not positive).
std::optional<WindowState> loadWindowState();

// Keeps the state for the next run. Best effort: a window that cannot keep its place still closes.
// A window.ini that holds more than the window's own group is an archive's settings file (of an
// archive named "window") and is left as it is.
void saveWindowState(const WindowState& state);

} // namespace dravik
