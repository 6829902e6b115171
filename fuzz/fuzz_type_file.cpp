// Fuzzes the type file reader on each page of a small object built in memory.
#include <cstdlib>

#include "object/TypeFile.h"

using namespace trellisor;

namespace {

// A loaded object of 168 tiny raw sprites, as a successful load would leave it.
PathObject smallObject() {
    PathObject obj;
    const std::uint32_t count = 168, tableEnd = 14 + 2 + 1 + 8 + count * 16;
    obj.m_dataSize = tableEnd + count;
    obj.m_data = std::make_unique<std::uint8_t[]>(obj.m_dataSize);
    obj.m_data[14] = 0;
    obj.m_data[15] = 'A';
    obj.m_data[16] = 0;
    obj.m_data[17] = 0xFF;
    obj.m_stringTableOffset = 14;
    obj.m_imageDataOffset = tableEnd;
    for (std::uint32_t i = 0; i < count; ++i) {
        SpriteHeader h;
        h.offset = i;
        h.width = h.height = 1;
        h.flags = 1;
        obj.m_sprites.push_back(h);
        obj.m_data[tableEnd + i] = std::uint8_t(i);
    }
    obj.m_spriteCount = count;
    return obj;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (int page = PagePath; page <= PageSupports; ++page) {
        PathObject obj = smallObject();
        if (!applyTypeBytes(obj, page, {data, size})) continue;
        // A loaded type always leaves a consistent object that exports again.
        if (obj.m_sprites.size() != obj.m_spriteCount) std::abort();
        for (unsigned i = 0; i < obj.m_spriteCount; ++i) {
            auto [start, end] = obj.spriteSpan(i);
            if (start > end || end > obj.m_dataSize) std::abort();
        }
        if (buildTypeFile(obj, page).empty()) std::abort();
    }
    return 0;
}
