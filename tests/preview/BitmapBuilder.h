// Builds BMP file bytes in memory for the import tests and the fuzz corpus.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Bytes.h"

namespace trellisor::test {

struct BitmapContent {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: stored top-down
    std::uint16_t bitCount = 24;
    std::uint32_t clrUsed = 0;
    std::vector<std::uint8_t> colourTable;  // 4 bytes an entry (blue, green, red, 0), written as given
    std::vector<std::uint8_t> pixels;       // written as given after the table
};

inline std::vector<std::uint8_t> bitmapBytes(const BitmapContent& s) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    const std::uint32_t dataOffset = 54 + std::uint32_t(s.colourTable.size());
    w.u8('B');
    w.u8('M');
    w.u32(dataOffset + std::uint32_t(s.pixels.size()));
    w.u32(0);
    w.u32(dataOffset);
    w.u32(40);
    w.u32(std::uint32_t(s.width));
    w.u32(std::uint32_t(s.height));
    w.u16(1);
    w.u16(s.bitCount);
    w.u32(0);
    w.u32(std::uint32_t(s.pixels.size()));
    w.u32(2835);
    w.u32(2835);
    w.u32(s.clrUsed);
    w.u32(0);
    w.bytes(s.colourTable);
    w.bytes(s.pixels);
    return out;
}

// A 24-bit bitmap (bottom-up) whose pixel at picture line y (from the top),
// column x is colourAt(x, y) as {red, green, blue}; rows padded to 4 bytes.
template <class ColourAt>
std::vector<std::uint8_t> bitmap24(int width, int height, ColourAt colourAt) {
    BitmapContent s;
    s.width = width;
    s.height = height;
    s.bitCount = 24;
    const int stride = ((width * 24 + 31) / 32) * 4;
    s.pixels.assign(std::size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        const int stored = height - 1 - y;
        for (int x = 0; x < width; ++x) {
            auto [r, g, b] = colourAt(x, y);
            std::uint8_t* p = &s.pixels[std::size_t(stored) * stride + 3 * x];
            p[0] = std::uint8_t(b);
            p[1] = std::uint8_t(g);
            p[2] = std::uint8_t(r);
        }
    }
    return bitmapBytes(s);
}

}  // namespace trellisor::test
