// Writing 8-bit PCX files: one plane, run-length coded, 256-colour palette at the end.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"

namespace trellisor::workspace {

// 256 entries of red, green, blue.
using PcxPalette = std::array<std::uint8_t, 768>;

// The whole file for a width x height picture of palette indices (row-major).
// Runs never cross a scan line, as common readers expect.
std::vector<std::uint8_t> encodePcx8(int width, int height, std::span<const std::uint8_t> pixels,
                                     const PcxPalette& palette);
Status writePcx8(const std::string& path, int width, int height, std::span<const std::uint8_t> pixels,
                 const PcxPalette& palette);

// The game palette as a PCX palette (index 255, which the game leaves undefined, white).
PcxPalette gamePcxPalette();

}  // namespace trellisor::workspace
