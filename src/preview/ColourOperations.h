// Brightness steps, recolouring to another ramp and sparkles: palette-index edits
// of a page's sprites in place that leave protected ramps alone.
#pragma once

#include <cstdint>

#include "object/PathObject.h"
#include "preview/ColourRamps.h"

namespace trellisor {

// The brightness counter's limits (per page).
inline constexpr int kBrightnessLimit = 12;

// One step (delta +1 or -1) on one sprite: a pixel moves only within its ramp.
void adjustSpriteBrightness(PathObject& obj, unsigned index, int delta, const ProtectedRamps& marks);

// The ">" (delta > 0) or "<" (delta < 0) command on a page with its counter:
// false, and nothing done, at the +-12 limit or without data; else one step on
// every sprite of the page and the counter moved.
bool stepPageBrightness(PathObject& obj, int page, int& counter, int delta, const ProtectedRamps& marks);

// Moves one sprite's unprotected pixels to ramp, shades kept.
void recolourSprite(PathObject& obj, unsigned index, std::uint8_t ramp, const ProtectedRamps& marks);
// recolourSprite over the page's range; nothing without data.
void recolourPage(PathObject& obj, int page, std::uint8_t ramp, const ProtectedRamps& marks);

// The ramp of a click on the strip, x counted from the strip's outer left edge:
// block k gives ramp k; 270 and beyond give 18.
int rampOfStripClick(int xFromStripOuterLeft);

// Sparkles on the page's row-coded sprites, drawing numbers from std::rand in the
// editor's order (one per unprotected pixel, a second one for each sparkle).
void addSparkles(PathObject& obj, int page, const ProtectedRamps& marks);

}  // namespace trellisor
