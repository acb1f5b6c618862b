#pragma once

#include <QString>
#include <QStringList>

namespace dravik {

// The help tab's text: 16 lines.
QStringList helpTextLines();
QString helpText();

} // namespace dravik
