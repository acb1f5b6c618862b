#pragma once

#include <QDir>
#include <QStandardPaths>
#include <QString>

namespace dravik::test {

// Windows has no variable that moves the local application-data folder. Qt's test mode moves it to
// a folder of its own for tests ("qttest" inside it), which this empties when it begins and ends,
// so that no test ever sees the real data folder or another test's files.
class TempDataHome {
public:
    // The data home is always Qt's test folder.
    static constexpr bool kAnyFolder = false;

    TempDataHome() {
        QStandardPaths::setTestModeEnabled(true);
        path_ = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        removeFolder();
        valid_ = !path_.isEmpty() && QDir().mkpath(path_);
    }
    ~TempDataHome() { removeFolder(); }
    TempDataHome(const TempDataHome&) = delete;
    TempDataHome& operator=(const TempDataHome&) = delete;

    bool isValid() const { return valid_; }
    QString path() const { return path_; }

private:
    // QDir("") is the current folder: without a location there is nothing to empty.
    void removeFolder() const {
        if (!path_.isEmpty())
            QDir(path_).removeRecursively();
    }

    QString path_;
    bool valid_ = false;
};

} // namespace dravik::test
