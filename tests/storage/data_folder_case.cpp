#include "data_folder_case.h"

#include "storage/data_folder.h"

#include <QTest>

namespace dravik::test {

void DataFolderCase::init() {
    home_ = std::make_unique<TempDataHome>();
    QVERIFY(home_->isValid());
    ensureDataFolder();
}

void DataFolderCase::cleanup() {
    home_.reset();
}

} // namespace dravik::test
