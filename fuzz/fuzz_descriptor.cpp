// Fuzzes the descriptor list reader; its output must format and parse back to itself.
#include <cstdlib>
#include <string_view>

#include "object/DescriptorFile.h"

using namespace trellisor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto entries = parseDescriptorText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (entries.size() > size / 2 + 32) std::abort();
    // Written back, the list reads the same; a text ending in '\r' is the one exception,
    // as that byte is taken for part of a "\r\n" line end.
    for (const auto& e : entries)
        if ((!e.name.empty() && e.name.back() == '\r') || (!e.fileName.empty() && e.fileName.back() == '\r'))
            return 0;
    if (parseDescriptorText(formatDescriptorText(entries)) != entries) std::abort();
    return 0;
}
