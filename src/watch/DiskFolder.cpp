// DiskFolder: stat and read.
#include "watch/DiskFolder.h"

#include <sys/stat.h>

#include <cstdio>

#include "base/Files.h"

namespace trellisor {

DiskFolder::DiskFolder(std::string dir) : m_dir(std::move(dir)) {
    struct stat s {};
    if (::stat(m_dir.c_str(), &s) == 0 && S_ISDIR(s.st_mode)) m_device = s.st_dev, m_inode = s.st_ino;
}

std::string DiskFolder::pathOf(const std::string& name) const {
    return !name.empty() && name.front() == '/' ? name : joinPath(m_dir, name);
}

std::optional<FileStamp> DiskFolder::stamp(const std::string& name) {
    struct stat s {};
    if (::stat(pathOf(name).c_str(), &s) != 0 || !S_ISREG(s.st_mode)) return std::nullopt;
    return FileStamp{std::uint64_t(s.st_size),
                     std::int64_t(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec,
                     std::uint64_t(s.st_ino)};
}

// Read in parts, so that a large file costs no more memory than a small one.
std::optional<std::uint64_t> DiskFolder::hash(const std::string& name) {
    std::FILE* f = std::fopen(pathOf(name).c_str(), "rb");
    if (!f) return std::nullopt;
    std::uint64_t hash = kEmptyContentHash;
    std::uint8_t part[65536];
    for (std::size_t n; (n = std::fread(part, 1, sizeof part, f)) > 0;) hash = contentHash({part, n}, hash);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return hash;
}

bool DiskFolder::folderPresent() {
    struct stat s {};
    return m_inode != 0 && ::stat(m_dir.c_str(), &s) == 0 && S_ISDIR(s.st_mode) && s.st_dev == m_device &&
           s.st_ino == m_inode;
}

}  // namespace trellisor
