#pragma once

#include <QByteArray>
#include <QString>

namespace dravik {

// Replaces a file's whole content so that it is either the old file or the new one, never a mix:
// the bytes go to a temporary file beside it that takes the file's place only once complete.
// A file or folder without its owner's write permission counts as read-only even for root, as a
// read-only attribute would. Returns false with the platform's reason when the file was not replaced.
bool replaceWholeFile(const QString& path, const QByteArray& bytes, QString* reason);

} // namespace dravik
