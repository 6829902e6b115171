// A full-size object chunk as real objects hold them, for benchmarks: 168 row-coded sprites
// of 64 x 40 pixels shaded like ground textures (stretches of one colour broken by
// neighbouring shades, so the coder meets both repeats and literals), about 440 KB decoded.
#pragma once

#include <cstdint>
#include <vector>

#include "../tests/support/ObjectBuilder.h"

namespace trellisor::test {

inline std::vector<std::uint8_t> realisticChunk(std::uint32_t seed = 12345) {
    std::vector<SpriteSpec> sprites;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int i = 0; i < 168; ++i) {
        const std::uint8_t base = std::uint8_t(10 + 12 * (i % 18) + 4);
        std::vector<std::vector<Run>> rows;
        for (int y = 0; y < 40; ++y) {
            std::vector<std::uint8_t> row(64);
            std::uint8_t shade = base;
            for (auto& p : row) {
                if (next() % 5 == 0) shade = std::uint8_t(base + next() % 4);
                p = shade;
            }
            rows.push_back({Run{0, row}});
        }
        sprites.push_back(rowCodedSprite(64, rows, -32, -20));
    }
    return buildChunk(twelveStrings("Benchmark Path"), sprites);
}

}  // namespace trellisor::test
