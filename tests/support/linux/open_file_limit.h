#pragma once

#include <sys/resource.h>
#include <unistd.h>

namespace dravik::test {

// A file that cannot be opened, as a program meets one even when it runs as root (whom permissions
// do not stop): while this lives, every open of this process fails with EMFILE, "Too many open
// files". Only the soft limit moves, down to the lowest free descriptor; the old one comes back when
// this goes.
class OpenFileLimit {
public:
    static constexpr bool kAvailable = true;

    OpenFileLimit() {
        if (getrlimit(RLIMIT_NOFILE, &saved_) != 0)
            return;
        const int lowestFree = dup(0);
        if (lowestFree < 0)
            return;
        close(lowestFree);
        rlimit lowered = saved_;
        lowered.rlim_cur = rlim_t(lowestFree);
        active_ = setrlimit(RLIMIT_NOFILE, &lowered) == 0;
    }
    ~OpenFileLimit() {
        if (active_)
            setrlimit(RLIMIT_NOFILE, &saved_);
    }
    OpenFileLimit(const OpenFileLimit&) = delete;
    OpenFileLimit& operator=(const OpenFileLimit&) = delete;

    bool isActive() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
};

} // namespace dravik::test
