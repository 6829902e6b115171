// DiskFolder: stat and read.
#include "watch/DiskFolder.h"

#include <sys/stat.h>

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

std::optional<std::uint64_t> DiskFolder::hash(const std::string& name) {
    auto bytes = readFileBytes(pathOf(name));
    if (!bytes) return std::nullopt;
    return contentHash(bytes.value());
}

bool DiskFolder::folderPresent() {
    struct stat s {};
    return m_inode != 0 && ::stat(m_dir.c_str(), &s) == 0 && S_ISDIR(s.st_mode) && s.st_dev == m_device &&
           s.st_ino == m_inode;
}

}  // namespace trellisor
