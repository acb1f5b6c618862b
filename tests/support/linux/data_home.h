#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace dravik::test {

// Points XDG_DATA_HOME at a fresh temporary folder for as long as it lives, so no test ever sees
// the real home folder or another test's files.
class TempDataHome {
public:
    // The data home can be any folder: a test may point XDG_DATA_HOME elsewhere itself.
    static constexpr bool kAnyFolder = true;

    TempDataHome() { qputenv("XDG_DATA_HOME", dir_.path().toUtf8()); }
    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

} // namespace dravik::test
