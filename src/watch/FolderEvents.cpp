// FolderEvents over inotify. An in-place rewrite arrives as IN_MODIFY ... IN_CLOSE_WRITE,
// a write-then-rename as IN_CREATE, IN_MODIFY and IN_CLOSE_WRITE of the temporary name,
// IN_MOVED_FROM it and IN_MOVED_TO the picture; the folder's own rename as IN_MOVE_SELF,
// its removal as IN_DELETE of each file, IN_DELETE_SELF and IN_IGNORED.
#include "watch/FolderEvents.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace trellisor {

FolderEvents::FolderEvents(const std::string& dir, FolderWatch& watch, WatchTime now) {
    watch.touched("", now);
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0) return;
    constexpr std::uint32_t kMask = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                    IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR |
                                    IN_EXCL_UNLINK;
    if (::inotify_add_watch(m_fd, dir.c_str(), kMask) < 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

FolderEvents::~FolderEvents() {
    if (m_fd >= 0) ::close(m_fd);
}

void FolderEvents::deliver(FolderWatch& watch, WatchTime now) {
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            return;  // EAGAIN: all read
        }
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            if (e->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED)) {
                watch.folderMoved();
            } else if (e->mask & IN_Q_OVERFLOW) {
                watch.touched("", now);
            } else {
                watch.touched(e->len > 0 ? std::string_view(e->name) : std::string_view(), now);
            }
            at += ssize_t(sizeof(inotify_event) + e->len);
        }
    }
}

}  // namespace trellisor
