// A folder of sprite pictures: NNN.png per sprite plus sprites.json, an array indexed by
// sprite number of {path, x, y, flags} (null for sprites left out). Export writes it;
// import reads it back into the object, and refuses bad input before changing anything.
#pragma once

#include <QByteArray>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"
#include "object/PathObject.h"
#include "sprites/ColourMatching.h"

namespace trellisor {

inline constexpr const char* kSpritesJson = "sprites.json";

// One entry of sprites.json that names a picture.
struct SpriteEntry {
    unsigned index = 0;
    std::string name;  // the picture as sprites.json names it ("055.png")
    std::string path;  // its file: the name within the folder, unless absolute
    std::optional<int> x, y, flags;
    bool operator==(const SpriteEntry&) const = default;
};

// Writes a file of a sprite folder: under a temporary name beside it, then renamed over
// it, so that a pixel editor or a watch sees the old file or the new, never a part. It
// does not wait for the disk: a sprite folder can always be written again from the object.
// A failure gives the system's reason.
Status replaceFolderFile(const std::string& path, const QByteArray& bytes);

// Sprite index's picture as PNG bytes (indexed with the game palette, or RGBA); refused
// when the sprite is larger than a picture may be.
Result<QByteArray> spritePng(const PathObject& obj, unsigned index, bool rgba);

// sprites.json for entries (null where there is none), as export writes it.
QByteArray spritesJsonBytes(std::span<const SpriteEntry> entries);

// Writes sprites first ... last of obj and a sprites.json whose entries before first are
// null: the whole folder or nothing. The files are written into a temporary folder beside
// it (inside it when nothing can be made beside it) and moved in only once all are written;
// a missing folder is made by renaming the temporary one. Returns the number of pictures.
Result<int> exportSpriteFolder(const PathObject& obj, const std::string& dir, int first, int last, bool rgba);

// The entries of dir/sprites.json that name a picture, checked against obj's sprites.
Result<std::vector<SpriteEntry>> readSpriteEntries(const PathObject& obj, const std::string& dir);

// Replaces the sprites of the entries by their pictures: nothing changes unless every
// picture passes. Returns the number of sprites that changed.
Result<int> importSpriteEntries(PathObject& obj, std::span<const SpriteEntry> entries,
                                const Matching& matching);

// Replaces sprites first ... last of obj by the pictures the folder's sprites.json names
// (null or missing trailing entries leave sprites alone); the rest of the entries are
// checked but not read. A folder that names no picture in the range is refused with the
// pages it does hold ("this folder holds Path sprites (000–050), not Queue sprites"). Every
// failure is one line naming the file and the reason, with the object unchanged. Returns
// the number of sprites that changed.
Result<int> importSpriteFolder(PathObject& obj, const std::string& dir, int first, int last,
                               const Matching& matching);

}  // namespace trellisor
