// Colour facts and the one wording of "what lies here".
#include "preview/PixelFacts.h"

#include <array>
#include <cstdio>

#include "preview/ColourRamps.h"
#include "preview/SpriteFacts.h"

namespace trellisor {

namespace {

// Named after each ramp's middle shades.
constexpr std::array<const char*, kRampCount> kRampNames = {
    "greys",       "olive greens",  "tans",    "yellows",   "dull reds", "grass greens",
    "sage greens", "bright greens", "peaches", "lavenders", "blues",     "sea greens",
    "purples",     "bright reds",   "oranges", "teals",     "pinks",     "beiges"};

}  // namespace

const char* rampName(int ramp) {
    if (ramp < 0) return "";
    return ramp < kRampCount ? kRampNames[std::size_t(ramp)] : "special colours";
}

ColourFacts colourFacts(std::uint8_t index) {
    ColourFacts facts{index, std::nullopt, std::nullopt, previewColour(index)};
    const int ramp = rampOfColour(index);
    if (ramp < kRampCount) facts.ramp = ramp;
    if (index >= kFirstRampIndex && ramp < kRampCount) facts.shade = shadeOfColour(index);
    return facts;
}

std::string rgbText(const RgbQuad& colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

std::string describeColour(const ColourFacts& facts) {
    std::string text = "index " + std::to_string(facts.index) + ", ";
    text +=
        facts.ramp ? "ramp " + std::to_string(*facts.ramp) + " (" + rampName(*facts.ramp) + ")" : "special";
    if (facts.shade) text += ", shade " + std::to_string(*facts.shade);
    return text + ", " + rgbText(facts.colour);
}

ScenePixel scenePixel(const FrameOwners& owners, int x, int y, const RgbQuad& shown) {
    ScenePixel pixel;
    pixel.x = x, pixel.y = y, pixel.shown = shown;
    const PixelOwner owner = owners.at(x, y);
    pixel.source = owner.source;
    if (owner.source == PixelSource::Sprite) {
        pixel.sprite = owner.sprite;
        pixel.colour = colourFacts(owner.index);
    }
    return pixel;
}

RgbQuad shownColour(Image& screen, int x, int y) {
    int r = 0, g = 0, b = 0;
    screen.unpackColor(screen.getPixel(x, y), r, g, b);
    return {std::uint8_t(b), std::uint8_t(g), std::uint8_t(r), 0};
}

std::string describeSprite(const PathObject& obj, unsigned index) {
    const auto page = pageOfSprite(obj, index);
    return "sprite " + std::to_string(index) + ", " + (page ? kPages[std::size_t(*page)].caption : "icon");
}

std::string describeScenePixel(const PathObject& obj, const ScenePixel& pixel) {
    const std::string where = "x " + std::to_string(pixel.x) + ", y " + std::to_string(pixel.y) + ": ";
    switch (pixel.source) {
        case PixelSource::Sprite:
            return where + describeSprite(obj, pixel.sprite) + "; " + describeColour(*pixel.colour);
        case PixelSource::Grass:
            return where + "grass, " + rgbText(pixel.shown);
        case PixelSource::Background:
            break;
    }
    return where + "background, " + rgbText(pixel.shown);
}

std::string describeSpritePixel(const PathObject& obj, unsigned index, int column, int row) {
    const std::string where = "sprite " + std::to_string(index) + ", x " + std::to_string(column) + ", y " +
                              std::to_string(row) + ": ";
    const auto c = spritePixelAt(obj, index, column, row);
    return where + (c ? describeColour(colourFacts(*c)) : "transparent");
}

std::size_t markDifferences(std::span<std::uint32_t> after, std::span<const std::uint32_t> before) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i >= before.size() || after[i] != before[i]) {
            after[i] = kDifferenceColour;
            ++count;
        } else {
            after[i] = (after[i] & 0xFF000000u) | ((after[i] >> 2) & 0x3F3F3Fu);
        }
    }
    return count;
}

}  // namespace trellisor
