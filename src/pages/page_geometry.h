#pragma once

#include "ui/tab_control.h"

namespace dravik {

// The window has one fixed size; its pages are laid out on it.
constexpr int kWindowWidth = 442;
constexpr int kWindowHeight = 766;
constexpr int kHeaderHeight = 50;
// The height of a tab's page: the window less the header and the tab strip.
constexpr int kTabPageHeight = kWindowHeight - kHeaderHeight - ui::TabControl::kStripHeight;

} // namespace dravik
