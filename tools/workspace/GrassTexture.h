// The grass picture behind the preview: 360 x 260 palette indices in the game's greens.
#pragma once

#include <cstdint>
#include <vector>

namespace trellisor::workspace {

inline constexpr int kGrassWidth = 360;
inline constexpr int kGrassHeight = 260;

// Row-major indices, never 0 (0 is skipped when the grass is drawn).
std::vector<std::uint8_t> drawGrass(std::uint32_t seed = 20261205);

}  // namespace trellisor::workspace
