// From an RGBA picture to game palette indices: each opaque pixel takes the nearest
// colour of the allowed ramps, with no dithering, error diffusion or an ordered pattern.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "preview/ColourRamps.h"
#include "sprites/Picture.h"

namespace trellisor {

enum class Dither {
    None,       // each pixel its nearest colour
    Diffusion,  // Floyd-Steinberg, the error spread over the picture's opaque pixels only
    Ordered,    // a 4 x 4 Bayer pattern, anchored at the sprite's drawing origin
};

struct Matching {
    Dither dither = Dither::None;
    std::array<bool, kRampCount> ramps = allRamps();  // the ramps pixels may take

    static std::array<bool, kRampCount> allRamps() {
        std::array<bool, kRampCount> all;
        all.fill(true);
        return all;
    }
};

// The picture's pixels as palette indices, row by row: 0 where the picture is
// transparent, else a colour of the allowed ramps. An indexed picture's indices are
// returned as they are. A picture whose data do not match its size gives nothing.
std::vector<std::uint8_t> matchPicture(const Picture& picture, const Matching& matching);

}  // namespace trellisor
