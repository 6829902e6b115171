// Lowers the largest file this process may write for one scope, so that a write fails as on a
// full disk ("File too large") whoever runs the test, root included.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace trellisor::test {

struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit lower{bytes, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
};

}  // namespace trellisor::test
