// Sprites as pictures, and the game palette test for indexed pictures.
#include "sprites/Picture.h"

#include <algorithm>

#include "preview/GamePalette.h"
#include "preview/SpriteWalk.h"

namespace trellisor {

bool Picture::isConsistent() const {
    if (width < 0 || height < 0) return false;
    return indexed ? indices.size() == pixelCount() && colours.empty()
                   : colours.size() == pixelCount() && indices.empty();
}

Rgba gameColour(std::uint8_t index) {
    const RgbQuad q = previewColour(index);
    return {q.red, q.green, q.blue, 255};
}

Picture spritePicture(const PathObject& obj, unsigned index, bool rgba) {
    Picture p;
    if (index >= obj.m_sprites.size()) return p;
    const SpriteHeader& h = obj.m_sprites[index];
    p.width = std::max<int>(h.width, 1);
    p.height = std::max<int>(h.height, 1);
    p.xOffset = h.xOffset;
    p.yOffset = h.yOffset;
    p.indexed = !rgba;
    if (rgba) {
        p.colours.assign(p.pixelCount(), Rgba{});
    } else {
        p.indices.assign(p.pixelCount(), 0);
    }
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int x, int y, std::uint8_t c) {
        if (x >= p.width || y >= p.height) return;  // runs past the width are not shown
        const std::size_t at = std::size_t(y) * std::size_t(p.width) + std::size_t(x);
        if (rgba) {
            p.colours[at] = gameColour(c);
        } else {
            p.indices[at] = c;
        }
    });
    return p;
}

bool usesGamePalette(std::span<const Rgba> table, std::span<const std::uint8_t> indices) {
    std::array<bool, 256> used{};
    for (std::uint8_t c : indices) used[c] = true;
    for (std::size_t i = 1; i < used.size(); ++i) {
        if (!used[i]) continue;
        if (i >= table.size() || table[i] != gameColour(std::uint8_t(i))) return false;
    }
    return true;
}

}  // namespace trellisor
