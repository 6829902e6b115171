// Walks the pixels of one sprite in either pixel format, staying inside the
// sprite's bytes whatever its header or row offsets claim.
#pragma once

#include <cstdint>

#include "object/PathObject.h"

namespace trellisor {

// Which formats a walk visits; the colour operations differ in this only.
enum class SpriteFormats { RawAndRowCoded, RowCodedOnly };

// Calls visit(column, row, pixel) for every drawn pixel of sprite index, in
// storage order: raw sprites (flags 1) skip index 0, row-coded runs (flags 5)
// visit every index, 0 included. Other formats are not visited. pixel is a
// reference into the object's data, so a visitor may change it in place.
template <class Object, class Visit>
void forEachSpritePixel(Object& obj, unsigned index, SpriteFormats formats, Visit&& visit) {
    auto bytes = obj.spritePixels(index);
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
