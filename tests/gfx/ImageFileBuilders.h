// Builders of PCX and TIFF files in memory for the reader tests and the fuzz seeds.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Bytes.h"

namespace trellisor::test {

// Run-length codes bytes the PCX way: runs of 2..63 and every byte of 0xC0 or
// more as a run, the rest as single bytes.
inline std::vector<std::uint8_t> pcxRunLength(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < raw.size();) {
        std::size_t n = 1;
        while (i + n < raw.size() && raw[i + n] == raw[i] && n < 63) ++n;
        if (n > 1 || raw[i] >= 0xC0) {
            out.push_back(std::uint8_t(0xC0 + n));
            out.push_back(raw[i]);
        } else {
            out.push_back(raw[i]);
        }
        i += n;
    }
    return out;
}

inline std::vector<std::uint8_t> pcxHeader(int width, int height, int planes, int bytesPerLine) {
    std::vector<std::uint8_t> h(128, 0);
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = 8;
    storeLe16(&h[4], 3);  // xmin, ymin not 0: the size is max - min + 1
    storeLe16(&h[6], 7);
    storeLe16(&h[8], std::uint16_t(3 + width - 1));
    storeLe16(&h[10], std::uint16_t(7 + height - 1));
    h[65] = std::uint8_t(planes);
    storeLe16(&h[66], std::uint16_t(bytesPerLine));
    return h;
}

// An 8-bit PCX file: header, run-length data, 768 palette bytes (entry i = i, 255 - i, i / 2).
inline std::vector<std::uint8_t> makePcx8(int width, int height, int bytesPerLine,
                                          const std::vector<std::uint8_t>& rawRows) {
    auto file = pcxHeader(width, height, 1, bytesPerLine);
    auto data = pcxRunLength(rawRows);
    file.insert(file.end(), data.begin(), data.end());
    for (int i = 0; i < 256; ++i) {
        file.push_back(std::uint8_t(i));
        file.push_back(std::uint8_t(255 - i));
        file.push_back(std::uint8_t(i / 2));
    }
    return file;
}

inline std::vector<std::uint8_t> makePcx24(int width, int height, int bytesPerLine,
                                           const std::vector<std::uint8_t>& rawPlanes) {
    auto file = pcxHeader(width, height, 3, bytesPerLine);
    auto data = pcxRunLength(rawPlanes);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

struct TiffEntry {
    std::uint16_t tag, type;
    std::uint32_t count, value;
};

// A little-endian TIFF: header, pixel bytes at offset 8, then extra bytes
// (strip arrays), then the directory.
inline std::vector<std::uint8_t> makeTiff(const std::vector<std::uint8_t>& pixels,
                                          const std::vector<std::uint8_t>& extra,
                                          const std::vector<TiffEntry>& entries) {
    std::vector<std::uint8_t> file;
    ByteWriter w(file);
    w.u8('I');
    w.u8('I');
    w.u16(42);
    w.u32(std::uint32_t(8 + pixels.size() + extra.size()));
    w.bytes(pixels);
    w.bytes(extra);
    w.u16(std::uint16_t(entries.size()));
    for (const TiffEntry& e : entries) {
        w.u16(e.tag);
        w.u16(e.type);
        w.u32(e.count);
        w.u32(e.value);
    }
    w.u32(0);
    return file;
}

// Width x height RGB pixels, one strip held in the entries' value fields.
inline std::vector<std::uint8_t> makeTiffOneStrip(int width, int height,
                                                  const std::vector<std::uint8_t>& rgb) {
    return makeTiff(rgb, {},
                    {{256, 3, 1, std::uint32_t(width)},
                     {257, 3, 1, std::uint32_t(height)},
                     {258, 3, 3, 0},
                     {259, 3, 1, 1},
                     {262, 3, 1, 2},
                     {273, 4, 1, 8},
                     {277, 3, 1, 3},
                     {278, 3, 1, std::uint32_t(height)},
                     {279, 4, 1, std::uint32_t(rgb.size())}});
}

}  // namespace trellisor::test
