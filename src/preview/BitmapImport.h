// Reading 8- and 24-bit BMP files and repainting row-coded sprites from them with
// the nearest colours of the game palette.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"
#include "object/PathObject.h"
#include "preview/ColourRamps.h"
#include "preview/GamePalette.h"

namespace trellisor {

inline constexpr const char* kBitmapDepthMessage = "Can only import 8 or 24 bit bitmaps.";

// The fields of the 40-byte info header, as stored.
struct BitmapInfoHeader {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};

struct ImportedBitmap {
    std::array<std::uint8_t, 14> fileHeader{};  // as stored; never interpreted
    BitmapInfoHeader infoHeader;
    std::int64_t rowStride = 0;              // ((width * bits + 31) / 32) * 4
    std::array<RgbQuad, 256> colourTable{};  // depths below 24 only
    std::uint32_t colourCount = 0;           // entries of colourTable read from the file
    std::vector<std::uint8_t> pixels;        // from the end of the table to the end of the file
};

// Reads a bitmap; refuses (with a one-line reason) files shorter than their headers,
// colour tables of more than 256 entries or cut off by the end of the file.
Result<ImportedBitmap> readBitmapBytes(std::span<const std::uint8_t> bytes);
Result<ImportedBitmap> readBitmapFile(const std::string& path);

// True for the two depths the import understands (8 and 24 bits).
bool isImportableDepth(const ImportedBitmap& bitmap);

// Repaints one row-coded sprite's unprotected pixels from the bitmap; raw sprites,
// other depths and pixels the bitmap does not cover (or whose colour it cannot
// give) keep their indices.
void importBitmapIntoSprite(PathObject& obj, unsigned index, const ImportedBitmap& bitmap,
                            const ProtectedRamps& marks);

// importBitmapIntoSprite over the page's range, stairs and ramps skipped. Fails
// with kBitmapDepthMessage (changing nothing) unless the bitmap has 8 or 24 bits.
Status importBitmapIntoPage(PathObject& obj, int page, const ImportedBitmap& bitmap,
                            const ProtectedRamps& marks);

// The colour distance of every match: the sum of absolute channel differences.
int colourDistance(const RgbQuad& palette, int r, int g, int b);

// The lowest index of 10..225 at the smallest colour distance.
std::uint8_t matchPaletteColour(std::uint8_t r, std::uint8_t g, std::uint8_t b);
// The same search over the ramps marked in `ramps` only; 0 when none is marked.
std::uint8_t matchPaletteColour(int r, int g, int b, const std::array<bool, kRampCount>& ramps);

// A 24-bit bitmap of width x height pixels from rows of red, green, blue bytes, top row
// first (3 x width bytes a row), as readBitmapBytes would read it from an uncompressed file.
ImportedBitmap bitmapFromRgbRows(int width, int height, std::span<const std::uint8_t> rgb);

// Sprites 16..19 and 67..70.
bool isStairsOrRamp(int index);

}  // namespace trellisor
