// A sprite as a picture: its size, drawing offsets and, per pixel, either a game
// palette index or an RGBA colour. What export writes and import reads, without Qt.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "object/PathObject.h"

namespace trellisor {

// Pictures a sprite can take: 1 ... 4096 pixels on each side.
inline constexpr int kMaxPictureSide = 4096;

struct Rgba {
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
    bool operator==(const Rgba&) const = default;
};

// Alpha below this is transparent.
inline constexpr std::uint8_t kOpaqueAlpha = 128;

struct Picture {
    int width = 0;
    int height = 0;
    int xOffset = 0;  // the sprite's drawing offsets
    int yOffset = 0;
    bool indexed = true;
    std::vector<std::uint8_t> indices;  // indexed: width x height palette indices, 0 transparent
    std::vector<Rgba> colours;          // otherwise: width x height colours, row by row

    std::size_t pixelCount() const { return std::size_t(width) * std::size_t(height); }
    // True when the pixel data hold exactly width x height entries of the picture's kind.
    bool isConsistent() const;
};

// A palette index as an opaque colour (index 255 is black).
Rgba gameColour(std::uint8_t index);

// Sprite index of obj as export writes it: at least 1 x 1 pixels, its top-left pixel at
// 0, 0, and its offsets. Indexed: the drawn indices (0 where nothing is drawn, so a
// row-coded run's index 0 reads as transparent). RGBA: what the game draws, opaque,
// and transparent black elsewhere.
Picture spritePicture(const PathObject& obj, unsigned index, bool rgba);

// Whether an indexed picture's colour table is the game palette for every index it
// uses: each used index other than 0 has its entry, opaque and of the game colour.
bool usesGamePalette(std::span<const Rgba> table, std::span<const std::uint8_t> indices);

}  // namespace trellisor
