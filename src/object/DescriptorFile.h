// Descriptor files: per page, the list of exported types (count, then name and file name lines).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "object/Pages.h"

namespace trellisor {

struct TypeEntry {
    std::string name;      // shown in the type combo box
    std::string fileName;  // type file in the working directory
    bool operator==(const TypeEntry&) const = default;
};

// Parses descriptor text: the count by atoi, then pairs of lines; missing lines
// give empty texts. Absurd counts are bounded by what the text can still hold.
std::vector<TypeEntry> parseDescriptorText(std::string_view text);
// Reads a descriptor file; a missing or unreadable file gives an empty list.
std::vector<TypeEntry> readDescriptorFile(const std::string& path);
// The type lists of all pages, read from their descriptor files in directory (the
// String Table page's list stays empty).
std::array<std::vector<TypeEntry>, kPageCount> readTypeLists(const std::string& directory);
std::string formatDescriptorText(const std::vector<TypeEntry>& entries);
Status writeDescriptorFile(const std::string& path, const std::vector<TypeEntry>& entries);

}  // namespace trellisor
