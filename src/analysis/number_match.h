#pragma once

#include <QString>
#include <QStringView>

namespace dravik {

// True when the text is made of the ASCII digits 0-9 only (the empty text included).
bool isPlainDigits(QStringView text);

// Whether a draw number and a number label name the same number: the record comparison (locale
// aware, letter case ignored). Two plain digit texts are equal under it exactly when they are the
// same characters, so those skip the collator; anything else ("０７", " 7", "7.1") asks it.
bool sameNumber(const QString& label, const QString& drawNumber);

} // namespace dravik
