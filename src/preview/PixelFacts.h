// What lies at a pixel, as the Viewer's status line and `trellisor-cli pick` say it: the
// palette index with its colour ramp and shade, the colour shown, and in a preview frame
// the sprite that drew it, or grass, or background.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "gfx/Image.h"
#include "object/PathObject.h"
#include "preview/FrameOwners.h"
#include "preview/GamePalette.h"

namespace trellisor {

// A ramp's colour in words: "blues" for ramp 10; "special colours" for 18 and above.
const char* rampName(int ramp);

struct ColourFacts {
    std::uint8_t index = 0;
    // 0-17 as the Protected boxes count them (indices 0-9 fall to box 0); none for the
    // special colours, 226 and above.
    std::optional<int> ramp;
    // 0 (dark) to 11 (light) within the ramp; none below index 10 and for special colours.
    std::optional<int> shade;
    RgbQuad colour;  // what the game draws for it
};
ColourFacts colourFacts(std::uint8_t index);

// "#1f7b00".
std::string rgbText(const RgbQuad& colour);
// "index 98, ramp 7 (bright greens), shade 4, #1f7b00"; "index 230, special, #ffff00".
std::string describeColour(const ColourFacts& facts);

// One pixel of a preview frame. Grass reports no palette index: its picture has colours
// of its own, not the game's.
struct ScenePixel {
    int x = 0, y = 0;
    PixelSource source = PixelSource::Background;
    unsigned sprite = 0;                // Sprite only
    std::optional<ColourFacts> colour;  // Sprite only
    RgbQuad shown;                      // the colour on the screen
};
// The owner record says who drew it; shown is the colour of the frame the record was made with.
ScenePixel scenePixel(const FrameOwners& owners, int x, int y, const RgbQuad& shown);
// The colour a screen shows at x, y.
RgbQuad shownColour(Image& screen, int x, int y);

// "sprite 82, Path Railings", "sprite 71, icon".
std::string describeSprite(const PathObject& obj, unsigned index);
// "x 163, y 67: sprite 82, Path Railings; index 98, ramp 7 (bright greens), shade 4, #1f7b00",
// "x 5, y 5: grass, #3c8c28", "x 5, y 5: background, #000000".
std::string describeScenePixel(const PathObject& obj, const ScenePixel& pixel);
// "sprite 55, x 3, y 10: index 98, ..." or "sprite 55, x 0, y 0: transparent" (sprite coordinates:
// column and row of the sprite's picture).
std::string describeSpritePixel(const PathObject& obj, unsigned index, int column, int row);

// The difference view: each pixel of after (0xAARRGGBB, the size of before) that differs from
// before becomes kDifferenceColour; the others keep their colour at a quarter of its brightness,
// so the marks stand out. Returns how many differ.
inline constexpr std::uint32_t kDifferenceColour = 0xFFFF00FFu;
std::size_t markDifferences(std::span<std::uint32_t> after, std::span<const std::uint32_t> before);

}  // namespace trellisor
