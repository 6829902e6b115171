// Following the files of a folder that other programs rewrite: once their writing has
// settled, which of the followed files hold other content than the content we last agreed
// on. Plain logic over a port to the files and a clock the caller passes in, so that tests
// run it on fake files and a fake clock; the events that wake it come from outside
// (watch/FolderEvents.h in the programs).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace trellisor {

// A moment on the caller's steady clock.
using WatchTime = std::chrono::milliseconds;
// Now on the steady clock, for the programs (tests pass their own moments).
inline WatchTime steadyWatchTime() {
    return std::chrono::duration_cast<WatchTime>(std::chrono::steady_clock::now().time_since_epoch());
}

// What a file looks like from outside: while none of these changes, its content is taken
// as unchanged, so a check reads only the files that an event named or whose stamp moved.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t inode = 0;  // a file renamed over the old one has another
    bool operator==(const FileStamp&) const = default;
};

// A 64-bit FNV-1a hash of a file's bytes; a file read in parts hashes each part with the
// hash of the parts before it.
inline constexpr std::uint64_t kEmptyContentHash = 14695981039346656037ull;
std::uint64_t contentHash(std::span<const std::uint8_t> bytes, std::uint64_t before = kEmptyContentHash);

// The followed folder as the watch sees it. Names are relative to the folder.
class FolderFiles {
public:
    virtual ~FolderFiles() = default;
    // Nothing when there is no regular file of that name.
    virtual std::optional<FileStamp> stamp(const std::string& name) = 0;
    // The content's hash; nothing when the file cannot be read.
    virtual std::optional<std::uint64_t> hash(const std::string& name) = 0;
    // False once the folder has gone from where it was (deleted, renamed, replaced).
    virtual bool folderPresent() = 0;
};

// The times the watch keeps. Checks come settle after the last activity in the folder, at
// the latest longest after the first (a folder that never falls quiet is still followed).
struct WatchTiming {
    WatchTime settle{150};
    WatchTime longest{2000};
    // A failed update is tried again every retry until its files have kept their stamps for
    // stable; only then is it reported (pixel editors write a picture in several steps).
    WatchTime retry{250};
    WatchTime stable{2000};
};

// What one check did.
struct FolderUpdate {
    enum class Kind { Applied, Refused, FolderGone };
    Kind kind = Kind::Applied;
    std::vector<std::string> changed;  // followed files whose content changed, in name order
    std::vector<std::string> missing;  // followed files that went since the last update
    std::string reason;                // why an update was refused
};

// "055.png, 056.png", or the first few of many names and how many more, for one line.
std::string nameList(const std::vector<std::string>& names, std::size_t shown = 8);

class FolderWatch {
public:
    // Takes the changed files into the caller's object. A failure must leave it as it was.
    using Apply = std::function<Status(const std::vector<std::string>& changed)>;

    explicit FolderWatch(FolderFiles& files, WatchTiming timing = {});

    // The files to follow. A name new to the watch is agreed on with its content now;
    // names left out are forgotten.
    void follow(const std::vector<std::string>& names);
    // Something in the folder was written, created, renamed or deleted: name, or "" when it
    // is not known which (lost events, a periodic look), when the files' stamps decide. Any
    // name counts as activity; a followed name is read at the next check whatever its stamp.
    void touched(std::string_view name, WatchTime now);
    // The folder itself was deleted or moved away.
    void folderMoved();
    // We wrote the file ourselves: its content, with this hash, is agreed on.
    void wrote(const std::string& name, std::uint64_t hash);
    // Whether the file still holds the content agreed on (no outside change waits for
    // the next check), or is not followed: only then may it be overwritten.
    bool holdsAgreed(const std::string& name);

    // When poll has work next; nothing while the folder is quiet.
    std::optional<WatchTime> nextCheck() const;
    // Does what is due at now: looks at the followed files, hands the changed ones to
    // apply, and says what happened (nothing when there is nothing to say).
    std::optional<FolderUpdate> poll(WatchTime now, const Apply& apply);

private:
    struct Followed {
        std::optional<FileStamp> stamp;       // as last seen; nothing while missing
        std::optional<std::uint64_t> seen;    // the content's hash as last read
        std::optional<std::uint64_t> agreed;  // the content the caller's object agrees with
        WatchTime stampedAt{0};               // when the stamp last moved
        bool suspect = false;                 // named by an event since the last look
        bool reportedMissing = false;
    };
    bool isDue(WatchTime now) const;
    // Stamps every followed file, rereads the suspect ones.
    void look(WatchTime now, FolderUpdate& update, WatchTime& newestStamp);

    FolderFiles& m_files;
    WatchTiming m_timing;
    std::map<std::string, Followed, std::less<>> m_followed;
    std::optional<WatchTime> m_firstActivity, m_lastActivity, m_retryAt;
    bool m_gone = false, m_goneReported = false;
};

}  // namespace trellisor
