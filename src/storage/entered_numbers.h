#pragma once

#include "storage/archive_numbers.h"

#include <QString>
#include <QStringView>

namespace dravik {

// A draw typed on the data-entry page of an archive of K > 1 numbers a draw: the text split at runs
// of blanks, commas ("," or "，") and tabs must give exactly K fields of digits of K different values,
// each the value of a label of the archive. The record then holds those labels in the order typed,
// joined by one blank ("1 2 3 4 5 6" is "01 02 03 04 05 06" counted from one).
struct EnteredDraw {
    QString number;  // the record's number text, when the draw is accepted
    QString message; // what the message box says when it is not
};
EnteredDraw enteredDraw(QStringView typed, const ArchiveNumbers& numbers);

} // namespace dravik
