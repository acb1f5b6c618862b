#include "pages/archive_name_check.h"

#include "storage/data_folder.h"
#include "ui/dialogs.h"

namespace dravik {

bool refuseUnsafeArchiveName(QWidget* owner, const QString& archive) {
    if (isSafeArchiveName(archive))
        return false;
    dialogs::showMessage(owner, kUnsafeArchiveNameMessage);
    return true;
}

} // namespace dravik
