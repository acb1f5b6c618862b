#pragma once

namespace dravik {

// The size the window is made for. On a screen whose free area is shorter (or narrower) the window takes
// that area's height (width) instead, and the pages give up height where they can: their tables, lists
// and texts scroll, while the header and the tab strip always show whole.
constexpr int kWindowWidth = 442;
constexpr int kWindowHeight = 766;
constexpr int kHeaderHeight = 50;

} // namespace dravik
