// PCX, TIFF and BMP files built in memory, for the reader tests and the fuzz seeds.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Bytes.h"

namespace trellisor::test {

using FileBytes = std::vector<std::uint8_t>;

// PCX run-length coding: runs of 2..63 and every byte of 0xC0 or more as a run, the rest as is.
inline FileBytes pcxRunLength(const FileBytes& raw) {
    FileBytes out;
    for (std::size_t i = 0, n = 1; i < raw.size(); i += n, n = 1) {
        while (i + n < raw.size() && raw[i + n] == raw[i] && n < 63) ++n;
        if (n > 1 || raw[i] >= 0xC0) out.push_back(std::uint8_t(0xC0 + n));
        out.push_back(raw[i]);
    }
    return out;
}

// A PCX file: header (xmin 3, ymin 7: the size is max - min + 1), then the run-length data as given.
inline FileBytes pcxCoded(int width, int height, int planes, int bytesPerLine, const FileBytes& coded) {
    FileBytes h(128, 0);
    h[0] = 10, h[1] = 5, h[2] = 1, h[3] = 8, h[65] = std::uint8_t(planes);
    for (auto [at, v] :
         {std::pair{4, 3}, {6, 7}, {8, 3 + width - 1}, {10, 7 + height - 1}, {66, bytesPerLine}})
        storeLe16(&h[std::size_t(at)], std::uint16_t(v));
    for (std::uint8_t b : coded) h.push_back(b);  // (inserting an empty range upsets GCC's bounds check)
    return h;
}

// An 8-bit PCX file: header, run-length data, then the 768 palette bytes (by default
// entry i = i, 255 - i, i / 2).
inline FileBytes makePcx8(int width, int height, int bytesPerLine, const FileBytes& rawRows,
                          FileBytes palette = {}) {
    auto file = pcxCoded(width, height, 1, bytesPerLine, pcxRunLength(rawRows));
    for (int i = 0; palette.empty() && i < 256; ++i)
        file.insert(file.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)});
    file.insert(file.end(), palette.begin(), palette.end());
    return file;
}

// A 24-bit PCX file: each scan line is the red plane, then green, then blue.
inline FileBytes makePcx24(int width, int height, int bytesPerLine, const FileBytes& rawPlanes) {
    return pcxCoded(width, height, 3, bytesPerLine, pcxRunLength(rawPlanes));
}

struct TiffEntry {
    std::uint16_t tag, type;
    std::uint32_t count, value;
};

// A little-endian TIFF: header, pixel bytes at offset 8, extra bytes (strip arrays), the directory.
inline FileBytes makeTiff(const FileBytes& pixels, const FileBytes& extra,
                          const std::vector<TiffEntry>& entries) {
    FileBytes file;
    ByteWriter w(file);
    w.u8('I'), w.u8('I'), w.u16(42), w.u32(std::uint32_t(8 + pixels.size() + extra.size()));
    w.bytes(pixels), w.bytes(extra), w.u16(std::uint16_t(entries.size()));
    for (const TiffEntry& e : entries) w.u16(e.tag), w.u16(e.type), w.u32(e.count), w.u32(e.value);
    w.u32(0);
    return file;
}

// Width x height RGB pixels in one strip at offset 8.
inline FileBytes makeTiffOneStrip(int width, int height, const FileBytes& rgb) {
    const auto w = std::uint32_t(width), h = std::uint32_t(height), size = std::uint32_t(rgb.size());
    const std::vector<TiffEntry> entries = {{256, 3, 1, w}, {257, 3, 1, h}, {258, 3, 3, 0},
                                            {259, 3, 1, 1}, {262, 3, 1, 2}, {273, 4, 1, 8},
                                            {277, 3, 1, 3}, {278, 3, 1, h}, {279, 4, 1, size}};
    return makeTiff(rgb, {}, entries);
}

struct BitmapContent {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: stored top-down
    std::uint16_t bitCount = 24;
    std::uint32_t clrUsed = 0;
    FileBytes colourTable;  // 4 bytes an entry (blue, green, red, 0), written as given
    FileBytes pixels;       // written as given after the table
};

inline FileBytes bitmapBytes(const BitmapContent& s) {
    FileBytes out;
    ByteWriter w(out);
    const std::uint32_t dataOffset = 54 + std::uint32_t(s.colourTable.size());
    const auto size = std::uint32_t(s.pixels.size());
    w.u8('B'), w.u8('M');
    for (std::uint32_t v :
         {dataOffset + size, 0u, dataOffset, 40u, std::uint32_t(s.width), std::uint32_t(s.height)})
        w.u32(v);
    w.u16(1), w.u16(s.bitCount);
    for (std::uint32_t v : {0u, size, 2835u, 2835u, s.clrUsed, 0u}) w.u32(v);
    w.bytes(s.colourTable), w.bytes(s.pixels);
    return out;
}

// A 24-bit bitmap (bottom-up) whose pixel at picture line y (from the top), column x
// is colourAt(x, y) as {red, green, blue}; rows padded to 4 bytes.
template <class ColourAt>
FileBytes bitmap24(int width, int height, ColourAt colourAt) {
    BitmapContent s{width, height, 24, 0, {}, {}};
    const int stride = (width * 3 + 3) / 4 * 4;
    s.pixels.assign(std::size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto [r, g, b] = colourAt(x, y);
            std::uint8_t* p = &s.pixels[std::size_t(height - 1 - y) * stride + 3 * x];
            p[0] = std::uint8_t(b), p[1] = std::uint8_t(g), p[2] = std::uint8_t(r);
        }
    return bitmapBytes(s);
}

}  // namespace trellisor::test
