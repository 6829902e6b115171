// A full path object whose sprites look like what they stand for (tiles, railings,
// supports), for render checks, CLI tests and benchmarks; plus a small PCX writer.
#pragma once

#include <cstdint>
#include <vector>

#include "../support/ObjectBuilder.h"
#include "base/Bytes.h"

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
    const int w = 34, h = 28;
    std::vector<std::uint8_t> px(std::size_t(w) * h, 0);
    auto put = [&](int x, int y, int shade) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            px[std::size_t(y) * w + x] = std::uint8_t(10 + 12 * ramp + shade);
    };
    for (int x = 0; x < 33; ++x) {
        const int edge = 26 - x / 2;  // the tile edge climbs one row every two columns
        put(x, edge - 10, 10);
        put(x, edge - 9, 6);
    }
    for (int post : {1, 16, 31})
        for (int y = 0; y < 11; ++y) put(post, 26 - post / 2 - y, 4);
    return rawSprite(w, h, px, -32, -26 + 16);
}

// A support column hanging below its anchor.
inline SpriteSpec supportColumn(int ramp) {
    const int w = 8, h = 34;
    std::vector<std::uint8_t> px(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[std::size_t(y) * w + x] = std::uint8_t(10 + 12 * ramp + (x < 4 ? 7 : 4));
    return rawSprite(w, h, px, -4, 0);
}

// 168 sprites in the standard layout: path tiles, queue tiles, railings, supports, blank icons.
inline std::vector<SpriteSpec> sceneSprites() {
    std::vector<SpriteSpec> sprites;
    for (int i = 0; i < 168; ++i) {
        if (i == int(PathIconSprite) || i == int(QueueIconSprite))
            sprites.push_back(solidRawSprite(kIconWidth, kIconHeight, 0, 1, 1));
        else if (i <= 50)
            sprites.push_back(diamondTile(i >= 16 && i <= 19 ? 9 : 17));  // stairs and ramps greyish
        else if (i <= 70)
            sprites.push_back(diamondTile(5, true));
        else if (i <= 86)
            sprites.push_back(railing(3));
        else if (i <= 108)
            sprites.push_back(railing(13));
        else
            sprites.push_back(supportColumn(0));
    }
    return sprites;
}

// An 8-bit PCX file of the given indices and palette (768 bytes, red-green-blue).
inline std::vector<std::uint8_t> pcx8(int width, int height, const std::vector<std::uint8_t>& indices,
                                      const std::vector<std::uint8_t>& palette) {
    std::vector<std::uint8_t> out(128, 0);
    out[0] = 10, out[1] = 5, out[2] = 1, out[3] = 8;
    storeLe16(&out[8], std::uint16_t(width - 1));
    storeLe16(&out[10], std::uint16_t(height - 1));
    out[65] = 1;
    storeLe16(&out[66], std::uint16_t(width));
    for (std::uint8_t v : indices) {
        out.push_back(0xC1);  // a run of one: safe for every value
        out.push_back(v);
    }
    out.push_back(0x0C);
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

}  // namespace trellisor::test
