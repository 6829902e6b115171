// The game's built-in colour table (255 entries, blue-green-red-0), the queue icon
// overlay and the colours of the recolour strip's eighteen blocks.
#pragma once

#include <array>
#include <cstdint>

namespace trellisor {

// One colour table entry in the order bitmap files store it.
struct RgbQuad {
    std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

// Palette indices 0..254; index 255 has no entry (drawn black, see previewColour).
inline constexpr int kPreviewPaletteSize = 255;
extern const std::array<RgbQuad, kPreviewPaletteSize> previewPalette;

// The colour drawn for a palette index: its previewPalette entry, black for 255.
RgbQuad previewColour(std::uint8_t index);

// 45 x 34 indices laid over the queue icon; 0 leaves the icon pixel as it is.
inline constexpr int kQueueOverlayWidth = 45;
inline constexpr int kQueueOverlayHeight = 34;
extern const std::array<std::uint8_t, kQueueOverlayWidth * kQueueOverlayHeight> queueIconOverlay;

// The recolour strip: 18 blocks of 15 pixels, block k painted in one shade of ramp k.
inline constexpr int kStripBlockWidth = 15;
inline constexpr int kStripWidth = 270;
inline constexpr int kStripHeight = 17;
inline constexpr std::array<std::uint8_t, 18> kStripBlockColours = {
    14, 26, 36, 54, 62, 74, 86, 98, 110, 122, 134, 146, 158, 170, 182, 194, 208, 218};

}  // namespace trellisor
