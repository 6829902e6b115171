// File helpers: bounded reads, replace-on-success writes, case-insensitive lookup.
#include "base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace trellisor {

namespace fs = std::filesystem;

namespace {

// The system's words for errno, e.g. "Permission denied".
std::string systemReason(int error) { return std::strerror(error != 0 ? error : EIO); }

}  // namespace

Result<std::vector<std::uint8_t>> readFileBytes(const std::string& path, std::uint64_t maxBytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return Result<std::vector<std::uint8_t>>::fail(systemReason(errno));
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        if (n == 0) break;
        if (bytes.size() + n > maxBytes) {
            std::fclose(f);
            return Result<std::vector<std::uint8_t>>::fail("larger than " + std::to_string(maxBytes) +
                                                           " bytes");
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    const int error = std::ferror(f) != 0 ? errno : 0;
    std::fclose(f);
    if (error != 0) return Result<std::vector<std::uint8_t>>::fail(systemReason(error));
    return Result<std::vector<std::uint8_t>>::ok(std::move(bytes));
}

namespace {

// The file path names once symbolic links are followed: saving replaces that file and keeps
// the links. A chain of more than 40 links (a loop, most likely) is refused as the system would.
Result<std::string> linkTarget(const std::string& path) {
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(p, ec)) return Result<std::string>::ok(p.string());
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) return Result<std::string>::fail(systemReason(ec.value()));
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return Result<std::string>::fail(systemReason(ELOOP));
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(std::size_t(n));
    }
    return true;
}

// After a rename the folder's entry is on disk only once the folder is synced. Some file
// systems cannot sync a folder; the file is in place all the same, so that is no failure.
void syncFolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

Status writeFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes) {
    const auto target = linkTarget(path);
    if (!target) return Status::fail(target.error());
    const std::string& file = target.value();
    // The new file takes the permission bits of the one it replaces; a new file gets the usual ones.
    struct stat old {};
    const bool replaces = ::stat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const std::string temp = file + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Status::fail(systemReason(errno));
    // The first failure's errno is the reason given.
    int error = 0;
    auto check = [&error](bool ok) {
        if (!ok && error == 0) error = errno != 0 ? errno : EIO;
    };
    if (replaces) check(::fchmod(fd, old.st_mode & 07777) == 0);
    check(writeAll(fd, bytes));
    check(::fsync(fd) == 0);
    check(::close(fd) == 0);
    if (error == 0) check(::rename(temp.c_str(), file.c_str()) == 0);
    if (error != 0) {
        ::unlink(temp.c_str());
        return Status::fail(systemReason(error));
    }
    syncFolderOf(file);
    return Status::ok();
}

bool existingWritableFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    return ::access(path.c_str(), W_OK) == 0;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

std::string fileNameOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : char(c); };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool hasExtension(std::string_view name, std::string_view extension) {
    return name.size() >= extension.size() &&
           equalsIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

std::string resolveCaseInsensitive(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return path;
    fs::path p(path);
    std::string name = p.filename().string();
    if (name.empty()) return path;
    // Folders are matched the same way ("art/GRASS.PCX" finds "Art/grass.pcx").
    fs::path dir = p.parent_path();
    if (!dir.empty() && dir != p.root_path() && !fs::exists(dir, ec))
        dir = resolveCaseInsensitive(dir.string());
    fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
    if (ec) return path;
    for (const auto& entry : it) {
        std::string candidate = entry.path().filename().string();
        if (equalsIgnoringCase(candidate, name)) return dir.empty() ? candidate : (dir / candidate).string();
    }
    return path;
}

std::string currentDirectory() {
    std::error_code ec;
    auto cwd = fs::current_path(ec);
    return ec ? std::string() : cwd.string();
}

}  // namespace trellisor
