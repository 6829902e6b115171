// The frame every drawing operation shares: centring, rejection and the clip
// that fills BlitParams for a source drawn at x, y in a destination.
#pragma once

#include "gfx/Image.h"

namespace trellisor {

// Applies centring and rejects a source that misses dst; false = draw nothing.
bool placeSource(const Image& src, const Image& dst, int& x, int& y, bool centred);

// The clip: locks src (mode 1), fills params for src at x, y in dst, whose
// locked pixels start at dstPixels. x and y must have passed placeSource.
// Returns false when src.lock gives no pixels.
bool clipBlit(Image& src, const Image& dst, std::uint8_t* dstPixels, int x, int y, BlitParams& params);

// The upside-down clip of the flipped operations: destination row y + k shows
// source row height - 1 - k; dstSkip is negative.
bool clipBlitFlipped(Image& src, const Image& dst, std::uint8_t* dstPixels, int x, int y,
                     BlitParams& params);

}  // namespace trellisor
