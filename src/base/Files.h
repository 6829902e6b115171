// File helpers shared by every layer: bounded reads, replace-on-success writes,
// and name lookup that ignores case the way the game's own platform did.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace trellisor {

// The largest outside file any reader takes into memory.
inline constexpr std::uint64_t kMaxInputFileBytes = 256ull * 1024 * 1024;

// Failures give the system's reason alone ("Permission denied"): the caller names the file.

// Reads a whole file, refusing files larger than maxBytes.
Result<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                std::uint64_t maxBytes = kMaxInputFileBytes);

// Writes bytes to a temporary file beside path and renames it over path only
// once everything is on disk: a failed write leaves any existing file as it was, and a
// process killed at any moment leaves the old file or the new one (a killed write may leave
// its temporary, NAME.tmp-PID, beside it). The new file keeps the permission bits of the
// one it replaces; when path is a symbolic link, the file it points to is replaced and the
// link stays. The folder is synced after the rename, so the new name survives a power loss.
Status writeFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes);

// True when path names an existing regular file that can be opened for writing
// without creating it (the editor's "exists, overwrite?" test).
bool existingWritableFile(const std::string& path);

// dir + "/" + name; name alone when dir is empty.
std::string joinPath(const std::string& dir, const std::string& name);

// The name's last path component ("a/b/C.DAT" -> "C.DAT").
std::string fileNameOf(const std::string& path);

// Whether a and b are equal without regard to ASCII case.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Whether name ends in extension (".dat") without regard to ASCII case.
bool hasExtension(std::string_view name, std::string_view extension);

// Resolves path on a case-sensitive file system: the path as given when it
// exists, else the first entry of its folder whose name equals the last
// component without regard to ASCII case, else path unchanged.
std::string resolveCaseInsensitive(const std::string& path);

// The process's current directory ("" when it cannot be read).
std::string currentDirectory();

}  // namespace trellisor
