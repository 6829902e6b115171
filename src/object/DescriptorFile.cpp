// Descriptor files: a count line read as atoi reads it, then a name line and a file name line per type.
#include "object/DescriptorFile.h"

#include <climits>

#include "base/Files.h"

namespace trellisor {

namespace {

// Entries past the end of the text still count (with empty texts), as a descriptor
// with a few missing lines must behave; beyond this many the count is taken as absurd.
constexpr std::size_t kMaxMissingEntries = 16;
constexpr std::uint64_t kMaxDescriptorBytes = 16ull * 1024 * 1024;

// The C library's atoi, without its undefined overflow: saturates instead.
long long parseCount(std::string_view line) {
    std::size_t i = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < line.size() && isSpace(line[i])) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    long long value = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        if (value < INT_MAX) value = value * 10 + (line[i] - '0');
        ++i;
    }
    return negative ? -value : value;
}

// Splits text into lines; the line end ("\n", or "\r\n" as the original platform wrote it) is not part of a
// line.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    return lines;
}

}  // namespace

std::vector<TypeEntry> parseDescriptorText(std::string_view text) {
    std::vector<TypeEntry> entries;
    const auto lines = splitLines(text);
    if (lines.empty()) return entries;
    const long long declared = parseCount(lines[0]);
    if (declared < 1) return entries;
    const std::size_t available = (lines.size() - 1 + 1) / 2;  // pairs, the last one possibly half
    const std::size_t count = std::min<std::size_t>(std::size_t(declared), available + kMaxMissingEntries);
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        TypeEntry e;
        const std::size_t nameLine = 1 + 2 * i;
        if (nameLine < lines.size()) e.name = std::string(lines[nameLine]);
        if (nameLine + 1 < lines.size()) e.fileName = std::string(lines[nameLine + 1]);
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<TypeEntry> readDescriptorFile(const std::string& path) {
    auto bytes = readFileBytes(resolveCaseInsensitive(path), kMaxDescriptorBytes);
    if (!bytes) return {};
    const auto& b = bytes.value();
    return parseDescriptorText(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
}

std::array<std::vector<TypeEntry>, kPageCount> readTypeLists(const std::string& directory) {
    std::array<std::vector<TypeEntry>, kPageCount> lists;
    for (int page = PagePath; page <= PageSupports; ++page)
        lists[std::size_t(page)] =
            readDescriptorFile(joinPath(directory, kPages[std::size_t(page)].descriptorFile));
    return lists;
}

std::string formatDescriptorText(const std::vector<TypeEntry>& entries) {
    std::string text = std::to_string(entries.size()) + "\n";
    for (const auto& e : entries) text += e.name + "\n" + e.fileName + "\n";
    return text;
}

Status writeDescriptorFile(const std::string& path, const std::vector<TypeEntry>& entries) {
    const std::string text = formatDescriptorText(entries);
    return writeFileReplacing(path,
                              std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace trellisor
