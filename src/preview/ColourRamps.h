// Colour ramp arithmetic: palette indices 10..225 form 18 ramps of 12 shades, and
// the editor's protection marks say which ramps the colour operations leave alone.
#pragma once

#include <array>
#include <cstdint>

namespace trellisor {

inline constexpr int kRampCount = 18;
inline constexpr int kShadesPerRamp = 12;
inline constexpr int kFirstRampIndex = 10;

// One flag per ramp; true means the ramp's checkbox is ticked.
using ProtectedRamps = std::array<bool, kRampCount>;

// (c - 10) / 12 truncating toward zero: 0..9 count as ramp 0, 226..255 give 18..20.
int rampOfColour(std::uint8_t c);
// (c - 10) rem 12 with the dividend's sign: 0..11 for c >= 10, c - 10 below.
int shadeOfColour(std::uint8_t c);
// The same shade in another ramp: (12 * ramp + 10 + shade) mod 256.
std::uint8_t recolourIndex(std::uint8_t c, std::uint8_t ramp);
// True only for ramps 0..17 whose mark is set.
bool isRampProtected(const ProtectedRamps& marks, int ramp);

// True when pixel index c must be left alone by the colour operations.
inline bool isColourProtected(const ProtectedRamps& marks, std::uint8_t c) {
    return isRampProtected(marks, rampOfColour(c));
}

// Parses "all", "" (none) or comma-separated ramp numbers 0..17; false on anything else.
bool parseProtectedRamps(const char* text, ProtectedRamps& out);

}  // namespace trellisor
