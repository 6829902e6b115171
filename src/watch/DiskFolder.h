// The followed folder on disk: stamps from stat, hashes of the files' bytes, and whether
// the folder is still the one that was linked (the same device and inode at its path).
#pragma once

#include <sys/types.h>

#include "watch/FolderWatch.h"

namespace trellisor {

class DiskFolder : public FolderFiles {
public:
    explicit DiskFolder(std::string dir);

    const std::string& dir() const { return m_dir; }
    // The path of a followed name: relative names lie in the folder.
    std::string pathOf(const std::string& name) const;

    std::optional<FileStamp> stamp(const std::string& name) override;
    std::optional<std::uint64_t> hash(const std::string& name) override;
    bool folderPresent() override;

private:
    std::string m_dir;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

}  // namespace trellisor
