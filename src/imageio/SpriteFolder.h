// A folder of sprite pictures: NNN.png per sprite plus sprites.json, an array indexed by
// sprite number of {path, x, y, flags} (null for sprites left out). Export writes it;
// import reads it back into the object, and refuses bad input before changing anything.
#pragma once

#include <string>

#include "base/Result.h"
#include "object/PathObject.h"
#include "sprites/ColourMatching.h"

namespace trellisor {

inline constexpr const char* kSpritesJson = "sprites.json";

// Writes sprites first ... last of obj (indexed with the game palette, or RGBA) and a
// sprites.json whose entries before first are null. Makes the folder when it is missing.
Status exportSpriteFolder(const PathObject& obj, const std::string& dir, int first, int last, bool rgba);

// Replaces sprites first ... last of obj by the pictures the folder's sprites.json names
// (null or missing trailing entries leave sprites alone); the rest of the entries are
// checked but not read. Every failure is one line naming the file and the reason, with
// the object unchanged. Returns the number of sprites that changed.
Result<int> importSpriteFolder(PathObject& obj, const std::string& dir, int first, int last,
                               const Matching& matching);

}  // namespace trellisor
