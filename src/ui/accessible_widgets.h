#pragma once

namespace dravik::ui {

// Gives the kit's own widgets the accessible interfaces that screen readers expect: the tab strip as a
// page-tab list whose tabs switch pages as a click does, and the choice combos read as Qt's own
// combo is, caption and value. Safe to call more than once; the widgets call it.
void installAccessibleWidgets();

} // namespace dravik::ui
