#pragma once

#include <QString>

class QWidget;

namespace dravik {

inline const QString kUnsafeArchiveNameMessage = QStringLiteral("档案名无效，请重新输入");

// An archive name becomes a file name in the data folder. One that cannot be, or that would lead out of
// the folder, is refused with a message box before anything is read or written under it. Returns
// whether the name was refused.
bool refuseUnsafeArchiveName(QWidget* owner, const QString& archive);

} // namespace dravik
