#pragma once

#include <QString>

namespace dravik::ui {

// The name a screen reader is given for a combo box with the given caption and current value. The
// desktops read a combo differently: AT-SPI (Orca) reads the caption from the label that names the
// combo and takes the value from the name; UI Automation (Narrator) takes the caption from the name
// and the value from the Value property. Qt's own combo answers each so, and ours read alike.
QString comboAccessibleName(const QString& caption, const QString& value);

} // namespace dravik::ui
