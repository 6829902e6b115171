// What the Viewer and the command line say about one sprite: its page, size, offsets,
// format, bytes and sprite-folder file name; the cells of a page's gallery; and the
// sprite as colours around its anchor, for showing it large.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "object/PathObject.h"

namespace trellisor {

// The sprite page whose range holds index; none for the two icons (and past the sprites).
std::optional<int> pageOfSprite(const PathObject& obj, unsigned index);

// "055.png": the name the sprite gets in a sprite folder.
std::string spriteFileName(unsigned index);

// "raw", "row-coded", or "unknown (flags N)".
std::string spriteFormatName(std::int16_t flags);

struct SpriteFacts {
    unsigned index = 0;
    std::optional<int> page;
    bool icon = false;  // sprite 71 or 72
    int width = 0, height = 0, xOffset = 0, yOffset = 0;
    std::int16_t flags = 0;
    std::uint32_t byteCount = 0;  // its pixel bytes in the object
    std::string fileName;
};

// Nothing when the object has no such sprite.
std::optional<SpriteFacts> spriteFacts(const PathObject& obj, unsigned index);

// The palette index sprite index draws at its pixel (column, row), nothing where it is transparent.
std::optional<std::uint8_t> spritePixelAt(const PathObject& obj, unsigned index, int column, int row);

// One cell of a page's gallery: the page's sprites in order, then the two icons; without a
// page, every sprite of the object in order.
struct GalleryCell {
    unsigned sprite = 0;
    bool present = false;  // false: a gap (no such sprite, no pixels, or a format that is never drawn)
    bool icon = false;
    bool operator==(const GalleryCell&) const = default;
};
std::vector<GalleryCell> galleryCells(const PathObject& obj, std::optional<int> page);

// A rectangle relative to a sprite's anchor.
struct SpriteBox {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const SpriteBox&) const = default;
};
// Where the sprite's pixels lie around its anchor (its offsets and size; empty for a gap).
SpriteBox spriteBox(const PathObject& obj, unsigned index);
// The smallest box holding both (an empty box holds nothing).
SpriteBox uniteBoxes(const SpriteBox& a, const SpriteBox& b);

// The sprite as the game draws it, as 0xAARRGGBB pixels of box (row by row): opaque where
// it draws, 0 (transparent) elsewhere.
std::vector<std::uint32_t> spriteColours(const PathObject& obj, unsigned index, const SpriteBox& box);

}  // namespace trellisor
