// A full path object whose sprites look like what they stand for (tiles, railings, supports), each
// in a colour ramp of its own index so that no two neighbours look alike: for the golden pictures,
// CLI tests and benchmarks.
#pragma once

#include "ObjectBuilder.h"

namespace trellisor::test {

// A 64 x 32 isometric diamond centred on its anchor, shaded across ramp `ramp`,
// with every fourth row darker when `striped` (queue lines).
inline SpriteSpec diamondTile(int ramp, bool striped = false) {
    std::vector<std::vector<Run>> rows;
    for (int y = 0; y < 32; ++y) {
        const int half = y < 16 ? 2 * (y + 1) : 2 * (32 - y);
        Run run{32 - half, {}};
        for (int x = 32 - half; x < 32 + half; ++x) {
            int shade = 3 + x * 8 / 63;
            if (striped && (x / 4 + y / 2) % 4 == 0) shade = 1;
            run.pixels.push_back(std::uint8_t(10 + 12 * ramp + shade));
        }
        rows.push_back({run});
    }
    return rowCodedSprite(64, rows, -32, -16);
}

// A fence along the back-left edge of a tile: two posts and a rail, raw with 0 transparent.
inline SpriteSpec railing(int ramp) {
    std::vector<std::uint8_t> px(34 * 28, 0);
    auto put = [&](int x, int y, int shade) {
        if (x >= 0 && x < 34 && y >= 0 && y < 28)
            px[std::size_t(y) * 34 + x] = std::uint8_t(10 + 12 * ramp + shade);
    };
    for (int x = 0; x < 33; ++x) {
        const int edge = 26 - x / 2;  // the tile edge climbs one row every two columns
        put(x, edge - 10, 10);
        put(x, edge - 9, 6);
    }
    for (int post : {1, 16, 31})
        for (int y = 0; y < 11; ++y) put(post, 26 - post / 2 - y, 4);
    return rawSprite(34, 28, px, -32, -26 + 16);
}

// A support column hanging below its anchor.
inline SpriteSpec supportColumn(int ramp) {
    std::vector<std::uint8_t> px(8 * 34);
    for (std::size_t i = 0; i < px.size(); ++i) px[i] = std::uint8_t(10 + 12 * ramp + (i % 8 < 4 ? 7 : 4));
    return rawSprite(8, 34, px, -4, 0);
}

// `count` sprites (168, 165 or 146) in the standard layout: path tiles, queue tiles, railings,
// supports; sprite i uses ramp i mod 18.
inline std::vector<SpriteSpec> sceneSprites(int count = 168) {
    return spritesWithIcons(count, [](int i) {
        return i <= 70 ? diamondTile(i % 18, i > 50) : i <= 108 ? railing(i % 18) : supportColumn(i % 18);
    });
}

}  // namespace trellisor::test
