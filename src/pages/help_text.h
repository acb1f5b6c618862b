#pragma once

#include <QString>
#include <QStringList>

namespace dravik {

// The help tab's text, line by line.
QStringList helpTextLines();
QString helpText();

} // namespace dravik
