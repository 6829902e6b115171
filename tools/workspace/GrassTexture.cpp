// Grass: mottled patches of the green ramp with short blades and a few clover spots.
#include "workspace/GrassTexture.h"

#include <algorithm>
#include <cmath>

#include "workspace/IsoCanvas.h"
#include "workspace/Random.h"

namespace trellisor::workspace {

namespace {
constexpr int kGreen = 5;  // ramp 5: the grass greens (indices 70-81)
constexpr int kMoss = 6;   // ramp 6: grey-green, for drier patches
}  // namespace

std::vector<std::uint8_t> drawGrass(std::uint32_t seed) {
    std::vector<double> light(std::size_t(kGrassWidth) * kGrassHeight);
    // Broad patches, then finer mottling; the isometric view squashes them vertically.
    for (int y = 0; y < kGrassHeight; ++y)
        for (int x = 0; x < kGrassWidth; ++x) {
            const double u = x / 48.0, v = y / 24.0;
            const double n = 0.55 * periodicNoise(u, v, 64, seed) +
                             0.3 * periodicNoise(u * 3, v * 3, 192, seed + 1) +
                             0.15 * periodicNoise(u * 9, v * 9, 576, seed + 2);
            light[std::size_t(y) * kGrassWidth + x] = n;
        }
    std::vector<std::uint8_t> out(light.size());
    Random rng(seed);
    for (int y = 0; y < kGrassHeight; ++y)
        for (int x = 0; x < kGrassWidth; ++x) {
            const double n = light[std::size_t(y) * kGrassWidth + x];
            int shade = 3 + int(std::lround(n * 5)) + (rng.unit() < 0.35 ? rng.range(-1, 1) : 0);
            const double dry = periodicNoise(x / 70.0, y / 35.0, 64, seed + 3);
            const int ramp = dry > 0.78 && rng.unit() < (dry - 0.78) * 4 ? kMoss : kGreen;
            out[std::size_t(y) * kGrassWidth + x] = rampShade(ramp, std::clamp(shade, 1, 9));
        }
    // Blades: short upright strokes, light at the tip over a dark root.
    for (int i = 0; i < 9000; ++i) {
        const int x = rng.range(0, kGrassWidth - 1), y = rng.range(3, kGrassHeight - 1);
        const int len = rng.range(2, 4);
        const int base = (out[std::size_t(y) * kGrassWidth + x] - 10) % 12;
        for (int k = 0; k < len; ++k) {
            const int shade = std::clamp(base + 1 + k, 1, 10);
            out[std::size_t(y - k) * kGrassWidth + x] = rampShade(kGreen, shade);
        }
        if (y + 1 < kGrassHeight)
            out[std::size_t(y + 1) * kGrassWidth + x] = rampShade(kGreen, std::max(1, base - 2));
    }
    // A few clover and flower specks.
    for (int i = 0; i < 60; ++i) {
        const int x = rng.range(1, kGrassWidth - 2), y = rng.range(1, kGrassHeight - 2);
        const std::uint8_t c = rng.unit() < 0.7 ? rampShade(7, 6) : rampShade(3, 10);
        out[std::size_t(y) * kGrassWidth + x] = c;
        if (rng.unit() < 0.5) out[std::size_t(y) * kGrassWidth + x + 1] = c;
    }
    return out;
}

}  // namespace trellisor::workspace
