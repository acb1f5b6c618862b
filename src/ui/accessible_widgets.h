#pragma once

namespace dravik::ui {

// Gives the kit's own widgets the accessible interfaces that screen readers expect: the tab strip as a
// page-tab list whose tabs switch pages as a click does, and the choice combos named by their
// accessible name rather than by their value. Safe to call more than once; the widgets call it.
void installAccessibleWidgets();

} // namespace dravik::ui
