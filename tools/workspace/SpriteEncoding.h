// Turning a drawn picture of palette indices into a sprite: header and pixel bytes,
// raw (index 0 transparent) or row-coded (runs of covered columns).
#pragma once

#include <cstdint>
#include <vector>

#include "object/PathObject.h"

namespace trellisor::workspace {

// A finished sprite: its header (offset left 0; the object assigns it) and pixel bytes.
struct SpriteData {
    SpriteHeader header;
    std::vector<std::uint8_t> bytes;
};

// A picture of width x height palette indices with a coverage mask (1 = drawn).
struct IndexPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> covered;
};

// Encodes the picture, which is placed at xOffset, yOffset from the sprite's anchor.
// Row-coded rows hold one run per stretch of covered columns (at most 127 pixels each);
// a row with nothing covered gets one empty run, since every row needs a run.
SpriteData encodeSprite(const IndexPicture& picture, int xOffset, int yOffset, bool rowCoded);

// An empty sprite (one transparent pixel), for sprites a set leaves blank.
SpriteData emptySprite();

}  // namespace trellisor::workspace
