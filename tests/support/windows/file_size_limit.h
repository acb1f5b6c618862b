#pragma once

#include <QtGlobal>

namespace dravik::test {

// Windows has no limit on the size of a process's files to stand in for a full disk: the cases that
// need one are left out there.
class FileSizeLimit {
public:
    static constexpr bool kAvailable = false;

    explicit FileSizeLimit(qint64) {}
    bool isActive() const { return false; }
};

} // namespace dravik::test
