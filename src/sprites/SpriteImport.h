// Replacing sprites by pictures: each picture is checked and encoded first, and the
// object changes only once every picture has passed, so a refused import changes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"
#include "object/PathObject.h"
#include "sprites/ColourMatching.h"
#include "sprites/Picture.h"

namespace trellisor {

struct SpriteReplacement {
    unsigned index = 0;
    Picture picture;
    int flags = kSpriteRaw;  // the encoding to write: 1 raw or 5 row-coded
    std::string source;      // what refusals name ("sprite N" when empty), e.g. the picture's file
};

// A sprite's new header and bytes, ready to go in.
struct EncodedSprite {
    unsigned index = 0;
    SpriteHeader header;  // offset unused
    std::vector<std::uint8_t> bytes;
};

// Whether a picture shows exactly what sprite index shows now: the same size, offsets
// and flags, and the same pixels, compared as indices (an indexed picture) or as the
// colours export writes (an RGBA picture, any alpha below 128 counting as transparent).
bool showsSprite(const PathObject& obj, unsigned index, const Picture& picture, int flags);

// Checks one replacement against every limit and encodes it: nothing (and no error) when
// the picture shows what the sprite shows now, so the sprite keeps its bytes. Refusals
// name the limit: the index, the size (1-4096 on each side), the offsets (signed 16 bits),
// the flags (1 or 5), a picture that does not match its size, no ramp to match colours to,
// or a row-coded picture whose opaque pixels cannot be coded.
Result<std::optional<EncodedSprite>> encodeReplacement(const PathObject& obj,
                                                       const SpriteReplacement& replacement,
                                                       const Matching& matching);

// Puts encoded sprites into the object (one undoable edit). Refused, with nothing
// changed, when a sprite is not the object's or the object would grow past the largest
// chunk a file may hold. Returns the number of sprites put in.
Result<int> applyEncodedSprites(PathObject& obj, std::span<const EncodedSprite> sprites);

// The pictures of one import, checked and encoded as they come: an import holds encoded
// sprites only, not pictures, and stops at the picture that would make the object too large.
class SpriteBatch {
public:
    SpriteBatch(const PathObject& obj, const Matching& matching) : m_obj(obj), m_matching(matching) {}
    // encodeReplacement, and the object's size with every sprite so far; a refusal starts
    // with the replacement's source ("sprite N" when it has none).
    Status add(const SpriteReplacement& replacement);
    // applyEncodedSprites on the object the batch was made for.
    Result<int> apply(PathObject& obj) const { return applyEncodedSprites(obj, m_sprites); }

private:
    const PathObject& m_obj;
    Matching m_matching;
    std::vector<EncodedSprite> m_sprites;
    std::int64_t m_growth = 0;
};

// A batch of every replacement, applied. Returns the number of sprites that changed.
Result<int> importSprites(PathObject& obj, std::span<const SpriteReplacement> replacements,
                          const Matching& matching);

}  // namespace trellisor
