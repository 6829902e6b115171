// The game palette as files that paint programs load: GIMP (.gpl), Adobe colour table (.act)
// and JASC-PAL (.pal). The PNG swatch is made where images are written (the CLI), from
// paletteFileColours.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/GamePalette.h"

namespace trellisor {

enum class PaletteFileFormat { Gimp, Adobe, Jasc, Png };

// The extensions, for messages.
inline constexpr const char* kPaletteFileExtensions = ".gpl, .act, .pal or .png";

// The format a file name's extension (any case) chooses, or nothing.
std::optional<PaletteFileFormat> paletteFileFormatOf(std::string_view path);

// The 256 colours every palette file holds: the game palette, and black for index 255,
// which has no colour of its own.
inline constexpr int kPaletteFileColours = 256;
std::array<RgbQuad, kPaletteFileColours> paletteFileColours();

// The name of an index in the GIMP file: "index 57, ramp 3 shade 11" for the 18 ramps
// (indices 10-225, 12 shades from dark to light), "index 255, no colour", "index N" otherwise.
std::string paletteColourName(int index);

// "GIMP Palette", a Name line, Columns 16, then 256 rows "R G B<TAB>name".
std::string gimpPaletteText();
// 768 bytes of red, green, blue, then the colour count 256 and the transparent index 0
// (big-endian 16-bit each): 772 bytes.
std::vector<std::uint8_t> adobeColourTable();
// "JASC-PAL", "0100", "256", then 256 rows "R G B", lines ended by CR LF.
std::string jascPaletteText();

}  // namespace trellisor
