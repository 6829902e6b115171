// Descriptor files: per page, the list of exported types (count, then name and file name lines).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace trellisor {

struct TypeEntry {
    std::string name;      // shown in the type combo box
    std::string fileName;  // type file in the working directory
    bool operator==(const TypeEntry&) const = default;
};

// The descriptor file of each page ("" for the String Table page).
inline constexpr const char* kDescriptorFileNames[6] = {"path.txt",  "prail.txt",   "queue.txt",
                                                        "qrail.txt", "support.txt", ""};

// Parses descriptor text: the count by atoi, then pairs of lines; missing lines
// give empty texts. Absurd counts are bounded by what the text can still hold.
std::vector<TypeEntry> parseDescriptorText(std::string_view text);
// Reads a descriptor file; a missing or unreadable file gives an empty list.
std::vector<TypeEntry> readDescriptorFile(const std::string& path);
std::string formatDescriptorText(const std::vector<TypeEntry>& entries);
Status writeDescriptorFile(const std::string& path, const std::vector<TypeEntry>& entries);

}  // namespace trellisor
