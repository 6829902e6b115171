// Helpers for the graphics tests: the five memory formats by name, and
// images filled with a recognisable pattern.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/Image.h"
#include "gfx/MemoryImage.h"

namespace trellisor::test {

// One of the five pixel formats, with a way to make a memory image of it.
struct PixelFormat {
    const char* name;
    int bits;
    int layout16;
    std::uint32_t mask;  // the bits a pixel value can hold
};

inline const PixelFormat kFormats[] = {{"8", 8, 0, 0xFF},
                                       {"555", 16, 1, 0x7FFF},
                                       {"565", 16, 2, 0xFFFF},
                                       {"24", 24, 0, 0xFFFFFF},
                                       {"32", 32, 0, 0xFFFFFFFF}};

inline std::unique_ptr<Image> makeImage(const PixelFormat& f, int width, int height) {
    switch (f.bits) {
        case 8:
            return std::make_unique<MemoryImage8>(width, height);
        case 16:
            if (f.layout16 == 1) return std::make_unique<MemoryImage555>(width, height);
            return std::make_unique<MemoryImage565>(width, height);
        case 24:
            return std::make_unique<MemoryImage24>(width, height);
        default:
            return std::make_unique<MemoryImage32>(width, height);
    }
}

// A distinct, never-zero value for each pixel position, within the format's range.
inline std::uint32_t patternValue(const PixelFormat& f, int x, int y) {
    std::uint32_t v = std::uint32_t(x * 7 + y * 131 + 1) * 2654435761u;
    v &= f.mask;
    return v == 0 ? 1 : v;
}

inline void fillPattern(Image& image, const PixelFormat& f) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.putPixel(x, y, patternValue(f, x, y));
}

}  // namespace trellisor::test
