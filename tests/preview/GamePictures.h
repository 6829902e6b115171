// Palette indices as reference pictures in the game's colours (index 255 black).
#pragma once

#include <cstdint>
#include <vector>

#include "preview/GamePalette.h"
#include "support/Pictures.h"

namespace trellisor::test {

// The colour of each index as 0xFFRRGGBB.
inline std::vector<std::uint32_t> gameColours() { return indexedPicture(0, 0, {}, previewColour).palette; }

// Cells of width x height indices each, left to right with a column of index 0 between them.
inline RefPicture gamePicture(int width, int height, const std::vector<std::vector<std::uint8_t>>& cells) {
    std::vector<std::uint32_t> indices;
    for (int y = 0; y < height; ++y)
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c) indices.push_back(0);
            for (int x = 0; x < width; ++x) indices.push_back(cells[c].at(std::size_t(y * width + x)));
        }
    return indexedPicture(int(cells.size()) * (width + 1) - 1, height, std::move(indices), previewColour);
}

}  // namespace trellisor::test
