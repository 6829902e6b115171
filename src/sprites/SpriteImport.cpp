// Checking, encoding and putting in sprite pictures.
#include "sprites/SpriteImport.h"

#include <algorithm>
#include <string>

#include "object/ObjectFile.h"
#include "sprites/SpriteEncoding.h"

namespace trellisor {

namespace {

bool inInt16(int v) { return v >= -32768 && v <= 32767; }

bool showsSameColour(const Rgba& picture, const Rgba& sprite) {
    const bool pictureOpaque = picture.alpha >= kOpaqueAlpha, spriteOpaque = sprite.alpha != 0;
    if (pictureOpaque != spriteOpaque) return false;
    return !pictureOpaque ||
           (picture.red == sprite.red && picture.green == sprite.green && picture.blue == sprite.blue);
}

Status checkLimits(const PathObject& obj, const SpriteReplacement& r, const Matching& matching) {
    const Picture& p = r.picture;
    if (r.index >= obj.m_sprites.size())
        return Status::fail("the object has no sprite " + std::to_string(r.index) + " (it holds " +
                            std::to_string(obj.m_sprites.size()) + ")");
    if (p.width < 1 || p.height < 1 || p.width > kMaxPictureSide || p.height > kMaxPictureSide)
        return Status::fail("a picture of " + std::to_string(p.width) + " x " + std::to_string(p.height) +
                            " pixels is outside 1-4096 on a side");
    if (!p.isConsistent()) return Status::fail("picture data do not match its size");
    if (!inInt16(p.xOffset) || !inInt16(p.yOffset))
        return Status::fail("offsets " + std::to_string(p.xOffset) + ", " + std::to_string(p.yOffset) +
                            " are outside -32768-32767");
    if (r.flags != kSpriteRaw && r.flags != kSpriteRowCoded)
        return Status::fail("flags " + std::to_string(r.flags) + " are neither 1 (raw) nor 5 (row-coded)");
    if (!p.indexed && std::none_of(matching.ramps.begin(), matching.ramps.end(), [](bool on) { return on; }))
        return Status::fail("no colour ramp to match colours to");
    return Status::ok();
}

}  // namespace

bool showsSprite(const PathObject& obj, unsigned index, const Picture& picture, int flags) {
    if (index >= obj.m_sprites.size() || !picture.isConsistent()) return false;
    if (flags != obj.m_sprites[index].flags) return false;
    const Picture now = spritePicture(obj, index, !picture.indexed);
    if (picture.width != now.width || picture.height != now.height || picture.xOffset != now.xOffset ||
        picture.yOffset != now.yOffset)
        return false;
    if (picture.indexed) return picture.indices == now.indices;
    return std::equal(picture.colours.begin(), picture.colours.end(), now.colours.begin(), showsSameColour);
}

Result<std::optional<EncodedSprite>> encodeReplacement(const PathObject& obj, const SpriteReplacement& r,
                                                       const Matching& matching) {
    using Out = Result<std::optional<EncodedSprite>>;
    if (showsSprite(obj, r.index, r.picture, r.flags)) return Out::ok(std::nullopt);
    if (Status limits = checkLimits(obj, r, matching); !limits) return Out::fail(limits.error());

    const Picture& p = r.picture;
    const std::vector<std::uint8_t> indices = matchPicture(p, matching);
    EncodedSprite encoded;
    encoded.index = r.index;
    encoded.header = obj.m_sprites[r.index];
    encoded.header.width = std::int16_t(p.width);
    encoded.header.height = std::int16_t(p.height);
    encoded.header.xOffset = std::int16_t(p.xOffset);
    encoded.header.yOffset = std::int16_t(p.yOffset);
    encoded.header.flags = std::int16_t(r.flags);
    if (r.flags == kSpriteRaw) {
        encoded.bytes = encodeRawSprite(indices);
    } else {
        auto bytes = encodeRowCodedSprite(p.width, p.height, indices);
        if (!bytes) return Out::fail(bytes.error());
        encoded.bytes = std::move(bytes.value());
    }
    return Out::ok(std::move(encoded));
}

namespace {

// How much the object's data grow when s takes its sprite's place.
std::int64_t growthOf(const PathObject& obj, const EncodedSprite& s) {
    const auto [start, end] = obj.spriteSpan(s.index);
    return std::int64_t(s.bytes.size()) - std::int64_t(end - start);
}

Status checkObjectSize(std::int64_t size) {
    if (size <= std::int64_t(kMaxChunkBytes)) return Status::ok();
    return Status::fail("the object would grow to " + std::to_string(size) + " bytes, past " +
                        std::to_string(kMaxChunkBytes));
}

}  // namespace

Result<int> applyEncodedSprites(PathObject& obj, std::span<const EncodedSprite> sprites) {
    if (!obj.isLoaded()) return Result<int>::fail("no object is loaded");
    std::int64_t size = obj.m_dataSize;
    for (const EncodedSprite& s : sprites) {
        if (s.index >= obj.m_sprites.size())
            return Result<int>::fail("the object has no sprite " + std::to_string(s.index));
        size += growthOf(obj, s);
    }
    if (Status fits = checkObjectSize(size); !fits) return Result<int>::fail(fits.error());
    for (const EncodedSprite& s : sprites) {
        const SpriteHeader& h = s.header;
        obj.replaceSprite(s.index, 0, h.word1(), h.word2(), h.word3(), std::uint32_t(s.bytes.size()),
                          s.bytes.data());
    }
    return Result<int>::ok(int(sprites.size()));
}

Status SpriteBatch::add(const SpriteReplacement& r) {
    const std::string source = r.source.empty() ? "sprite " + std::to_string(r.index) : r.source;
    auto encoded = encodeReplacement(m_obj, r, m_matching);
    if (!encoded) return Status::fail(source + ": " + encoded.error());
    if (!encoded.value()) return Status::ok();
    m_growth += growthOf(m_obj, *encoded.value());
    if (Status fits = checkObjectSize(std::int64_t(m_obj.m_dataSize) + m_growth); !fits)
        return Status::fail(source + ": " + fits.error());
    m_sprites.push_back(std::move(*encoded.value()));
    return Status::ok();
}

Result<int> importSprites(PathObject& obj, std::span<const SpriteReplacement> replacements,
                          const Matching& matching) {
    SpriteBatch batch(obj, matching);
    for (const SpriteReplacement& r : replacements)
        if (Status added = batch.add(r); !added) return Result<int>::fail(added.error());
    return batch.apply(obj);
}

}  // namespace trellisor
