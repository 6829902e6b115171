// Replacing sprites by pictures: unchanged pictures keep the bytes, changed ones are
// encoded and decode to the new picture, and every refusal leaves the object as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "SpriteSamples.h"
#include "object/ObjectFile.h"
#include "sprites/SpriteImport.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

PathObject sampleObject() { return test::spriteSampleObject(); }

Bytes dataOf(const PathObject& obj) { return Bytes(obj.m_data.get(), obj.m_data.get() + obj.m_dataSize); }
Bytes spanOf(const PathObject& obj, unsigned i) {
    auto px = obj.spritePixels(i);
    return Bytes(px.begin(), px.end());
}

SpriteReplacement asExported(const PathObject& obj, unsigned index, bool rgba) {
    return {index, spritePicture(obj, index, rgba), obj.m_sprites[index].flags, {}};
}

TEST(SpriteImport, UntouchedPicturesKeepEveryByte) {
    for (bool rgba : {false, true}) {
        PathObject obj = sampleObject();
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
}

TEST(SpriteImport, TransparentAndOpaqueCompareByWhatTheyShow) {
    PathObject obj = sampleObject();
    SpriteReplacement r = asExported(obj, 0, true);
    r.picture.colours[0] = {1, 2, 3, kOpaqueAlpha - 1};  // still transparent
    r.picture.colours[1].alpha = 200;                    // still opaque, same colour
    EXPECT_TRUE(showsSprite(obj, 0, r.picture, r.flags));
    r.picture.colours[0].alpha = kOpaqueAlpha;
    EXPECT_FALSE(showsSprite(obj, 0, r.picture, r.flags));
    r = asExported(obj, 0, false);
    EXPECT_FALSE(showsSprite(obj, 0, r.picture, kSpriteRowCoded)) << "another encoding is a change";
    r.picture.xOffset += 1;
    EXPECT_FALSE(showsSprite(obj, 0, r.picture, r.flags));
}

TEST(SpriteImport, OnePixelChangedChangesOnlyThatSprite) {
    struct Case {
        unsigned index;
        bool rgba;
    };
    for (const Case c : {Case{0, false}, Case{1, false}, Case{4, false}, Case{4, true}, Case{5, true}}) {
        PathObject obj = sampleObject();
        const PathObject original = sampleObject();
        SpriteReplacement r = asExported(obj, c.index, c.rgba);
        Picture expected = spritePicture(obj, c.index, false);
        const std::size_t at = std::size_t(expected.width) + 1;  // column 1 of row 1
        expected.indices[at] = 77;
        if (c.rgba) {
            r.picture.colours[at] = gameColour(77);
        } else {
            r.picture.indices[at] = 77;
        }
        auto count = importSprites(obj, std::vector{r}, Matching{});
        ASSERT_TRUE(count) << count.error();
        EXPECT_EQ(count.value(), 1);
        EXPECT_EQ(spritePicture(obj, c.index, false).indices, expected.indices) << "sprite " << c.index;
        EXPECT_EQ(obj.m_sprites[c.index].word1(), original.m_sprites[c.index].word1());
        EXPECT_EQ(obj.m_sprites[c.index].word2(), original.m_sprites[c.index].word2());
        EXPECT_EQ(obj.m_sprites[c.index].flags, original.m_sprites[c.index].flags);
        for (unsigned i = 0; i < obj.m_sprites.size(); ++i) {
            if (i != c.index) {
                EXPECT_EQ(spanOf(obj, i), spanOf(original, i)) << "sprite " << i;
            }
        }
    }
}

TEST(SpriteImport, NewOffsetsAndEncodingRewriteTheHeader) {
    PathObject obj = sampleObject();
    const Bytes solid = spanOf(obj, 4);
    SpriteReplacement moved = asExported(obj, 4, false);
    moved.picture.xOffset = -20;
    moved.picture.yOffset = 7;
    SpriteReplacement raw = asExported(obj, 1, false);
    raw.flags = kSpriteRaw;
    const Picture shown = raw.picture;
    ASSERT_TRUE(importSprites(obj, std::vector{moved, raw}, Matching{}));
    EXPECT_EQ(obj.m_sprites[4].xOffset, -20);
    EXPECT_EQ(obj.m_sprites[4].yOffset, 7);
    EXPECT_EQ(spanOf(obj, 4), solid) << "the builder's runs are the encoder's runs";
    EXPECT_EQ(obj.m_sprites[1].flags, kSpriteRaw);
    EXPECT_EQ(spanOf(obj, 1), shown.indices) << "raw: the indices, 0 where a run's 0 or nothing was";
}

TEST(SpriteImport, RefusalsNameTheLimitAndChangeNothing) {
    struct Case {
        const char* reason;
        std::function<void(SpriteReplacement&)> spoil;
    };
    const Case cases[] = {
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
        {"cannot be coded",
         [](auto& r) {
             r.picture = Picture{300, 1, 0, 0, true, Bytes(300, 0), {}};
             r.picture.indices[290] = 40;
             r.flags = kSpriteRowCoded;
         }},
    };
    for (const Case& c : cases) {
        PathObject obj = sampleObject();
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
    PathObject obj = sampleObject();
    const Bytes before = dataOf(obj);
    EncodedSprite huge{0, obj.m_sprites[0], Bytes(kMaxChunkBytes - obj.m_dataSize + 6 + 1, 1)};
    auto s = applyEncodedSprites(obj, std::span(&huge, 1));
    ASSERT_FALSE(s);
    EXPECT_NE(s.error().find("past 67108864"), std::string::npos) << s.error();
    EXPECT_EQ(dataOf(obj), before);
    EncodedSprite past{std::uint32_t(obj.m_sprites.size()), SpriteHeader{}, Bytes(4, 1)};
    EXPECT_FALSE(applyEncodedSprites(obj, std::span(&past, 1))) << "never appends";
    EXPECT_EQ(dataOf(obj), before);
    huge.bytes.pop_back();  // exactly the largest chunk
    EXPECT_TRUE(applyEncodedSprites(obj, std::span(&huge, 1)));
    EXPECT_EQ(obj.m_dataSize, kMaxChunkBytes);
}

TEST(SpriteImport, ABatchStopsAtThePictureThatMakesTheObjectTooLarge) {
    PathObject obj = sampleObject();
    const Bytes before = dataOf(obj);
    SpriteBatch batch(obj, Matching{});
    const int side = kMaxPictureSide;
    for (unsigned index : {0u, 1u, 4u}) {
        SpriteReplacement r{
            index, Picture{side, side, 0, 0, true, Bytes(std::size_t(side) * side, 7), {}}, 1, {}};
        ASSERT_TRUE(batch.add(r));
    }
    SpriteReplacement fourth{5, Picture{side, side, 0, 0, true, Bytes(std::size_t(side) * side, 7), {}}, 1,
                             "d/005.png"};
    Status s = batch.add(fourth);
    ASSERT_FALSE(s);
    EXPECT_EQ(s.error().rfind("d/005.png: the object would grow to ", 0), 0u) << s.error();
    EXPECT_EQ(dataOf(obj), before) << "adding changes nothing";
}

}  // namespace
}  // namespace trellisor
