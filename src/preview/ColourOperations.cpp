// Brightness, recolouring and sparkles over palette indices, protected ramps kept.
#include "preview/ColourOperations.h"

#include <algorithm>
#include <cstdlib>

#include "preview/SpriteWalk.h"

namespace trellisor {

void adjustSpriteBrightness(PathObject& obj, unsigned index, int delta, const ProtectedRamps& marks) {
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int, int, std::uint8_t& c) {
        const std::uint8_t n = std::uint8_t((c + delta) & 0xFF);
        // Staying in the same ramp keeps the lightest and darkest shades where they are.
        if (rampOfColour(c) == rampOfColour(n) && !isColourProtected(marks, c)) c = n;
    });
}

bool stepPageBrightness(PathObject& obj, int page, int& counter, int delta, const ProtectedRamps& marks) {
    if (!obj.m_data || delta == 0) return false;
    const int step = delta > 0 ? 1 : -1;
    if (step > 0 ? counter >= kBrightnessLimit : counter <= -kBrightnessLimit) return false;
    counter += step;
    for (int i = obj.pageFirstSprite(page); i <= obj.pageLastSprite(page); ++i)
        adjustSpriteBrightness(obj, unsigned(i), step, marks);
    return true;
}

void recolourSprite(PathObject& obj, unsigned index, std::uint8_t ramp, const ProtectedRamps& marks) {
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int, int, std::uint8_t& c) {
        if (!isColourProtected(marks, c)) c = recolourIndex(c, ramp);
    });
}

void recolourPage(PathObject& obj, int page, std::uint8_t ramp, const ProtectedRamps& marks) {
    if (!obj.m_data) return;
    for (int i = obj.pageFirstSprite(page); i <= obj.pageLastSprite(page); ++i)
        recolourSprite(obj, unsigned(i), ramp, marks);
}

int rampOfStripClick(int xFromStripOuterLeft) {
    // The strip shows 18 blocks of 15 pixels inside a one-pixel border; its last
    // columns (the border) give the extra ramp 18, as they always have.
    return std::clamp(xFromStripOuterLeft / 15, 0, kRampCount);
}

void addSparkles(PathObject& obj, int page, const ProtectedRamps& marks) {
    if (!obj.m_data) return;
    for (int i = obj.pageFirstSprite(page); i <= obj.pageLastSprite(page); ++i) {
        forEachSpritePixel(obj, unsigned(i), SpriteFormats::RowCodedOnly, [&](int, int, std::uint8_t& c) {
            if (isColourProtected(marks, c)) return;
            // The second number is drawn only for a pixel that sparkles, so a seed
            // replays the same sparkles.
            if (std::rand() % 100 == 42) c = std::uint8_t(231 + std::rand() % 10);
        });
    }
}

}  // namespace trellisor
