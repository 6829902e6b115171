// Walks the pixels of one sprite in either pixel format, staying inside the
// sprite's bytes whatever its header or row offsets claim.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <type_traits>

#include "object/PathObject.h"

namespace trellisor {

// Which formats a walk visits; the colour operations differ in this only.
enum class SpriteFormats { RawAndRowCoded, RowCodedOnly };

// The bytes of sprite index: from its start up to the next sprite's start (or the
// end of the data when the next one does not lie beyond it). Empty when the
// object is not loaded, the index is out of range or the start lies past the data.
template <class Object>
auto spriteBytes(Object& obj, unsigned index) {
    using Byte = std::conditional_t<std::is_const_v<Object>, const std::uint8_t, std::uint8_t>;
    std::span<Byte> none;
    if (!obj.m_data || obj.m_dataSize == 0 || index >= obj.m_spriteCount || index >= obj.m_sprites.size())
        return none;
    std::uint64_t start = std::uint64_t(obj.m_imageDataOffset) + obj.m_sprites[index].offset;
    std::uint64_t end = obj.m_dataSize;
    if (index + 1 < obj.m_sprites.size()) {
        std::uint64_t next = std::uint64_t(obj.m_imageDataOffset) + obj.m_sprites[index + 1].offset;
        if (next >= start) end = std::min(end, next);
    }
    if (start >= end) return none;
    return std::span<Byte>(obj.m_data.get() + start, std::size_t(end - start));
}

// Calls visit(column, row, pixel) for every drawn pixel of sprite index, in
// storage order: raw sprites (flags 1) skip index 0, row-coded runs (flags 5)
// visit every index, 0 included. Other formats are not visited. pixel is a
// reference into the object's data, so a visitor may change it in place.
template <class Object, class Visit>
void forEachSpritePixel(Object& obj, unsigned index, SpriteFormats formats, Visit&& visit) {
    auto bytes = spriteBytes(obj, index);
    if (bytes.empty()) return;
    const SpriteHeader& h = obj.m_sprites[index];
    const int width = h.width, height = h.height;
    if (width <= 0 || height <= 0) return;
    const std::size_t size = bytes.size();

    if (h.flags == kSpriteRaw) {
        if (formats == SpriteFormats::RowCodedOnly) return;
        std::size_t pos = 0;
        for (int r = 0; r < height; ++r) {
            for (int k = 0; k < width; ++k, ++pos) {
                if (pos >= size) return;
                if (bytes[pos] != 0) visit(k, r, bytes[pos]);
            }
        }
        return;
    }
    if (h.flags != kSpriteRowCoded) return;
    for (int r = 0; r < height; ++r) {
        std::size_t entry = std::size_t(r) * 2;
        if (entry + 2 > size) return;
        // Offsets are stored signed; one pointing before the sprite names no row.
        auto offset = std::int16_t(bytes[entry] | (bytes[entry + 1] << 8));
        if (offset < 0) continue;
        std::size_t pos = std::size_t(offset);
        while (pos + 2 <= size) {
            const int count = bytes[pos] & 0x7F;
            const bool lastRun = (bytes[pos] & 0x80) != 0;
            const int start = bytes[pos + 1];
            pos += 2;
            for (int i = 0; i < count && pos < size; ++i, ++pos) visit(start + i, r, bytes[pos]);
            if (lastRun) break;
        }
    }
}

}  // namespace trellisor
