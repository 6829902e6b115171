// A small object whose sprites hold the cases a picture import must keep apart, for the
// sprite tests and the fuzz target.
#pragma once

#include "../support/ObjectBuilder.h"
#include "../support/Pictures.h"
#include "sprites/Picture.h"

namespace trellisor::test {

// 0: raw with a transparent pixel and a special colour; 1: row-coded with a gap, an index
// 0 inside a run and a run past the width; 2: an all-zero gap header; 3: flags 3;
// 4: solid row-coded; 5: raw in ramp colours.
inline PathObject spriteSampleObject() {
    PathObject obj = buildObject({
        rawSprite(3, 2, {0, 230, 15, 16, 17, 18}, -1, 2),
        rowCodedSprite(6, {{Run{0, {20, 21}}, Run{3, {0, 22}}}, {Run{4, {23, 24, 25}}}}, -3, -4),
        SpriteSpec{},
        SpriteSpec{SpriteHeader{0, 2, 2, 0, 0, 3, 0}, {9, 9, 9}},
        solidRowCodedSprite(6, 3, 40, -3, -1),
        rawSprite(4, 2, {60, 61, 62, 63, 64, 65, 66, 67}),
    });
    obj.m_sprites[2] = SpriteHeader{};
    return obj;
}

// Palette indices, row by row, as a picture in the game's colours.
inline RefPicture gamePicture(int width, int height, const std::vector<std::uint8_t>& indices) {
    return indexedPicture(width, height, {indices.begin(), indices.end()}, gameColour);
}

}  // namespace trellisor::test
