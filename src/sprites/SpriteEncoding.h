// Palette indices (0 transparent) to the bytes of a raw or a row-coded sprite.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/Result.h"

namespace trellisor {

// Row-coded runs: at most 127 pixels, starting at column 0 ... 255.
inline constexpr int kMaxRunPixels = 127;
inline constexpr int kMaxRunStart = 255;

// Raw (flags 1): the indices as they are, row by row; 0 is transparent.
std::vector<std::uint8_t> encodeRawSprite(std::span<const std::uint8_t> indices);

// Row-coded (flags 5): a table of height row offsets, then each row's runs, which cover
// exactly the non-zero indices. A stretch longer than 127 pixels is cut so that its first
// run takes the remainder and every later run 127 pixels, which starts each run as early
// as possible; an empty row is one run of 0 pixels with the last-run bit. Refused when a
// run would start past column 255 or a row past the 32767 bytes a row offset can reach.
Result<std::vector<std::uint8_t>> encodeRowCodedSprite(int width, int height,
                                                       std::span<const std::uint8_t> indices);

}  // namespace trellisor
