#pragma once

#include <csignal>
#include <sys/resource.h>

namespace dravik::test {

// A full disk as a program meets it: while this lives, a write that would take any file of this
// process past `bytes` fails with EFBIG (SIGXFSZ is ignored, so the process is not ended by it).
// Only the soft limit moves; the old one comes back when this goes.
class FileSizeLimit {
public:
    static constexpr bool kAvailable = true;

    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            return;
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        if (active_)
            setrlimit(RLIMIT_FSIZE, &saved_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool isActive() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
};

} // namespace dravik::test
