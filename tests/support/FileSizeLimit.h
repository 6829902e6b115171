// Lowers the largest file this process may write for one scope, so that a write
// fails as on a full disk ("File too large") whoever runs the test, root included.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace trellisor::test {

class FileSizeLimit {
public:
    // The write fails instead of ending the process.
    explicit FileSizeLimit(rlim_t bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit lower{bytes, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*m_oldHandler)(int);
    rlimit m_old{};
};

}  // namespace trellisor::test
