// Pictures for reference comparisons: any Image (8-bit images with a palette stay indexed, other
// depths as the colours they show) and palette indices shown through the game palette.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "Reference.h"  // also reached from the fuzz targets, which see only src/
#include "gfx/Image.h"
#include "gfx/Palette.h"

namespace trellisor::test {

inline std::uint32_t opaque(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

inline RefPicture pictureOf(Image& image) {
    RefPicture picture;
    picture.width = image.width();
    picture.height = image.height();
    const Palette* palette = image.bitsPerPixel() == 8 ? image.palette() : nullptr;
    picture.indexed = palette != nullptr;
    if (palette)
        for (const PaletteEntry& e : palette->entries)
            picture.palette.push_back(opaque(e.red, e.green, e.blue));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t v = image.getPixel(x, y);
            int r = 0, g = 0, b = 0;
            if (!palette) image.unpackColor(v, r, g, b);
            picture.pixels.push_back(palette ? v
                                             : opaque(std::uint32_t(r), std::uint32_t(g), std::uint32_t(b)));
        }
    return picture;
}

// Palette indices, row by row, shown through colourOf(index) (anything with red, green, blue).
template <class ColourOf>
inline RefPicture indexedPicture(int width, int height, std::vector<std::uint32_t> indices,
                                 ColourOf colourOf) {
    RefPicture picture{width, height, true, std::move(indices), {}};
    for (int i = 0; i < 256; ++i) {
        const auto c = colourOf(std::uint8_t(i));
        picture.palette.push_back(opaque(c.red, c.green, c.blue));
    }
    return picture;
}

}  // namespace trellisor::test
