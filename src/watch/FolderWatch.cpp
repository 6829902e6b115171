// FolderWatch: settling, stamps first and hashes second, updates that are retried until
// their files are stable.
#include "watch/FolderWatch.h"

#include <algorithm>

namespace trellisor {

std::uint64_t contentHash(std::span<const std::uint8_t> bytes, std::uint64_t before) {
    std::uint64_t h = before;
    for (std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

std::string nameList(const std::vector<std::string>& names, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < shown; ++i) text += (i ? ", " : "") + names[i];
    if (names.size() > shown) text += " and " + std::to_string(names.size() - shown) + " more";
    return text;
}

FolderWatch::FolderWatch(FolderFiles& files, WatchTiming timing) : m_files(files), m_timing(timing) {}

void FolderWatch::follow(const std::vector<std::string>& names) {
    std::map<std::string, Followed, std::less<>> followed;
    for (const std::string& name : names) {
        if (auto old = m_followed.find(name); old != m_followed.end()) {
            followed.insert(*old);
            continue;
        }
        Followed& f = followed[name];
        f.stamp = m_files.stamp(name);
        if (f.stamp) f.seen = f.agreed = m_files.hash(name);
    }
    m_followed = std::move(followed);
}

void FolderWatch::touched(std::string_view name, WatchTime now) {
    if (!m_firstActivity) m_firstActivity = now;
    m_lastActivity = now;
    if (auto f = m_followed.find(name); f != m_followed.end()) f->second.suspect = true;
}

void FolderWatch::folderMoved() { m_gone = true; }

void FolderWatch::wrote(const std::string& name, std::uint64_t hash) {
    Followed& f = m_followed[name];
    f.stamp = m_files.stamp(name);
    f.seen = f.agreed = hash;
    f.reportedMissing = false;
}

bool FolderWatch::holdsAgreed(const std::string& name) {
    auto f = m_followed.find(name);
    if (f == m_followed.end()) return true;  // not part of the link: nothing agreed on to lose
    return !f->second.suspect && f->second.seen == f->second.agreed && m_files.stamp(name) == f->second.stamp;
}

bool FolderWatch::isDue(WatchTime now) const {
    if (m_gone && !m_goneReported) return true;
    if (m_retryAt && now >= *m_retryAt) return true;
    return m_lastActivity &&
           (now - *m_lastActivity >= m_timing.settle || now - *m_firstActivity >= m_timing.longest);
}

std::optional<WatchTime> FolderWatch::nextCheck() const {
    if (m_gone) return m_goneReported ? std::nullopt : std::optional(WatchTime{0});
    std::optional<WatchTime> next = m_retryAt;
    if (m_lastActivity) {
        const WatchTime settled =
            std::min(*m_lastActivity + m_timing.settle, *m_firstActivity + m_timing.longest);
        next = next ? std::min(*next, settled) : settled;
    }
    return next;
}

void FolderWatch::look(WatchTime now, FolderUpdate& update, WatchTime& newestStamp) {
    for (auto& [name, f] : m_followed) {
        std::optional<FileStamp> stamp = m_files.stamp(name);
        if (stamp != f.stamp) {
            f.stamp = stamp;
            f.stampedAt = now;
            f.suspect = true;
        }
        if (!stamp) {
            f.suspect = false;
            if (f.agreed && !f.reportedMissing) update.missing.push_back(name);
            f.reportedMissing = true;
            continue;
        }
        f.reportedMissing = false;
        if (f.suspect) f.seen = m_files.hash(name);
        f.suspect = false;
        // An unreadable file counts as changed: the update that reads it fails and is retried.
        if (!f.seen || f.seen != f.agreed) {
            update.changed.push_back(name);
            newestStamp = std::max(newestStamp, f.stampedAt);
        }
    }
}

std::optional<FolderUpdate> FolderWatch::poll(WatchTime now, const Apply& apply) {
    if (!isDue(now)) return std::nullopt;
    m_firstActivity.reset();
    m_lastActivity.reset();
    m_retryAt.reset();
    FolderUpdate update;
    if (m_gone || !m_files.folderPresent()) {
        m_gone = m_goneReported = true;
        update.kind = FolderUpdate::Kind::FolderGone;
        return update;
    }
    WatchTime newestStamp{0};
    look(now, update, newestStamp);
    if (update.changed.empty()) {
        if (update.missing.empty()) return std::nullopt;
        return update;
    }
    Status applied = apply(update.changed);
    if (applied) {
        // What was seen is agreed now (a file we wrote meanwhile was seen as written).
        for (const std::string& name : update.changed)
            if (auto f = m_followed.find(name); f != m_followed.end()) f->second.agreed = f->second.seen;
        return update;
    }
    if (now - newestStamp < m_timing.stable) {
        m_retryAt = now + m_timing.retry;
        if (update.missing.empty()) return std::nullopt;
        update.changed.clear();  // not applied: only the missing files are news
        return update;
    }
    update.kind = FolderUpdate::Kind::Refused;
    update.reason = applied.error();
    return update;
}

}  // namespace trellisor
