#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace dravik {

// The numbers of a draw as typed into the data-entry page for an archive of K > 1 numbers a draw:
// split at runs of blanks, commas ("," or "，") and tabs, they must be exactly K fields of the digits
// 0-9, no two the same text. The record's number text: the fields in the order typed, joined by one
// blank. Nothing when the text is not such a draw.
std::optional<QString> enteredDrawNumbers(QStringView typed, int k);

// What the message box says when it is not.
QString enteredDrawNumbersMessage(int k);

} // namespace dravik
