// The kernel's events for one folder (inotify): names written, created, renamed over or
// deleted in it, and the folder's own deletion or move. The folder is watched, not its
// files: a picture saved under a temporary name and renamed over the old one arrives as
// a rename into the folder, where a watch on the old file would have been lost with it.
#pragma once

#include <string>

#include "watch/FolderWatch.h"

namespace trellisor {

class FolderEvents {
public:
    // Starts watching dir for watch. The watch then looks at its files once, so that a file
    // written between its last look and now is not missed.
    FolderEvents(const std::string& dir, FolderWatch& watch, WatchTime now);
    ~FolderEvents();
    FolderEvents(const FolderEvents&) = delete;
    FolderEvents& operator=(const FolderEvents&) = delete;

    // False when the kernel gives no events for this folder (the limit of watches is
    // reached, a file system without them): the caller then has the watch look at the
    // files every kFallbackInterval.
    bool isOpen() const { return m_fd >= 0; }
    static constexpr WatchTime kFallbackInterval{1000};
    // Readable (poll, QSocketNotifier) while events wait.
    int descriptor() const { return m_fd; }
    // Hands every waiting event to the watch; never blocks. Lost events (the kernel's
    // queue overflowed) count as activity of unknown files.
    void deliver(FolderWatch& watch, WatchTime now);

private:
    int m_fd = -1;
};

}  // namespace trellisor
