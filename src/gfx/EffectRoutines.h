// The effect row routines of each pixel format (silhouette, recolour, blend,
// translucent, tint, translucent fill, shadow, colour mix, additive, subtractive).
#pragma once

#include <array>

#include "gfx/Image.h"

namespace trellisor {

enum class EffectFormat { Indexed8, Rgb555, Rgb565, Rgb565Dib, Rgb24, Rgb32 };

// Fills the effect slots of a routine table for a format (the copy slots are
// the format's own). DibImage565 gets only silhouette and recolour.
void installEffectRoutines(std::array<RowRoutine, RoutineCount>& table, EffectFormat format);

}  // namespace trellisor
