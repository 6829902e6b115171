// Replacing sprites by pictures: unchanged pictures keep the bytes, changed ones are
// encoded and decode to the new picture, and every refusal leaves the object as it was.
#include <gtest/gtest.h>

#include <functional>

#include "SpriteSamples.h"
#include "object/ObjectFile.h"
#include "sprites/SpriteImport.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::dataOf;
using test::pixelsOf;

SpriteReplacement asExported(const PathObject& obj, unsigned index, bool rgba) {
    return {index, spritePicture(obj, index, rgba), obj.m_sprites[index].flags, {}};
}

TEST(SpriteImport, UntouchedPicturesKeepEveryByte) {
    for (bool rgba : {false, true}) {
        PathObject obj = test::spriteSampleObject();
        const Bytes before = dataOf(obj);
        const auto headers = obj.m_sprites;
        std::vector<SpriteReplacement> all;
        for (unsigned i = 0; i < obj.m_sprites.size(); ++i) all.push_back(asExported(obj, i, rgba));
        auto count = importSprites(obj, all, Matching{});
        ASSERT_TRUE(count) << count.error();
        EXPECT_EQ(count.value(), 0) << "rgba " << rgba;
        EXPECT_EQ(dataOf(obj), before);
        EXPECT_EQ(obj.m_sprites, headers);
    }
    // Pixels compare by what they show: any alpha below 128 is transparent, any above opaque.
    PathObject obj = test::spriteSampleObject();
    const struct {
        const char* what;
        std::function<void(SpriteReplacement&)> change;
        bool shows;
    } cases[] = {
        {"a transparent pixel recoloured",
         [](auto& r) {
             r.picture.colours[0] = {1, 2, 3, 127};
         },
         true},
        {"an opaque pixel half transparent", [](auto& r) { r.picture.colours[1].alpha = 128; }, true},
        {"a transparent pixel made opaque", [](auto& r) { r.picture.colours[0].alpha = 128; }, false},
        {"another encoding", [](auto& r) { r.flags = kSpriteRowCoded; }, false},
        {"another offset", [](auto& r) { r.picture.yOffset -= 1; }, false}};
    for (const auto& c : cases) {
        SpriteReplacement r = asExported(obj, 0, true);
        c.change(r);
        EXPECT_EQ(showsSprite(obj, 0, r.picture, r.flags), c.shows) << c.what;
    }
}

TEST(SpriteImport, AChangedPictureRewritesOnlyItsSprite) {
    for (const auto& [index, rgba] :
         {std::pair{0u, false}, {1u, false}, {4u, false}, {4u, true}, {5u, true}}) {
        PathObject obj = test::spriteSampleObject();
        const PathObject original = test::spriteSampleObject();
        SpriteReplacement r = asExported(obj, index, rgba);
        Picture expected = spritePicture(obj, index, false);
        const std::size_t at = std::size_t(expected.width) + 1;  // column 1 of row 1
        expected.indices[at] = 77;
        if (rgba)
            r.picture.colours[at] = gameColour(77);
        else
            r.picture.indices[at] = 77;
        auto count = importSprites(obj, std::vector{r}, Matching{});
        ASSERT_TRUE(count) << count.error();
        EXPECT_EQ(count.value(), 1);
        EXPECT_EQ(spritePicture(obj, index, false).indices, expected.indices) << "sprite " << index;
        EXPECT_EQ(std::pair(obj.m_sprites[index].word1(), obj.m_sprites[index].word2()),
                  std::pair(original.m_sprites[index].word1(), original.m_sprites[index].word2()));
        EXPECT_EQ(obj.m_sprites[index].flags, original.m_sprites[index].flags);
        for (unsigned i = 0; i < obj.m_sprites.size(); ++i)
            EXPECT_TRUE(i == index || pixelsOf(obj, i) == pixelsOf(original, i)) << "sprite " << i;
    }
    // New offsets and another encoding rewrite the header.
    PathObject obj = test::spriteSampleObject();
    const Bytes solid = pixelsOf(obj, 4);
    SpriteReplacement moved = asExported(obj, 4, false), raw = asExported(obj, 1, false);
    moved.picture.xOffset = -20, moved.picture.yOffset = 7;
    raw.flags = kSpriteRaw;
    ASSERT_TRUE(importSprites(obj, std::vector{moved, raw}, Matching{}));
    EXPECT_EQ(obj.m_sprites[4].word2(), 0x0007FFECu);
    EXPECT_EQ(pixelsOf(obj, 4), solid) << "the builder's runs are the encoder's runs";
    EXPECT_EQ(obj.m_sprites[1].flags, kSpriteRaw);
    EXPECT_EQ(pixelsOf(obj, 1), raw.picture.indices) << "raw: the indices, 0 where a run's 0 or nothing was";
}

TEST(SpriteImport, RefusalsNameTheLimitAndChangeNothing) {
    const struct {
        const char* reason;
        std::function<void(SpriteReplacement&)> spoil;
    } cases[] = {
        {"no sprite 99", [](auto& r) { r.index = 99; }},
        {"0 x 2 pixels is outside 1-4096", [](auto& r) { r.picture = Picture{0, 2, 0, 0, true, {}, {}}; }},
        {"4097 x 1 pixels", [](auto& r) { r.picture = Picture{4097, 1, 0, 0, true, Bytes(4097, 1), {}}; }},
        {"1 x 4097 pixels", [](auto& r) { r.picture = Picture{1, 4097, 0, 0, true, Bytes(4097, 1), {}}; }},
        {"offsets 32768, 2", [](auto& r) { r.picture.xOffset = 32768; }},
        {"offsets -1, -32769", [](auto& r) { r.picture.yOffset = -32769; }},
        {"flags 3 are neither 1", [](auto& r) { r.flags = 3; }},
        {"do not match its size", [](auto& r) { r.picture.indices.pop_back(); }},
        {"no colour ramp",
         [](auto& r) {
             r.picture = Picture{1, 1, 0, 0, false, {}, {Rgba{9, 9, 9, 255}}};
             r.flags = kSpriteRaw;
         }},
        {"cannot be coded", [](auto& r) {
             r.picture = Picture{300, 1, 0, 0, true, Bytes(300, 0), {}};
             r.picture.indices[290] = 40;
             r.flags = kSpriteRowCoded;
         }}};
    for (const auto& c : cases) {
        PathObject obj = test::spriteSampleObject();
        const Bytes before = dataOf(obj);
        const auto headers = obj.m_sprites;
        SpriteReplacement good = asExported(obj, 4, false), bad = asExported(obj, 0, false);
        good.picture.indices[0] = 99;  // a valid change that must not be applied either
        c.spoil(bad);
        Matching noRamps;
        noRamps.ramps.fill(false);
        auto count = importSprites(obj, std::vector{good, bad}, noRamps);
        ASSERT_FALSE(count) << c.reason;
        EXPECT_EQ(count.error().rfind("sprite " + std::to_string(bad.index) + ": ", 0), 0u) << count.error();
        EXPECT_NE(count.error().find(c.reason), std::string::npos) << count.error();
        EXPECT_EQ(dataOf(obj), before) << c.reason;
        EXPECT_EQ(obj.m_sprites, headers) << c.reason;
    }
}

TEST(SpriteImport, AnObjectPastTheLargestChunkIsRefused) {
    PathObject obj = test::spriteSampleObject();
    const Bytes before = dataOf(obj);
    EncodedSprite huge{0, obj.m_sprites[0], Bytes(kMaxChunkBytes - obj.m_dataSize + 6 + 1, 1)};
    auto s = applyEncodedSprites(obj, std::span(&huge, 1));
    ASSERT_FALSE(s);
    EXPECT_NE(s.error().find("past 67108864"), std::string::npos) << s.error();
    EncodedSprite past{std::uint32_t(obj.m_sprites.size()), SpriteHeader{}, Bytes(4, 1)};
    EXPECT_FALSE(applyEncodedSprites(obj, std::span(&past, 1))) << "never appends";
    EXPECT_EQ(dataOf(obj), before);

    // A batch stops at the picture that would make the object too large, changing nothing.
    SpriteBatch batch(obj, Matching{});
    const Picture big{kMaxPictureSide, kMaxPictureSide, 0, 0, true, Bytes(std::size_t(1) << 24, 7), {}};
    for (unsigned index : {0u, 1u, 4u}) ASSERT_TRUE(batch.add({index, big, kSpriteRaw, {}}));
    Status added = batch.add({5, big, kSpriteRaw, "d/005.png"});
    ASSERT_FALSE(added);
    EXPECT_EQ(added.error().rfind("d/005.png: the object would grow to ", 0), 0u) << added.error();
    EXPECT_EQ(dataOf(obj), before);
    huge.bytes.pop_back();  // exactly the largest chunk
    EXPECT_TRUE(applyEncodedSprites(obj, std::span(&huge, 1)));
    EXPECT_EQ(obj.m_dataSize, kMaxChunkBytes);
}

}  // namespace
}  // namespace trellisor
