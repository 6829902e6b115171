// File helpers: bounded reads, replace-on-success writes, case-insensitive lookup.
#include "base/Files.h"

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

Status writeFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string temp = path + ".tmp-" + std::to_string(::getpid());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return Status::fail(systemReason(errno));
    // The first failure's errno is the reason given.
    int error = 0;
    auto check = [&error](bool ok) {
        if (!ok && error == 0) error = errno != 0 ? errno : EIO;
    };
    check(bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    check(std::fflush(f) == 0);
    check(::fsync(::fileno(f)) == 0);
    check(std::fclose(f) == 0);
    std::error_code ec;
    if (error == 0) {
        fs::rename(temp, path, ec);
        if (ec) error = ec.value();
    }
    if (error != 0) {
        fs::remove(temp, ec);
        return Status::fail(systemReason(error));
    }
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

static bool equalsIgnoringCase(std::string_view a, std::string_view b) {
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
