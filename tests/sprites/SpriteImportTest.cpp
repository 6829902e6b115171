// Replacing sprites by pictures, its refusals, and where row-coded runs start and end.
#include <gtest/gtest.h>

#include <functional>

#include "SpriteSamples.h"
#include "base/Bytes.h"
#include "object/ObjectFile.h"
#include "sprites/SpriteEncoding.h"
#include "sprites/SpriteImport.h"
#include "support/Reference.h"
#include "support/Refusals.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Edit = std::function<void(SpriteReplacement&)>;

SpriteReplacement asExported(const PathObject& obj, unsigned index, bool rgba) {
    return {index, spritePicture(obj, index, rgba), obj.m_sprites[index].flags, {}};
}

TEST(SpriteImport, UntouchedPicturesKeepEveryByteChangedOnesAreEncoded) {
    for (bool rgba : {false, true}) {
        PathObject obj = test::spriteSampleObject();
        const PathObject fresh = test::spriteSampleObject();
        std::vector<SpriteReplacement> all;
        for (unsigned i = 0; i < obj.m_sprites.size(); ++i) all.push_back(asExported(obj, i, rgba));
        // Pixels compare by what they show: alpha below 128 is transparent.
        if (rgba) all[0].picture.colours[0] = {1, 2, 3, 127}, all[0].picture.colours[1].alpha = 128;
        auto count = importSprites(obj, all, Matching{});
        ASSERT_TRUE(count) << count.error();
        EXPECT_EQ(count.value(), 0) << "rgba " << rgba;
        EXPECT_TRUE(obj == fresh) << "the object changed";
    }
}

// One exported picture changed: that sprite is encoded anew, the others keep their bytes.
TEST(SpriteImport, AChangedPictureIsEncodedAndTheOthersKeepTheirBytes) {
    const std::tuple<const char*, unsigned, bool, Edit> cases[] = {
        {"index-set-at-row-1-column-1", 1, false, [](auto& r) { r.picture.indices[7] = 77; }},
        {"colour-set-at-row-1-column-1", 4, true, [](auto& r) { r.picture.colours[7] = gameColour(77); }},
        {"transparent-pixel-made-opaque", 0, true, [](auto& r) { r.picture.colours[0].alpha = 128; }},
        {"raw-made-row-coded", 0, true, [](auto& r) { r.flags = kSpriteRowCoded; }},
        {"row-coded-made-raw", 1, false, [](auto& r) { r.flags = kSpriteRaw; }},
        {"x-offset-changed", 4, false, [](auto& r) { r.picture.xOffset = -20; }},
        {"y-offset-changed", 5, true, [](auto& r) { r.picture.yOffset -= 1; }}};
    for (const auto& [name, index, rgba, edit] : cases) {
        SCOPED_TRACE(name);
        PathObject obj = test::spriteSampleObject();
        const PathObject fresh = test::spriteSampleObject();
        SpriteReplacement r = asExported(obj, index, rgba);
        edit(r);
        auto count = importSprites(obj, std::vector{r}, Matching{});
        ASSERT_TRUE(count) << count.error();
        const SpriteHeader& h = obj.m_sprites[index];
        EXPECT_EQ(std::tuple(count.value(), int(h.flags), int(h.xOffset), int(h.yOffset)),
                  std::tuple(1, r.flags, r.picture.xOffset, r.picture.yOffset));
        for (unsigned other = 0; other < obj.m_sprites.size(); ++other)
            EXPECT_TRUE(other == index || test::pixelsOf(obj, other) == test::pixelsOf(fresh, other))
                << other;
        const Picture p = spritePicture(obj, index, false);
        EXPECT_TRUE(test::matchesReference(test::gamePicture(p.width, p.height, p.indices),
                                           std::string("sprites/import/") + name));
    }
}

TEST(SpriteImport, RefusalsNameTheLimitAndChangeNothing) {
    const Picture grey{1, 1, 0, 0, false, {}, {Rgba{9, 9, 9, 255}}};
    const std::pair<const char*, Edit> cases[] = {
        {"no sprite 99", [](auto& r) { r.index = 99; }},
        {"0 x 2 pixels is outside 1-4096", [](auto& r) { r.picture = Picture{0, 2, 0, 0, true, {}, {}}; }},
        {"4097 x 1 pixels", [](auto& r) { r.picture = Picture{4097, 1, 0, 0, true, Bytes(4097, 1), {}}; }},
        {"1 x 4097 pixels", [](auto& r) { r.picture = Picture{1, 4097, 0, 0, true, Bytes(4097, 1), {}}; }},
        {"offsets 32768, -4", [](auto& r) { r.picture.xOffset = 32768; }},
        {"offsets -3, -32769", [](auto& r) { r.picture.yOffset = -32769; }},
        {"flags 3 are neither 1", [](auto& r) { r.flags = 3; }},
        {"do not match its size", [](auto& r) { r.picture.indices.pop_back(); }},
        {"no colour ramp", [&](auto& r) { r.picture = grey; }},
        {"cannot be coded", [](auto& r) { r.picture = Picture{383, 1, 0, 0, true, Bytes(383, 40), {}}; }}};
    for (const auto& [reason, spoil] : cases) {
        SCOPED_TRACE(reason);
        PathObject obj = test::spriteSampleObject();
        const PathObject fresh = test::spriteSampleObject();
        SpriteReplacement good = asExported(obj, 4, false), bad = asExported(obj, 1, false);  // row-coded
        good.picture.indices[0] = 99;  // a valid change that must not be applied either
        spoil(bad);
        auto count = importSprites(obj, std::vector{good, bad}, Matching{Dither::None, {}});
        EXPECT_THAT(count, test::RefusedWith("sprite " + std::to_string(bad.index) + ": "));
        EXPECT_THAT(count, test::RefusedSaying(reason));
        EXPECT_TRUE(obj == fresh) << "the object changed";
    }
}

TEST(SpriteImport, AnObjectPastTheLargestChunkIsRefused) {
    PathObject obj = test::spriteSampleObject();
    EncodedSprite huge{0, obj.m_sprites[0], Bytes(kMaxChunkBytes - obj.m_dataSize + 6 + 1, 1)};
    EXPECT_THAT(applyEncodedSprites(obj, std::span(&huge, 1)), test::RefusedSaying("past 67108864"));
    EncodedSprite past{std::uint32_t(obj.m_sprites.size()), SpriteHeader{}, Bytes(4, 1)};
    EXPECT_FALSE(applyEncodedSprites(obj, std::span(&past, 1))) << "never appends";

    // A batch stops at the picture that makes the object too large.
    SpriteBatch batch(obj, Matching{});
    const Picture big{kMaxPictureSide, kMaxPictureSide, 0, 0, true, Bytes(std::size_t(1) << 24, 7), {}};
    for (unsigned index : {0u, 1u, 4u}) ASSERT_TRUE(batch.add({index, big, kSpriteRaw, {}}));
    EXPECT_THAT(batch.add({5, big, kSpriteRaw, "a.png"}), test::RefusedWith("a.png: the object would grow"));
    huge.bytes.pop_back();  // exactly the largest chunk
    EXPECT_TRUE(applyEncodedSprites(obj, std::span(&huge, 1)));
    EXPECT_EQ(obj.m_dataSize, kMaxChunkBytes);
}

// One row of width pixels, opaque (index 40 + column % 7) over [from, to) stretches.
std::vector<std::uint8_t> row(int width, const std::vector<std::pair<int, int>>& stretches) {
    std::vector<std::uint8_t> px(std::size_t(width), 0);
    for (auto [from, to] : stretches)
        for (int x = from; x < to; ++x) px[std::size_t(x)] = std::uint8_t(40 + x % 7);
    return px;
}

TEST(SpriteEncoding, RowCodedRunsCoverExactlyTheOpaquePixelsWithinTheLimits) {
    // 128 pixels: the remainder first; 382: column 381 reached from a run at 255.
    const std::tuple<const char*, int, std::vector<std::pair<int, int>>> cases[] = {
        {"full-row-of-8", 8, {{0, 8}}},
        {"gaps-splitting-runs", 10, {{1, 3}, {5, 6}, {7, 10}}},
        {"empty-row", 6, {}},
        {"127-pixels", 127, {{0, 127}}},
        {"128-pixels", 128, {{0, 128}}},
        {"300-pixels", 300, {{0, 300}}},
        {"382-pixels", 382, {{0, 382}}},
        {"from-200-past-255", 400, {{200, 350}}}};
    for (const auto& [name, width, stretches] : cases) {
        auto bytes = encodeRowCodedSprite(width, 1, row(width, stretches));
        ASSERT_TRUE(bytes) << width << ": " << bytes.error();
        EXPECT_TRUE(test::matchesReferenceBytes(bytes.value(), std::string("sprites/row-coded/") + name));
    }
    // No run can start past column 255: pixels it cannot reach are refused.
    for (auto [width, from, to] : {std::tuple{383, 0, 383}, {300, 256, 257}})
        EXPECT_THAT(encodeRowCodedSprite(width, 1, row(width, {{from, to}})),
                    test::RefusedSaying("cannot be coded"))
            << from;
    // 126 rows whose last starts at byte 32767: a table of 252 bytes, row 0 of 147 pixels (151
    // bytes), rows 1-124 of 255 (261 bytes). One pixel more is too many.
    std::vector<std::uint8_t> px(255 * 126, 50);
    std::fill(px.begin() + 147, px.begin() + 255, 0);
    std::fill(px.end() - 255, px.end(), 0);
    auto bytes = encodeRowCodedSprite(255, 126, px);
    ASSERT_TRUE(bytes) << bytes.error();
    EXPECT_EQ(loadLe16(&bytes.value()[2 * 125]), 32767);
    px[147] = 50;
    EXPECT_THAT(encodeRowCodedSprite(255, 126, px), test::RefusedWith("row 125 would start at byte 32768"));
    EXPECT_FALSE(encodeRowCodedSprite(4, 2, std::vector<std::uint8_t>(7, 1))) << "data shorter than the size";
}

}  // namespace
}  // namespace trellisor
