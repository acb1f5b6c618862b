#pragma once

#include "data_home.h"

#include <QObject>
#include <memory>

namespace dravik::test {

// The fixture of the storage tests that read and write the data folder: before each test function
// XDG_DATA_HOME points at a fresh temporary folder holding an empty data folder; after it the folder
// goes.
class DataFolderCase : public QObject {
    Q_OBJECT

protected:
    const TempDataHome& home() const { return *home_; }

private slots:
    void init();
    void cleanup();

private:
    std::unique_ptr<TempDataHome> home_;
};

} // namespace dravik::test
