// Palette indices as reference pictures in the game's colours (index 255 black).
#pragma once

#include <cstdint>
#include <vector>

#include "preview/GamePalette.h"
#include "support/Reference.h"

namespace trellisor::test {

// Cells of width x height indices each, left to right with a column of index 0 between them.
inline RefPicture gamePicture(int width, int height, const std::vector<std::vector<std::uint8_t>>& cells) {
    RefPicture picture{int(cells.size()) * (width + 1) - 1, height, true, {}, {}};
    for (int y = 0; y < height; ++y)
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c) picture.pixels.push_back(0);
            for (int x = 0; x < width; ++x) picture.pixels.push_back(cells[c].at(std::size_t(y * width + x)));
        }
    for (int i = 0; i < 256; ++i) {
        const RgbQuad q = previewColour(std::uint8_t(i));
        picture.palette.push_back(0xFF000000u | std::uint32_t(q.red) << 16 | std::uint32_t(q.green) << 8 |
                                  q.blue);
    }
    return picture;
}

}  // namespace trellisor::test
