#pragma once

namespace dravik::test {

// Windows has no limit on a process's open files to make every open fail: the cases that need one
// are left out there.
class OpenFileLimit {
public:
    static constexpr bool kAvailable = false;

    bool isActive() const { return false; }
};

} // namespace dravik::test
