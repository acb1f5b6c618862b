#pragma once

#include <QList>

class QWidget;

namespace dravik::ui {

// Makes Tab visit the widgets in the order given (Shift+Tab the other way); widgets that are hidden or
// disabled at the time are passed over by Qt.
void setTabChain(const QList<QWidget*>& chain);

} // namespace dravik::ui
