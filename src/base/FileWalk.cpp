// Finding the files of one kind under folders, without following a link into a loop.
#include "base/FileWalk.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <utility>

#include "base/Files.h"

namespace trellisor {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

class Walk {
public:
    Walk(std::string_view extension, std::vector<std::string>& found)
        : m_extension(extension), m_found(found) {}

    void folder(const std::string& path, const struct stat& info) {
        if (!m_visited.insert({info.st_dev, info.st_ino}).second) return;
        std::error_code ec;
        std::vector<std::string> names;
        for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
            names.push_back(it->path().filename().string());
        if (ec) {
            m_found.push_back(path);
            return;
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const std::string child = joinPath(path, name);
            struct stat childInfo {};
            const bool exists = ::stat(child.c_str(), &childInfo) == 0;  // follows links
            if (exists && S_ISDIR(childInfo.st_mode))
                folder(child, childInfo);
            else if (hasExtension(name, m_extension))
                m_found.push_back(child);  // a broken link too: reading it says why
        }
    }

private:
    std::string_view m_extension;
    std::vector<std::string>& m_found;
    std::set<FolderId> m_visited;
};

}  // namespace

Result<std::vector<std::string>> findFilesByExtension(const std::vector<std::string>& roots,
                                                      std::string_view extension) {
    for (const std::string& root : roots) {
        struct stat info {};
        if (::stat(root.c_str(), &info) != 0)
            return Result<std::vector<std::string>>::fail("no such file or folder: " + root);
    }
    std::vector<std::string> found;
    Walk walk(extension, found);
    for (const std::string& root : roots) {
        struct stat info {};
        if (::stat(root.c_str(), &info) != 0) continue;  // removed since the check above
        if (S_ISDIR(info.st_mode))
            walk.folder(root, info);
        else
            found.push_back(root);
    }
    return Result<std::vector<std::string>>::ok(std::move(found));
}

}  // namespace trellisor
