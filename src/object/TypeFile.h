// Type files (.PTH): one page's sprites, written from and loaded into a PathObject.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"
#include "object/PathObject.h"

namespace trellisor {

// The bytes of the page's type file (Supports: two flag bytes first).
std::vector<std::uint8_t> buildTypeFile(const PathObject& obj, int page);
Status writeTypeFile(const PathObject& obj, int page, const std::string& path);

// Replaces page's sprites by those of a type file (appending beyond the count;
// Supports also takes the flag bytes and truncates extra sprites). A file that
// cannot be opened or is malformed changes nothing and gives the reason.
Status loadTypeFile(PathObject& obj, int page, const std::string& path);
Status applyTypeBytes(PathObject& obj, int page, std::span<const std::uint8_t> bytes);

}  // namespace trellisor
