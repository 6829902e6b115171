// A page's sprites on one picture, for reviewing a whole page at once: the gallery's cells
// in rows, each sprite over a checkerboard with its number written under it.
#pragma once

#include <vector>

#include "base/Result.h"
#include "preview/SpriteFacts.h"
#include "sprites/Picture.h"

namespace trellisor {

inline constexpr int kSheetColumns = 10;
// Sheets (and pictures scaled from them) stay within this on each side.
inline constexpr int kMaxSheetSide = 16384;

// The sheet at 1x, true colour: cells of one size (the largest sprite, at least 24 x 24), a gap
// shown as a cell without checkerboard. Refused when it would pass kMaxSheetSide.
Result<Picture> spriteSheet(const PathObject& obj, const std::vector<GalleryCell>& cells);

}  // namespace trellisor
