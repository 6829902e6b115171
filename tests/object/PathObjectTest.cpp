// PathObject: record layouts, string table walks and edits, sprite replacement and truncation.
#include <gtest/gtest.h>

#include <cstring>

#include "object/ObjectFile.h"
#include "object/PathObject.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using test::buildObject;
using test::solidRawSprite;
using test::solidRowCodedSprite;

std::vector<std::uint8_t> dataOf(const PathObject& obj) {
    return std::vector<std::uint8_t>(obj.m_data.get(), obj.m_data.get() + obj.m_dataSize);
}

std::vector<std::uint8_t> pixelsOf(const PathObject& obj, unsigned i) {
    auto p = obj.spritePixels(i);
    return std::vector<std::uint8_t>(p.begin(), p.end());
}

TEST(PathObjectRecords, HeadAndSpriteHeaderAreLittleEndianAndPacked) {
    ObjectFileHead head;
    head.flags = 0x09F55405;
    std::memcpy(head.name.data(), "ABCDEFGH", 8);
    head.checksum = 0x11223344;
    head.encoding = 7;
    head.length = 0xA1B2C3D4;
    auto b = head.toBytes();
    const std::array<std::uint8_t, 21> expected = {0x05, 0x54, 0xF5, 0x09, 'A',  'B',  'C',
                                                   'D',  'E',  'F',  'G',  'H',  0x44, 0x33,
                                                   0x22, 0x11, 0x07, 0xD4, 0xC3, 0xB2, 0xA1};
    EXPECT_EQ(b, expected);
    ObjectFileHead back = ObjectFileHead::fromBytes(b);
    EXPECT_EQ(back.toBytes(), expected);
    EXPECT_EQ(back.objectType(), 5);

    SpriteHeader h;
    h.offset = 0x01020304;
    h.width = 45;
    h.height = -2;
    h.xOffset = -32768;
    h.yOffset = 1;
    h.flags = 5;
    h.reserved = 0xBEEF;
    auto hb = h.toBytes();
    EXPECT_EQ(hb[0], 0x04);
    EXPECT_EQ(hb[6], 0xFE);
    EXPECT_EQ(hb[7], 0xFF);
    EXPECT_EQ(hb[14], 0xEF);
    EXPECT_EQ(SpriteHeader::fromBytes(hb.data()), h);
    EXPECT_EQ(h.word1(), 0xFFFE002Du);
    EXPECT_EQ(h.word2(), 0x00018000u);
    EXPECT_EQ(h.word3(), 0xBEEF0005u);
    SpriteHeader w;
    w.setWords(h.word1(), h.word2(), h.word3());
    w.offset = h.offset;
    EXPECT_EQ(w, h);
}

TEST(PathObjectStrings, LookupAndAbsentCodes) {
    PathObject obj = buildObject({solidRawSprite(2, 2, 9)}, {{0, "Brit"}, {1, ""}});
    std::string text;
    EXPECT_TRUE(obj.getObjectString(0, text));
    EXPECT_EQ(text, "Brit");
    EXPECT_TRUE(obj.getObjectString(1, text));
    EXPECT_EQ(text, "");

    const auto before = dataOf(obj);
    text = "kept";
    EXPECT_FALSE(obj.getObjectString(5, text));
    EXPECT_EQ(text, "kept");
    obj.setObjectString(5, "anything");
    EXPECT_EQ(dataOf(obj), before);

    PathObject empty;
    EXPECT_FALSE(empty.getObjectString(0, text));
}

TEST(PathObjectStrings, SetShiftsDataAndKeepsNeighbours) {
    PathObject obj =
        buildObject({solidRawSprite(3, 1, 7), solidRawSprite(1, 2, 8)}, {{0, "Old"}, {1, ""}, {2, "X"}});
    const std::uint32_t size = obj.m_dataSize;
    const std::uint32_t image = obj.m_imageDataOffset;
    const auto sprite1 = pixelsOf(obj, 1);

    obj.setObjectString(0, "");  // becomes a single space: 0x00 0x20 0x00
    EXPECT_EQ(obj.m_data[14], 0x00);
    EXPECT_EQ(obj.m_data[15], 0x20);
    EXPECT_EQ(obj.m_data[16], 0x00);
    EXPECT_EQ(obj.m_dataSize, size + 1 - 3);
    EXPECT_EQ(obj.m_imageDataOffset, image + 1 - 3);

    obj.setObjectString(1, "Longer text");  // the old text was empty
    std::string text;
    ASSERT_TRUE(obj.getObjectString(1, text));
    EXPECT_EQ(text, "Longer text");
    ASSERT_TRUE(obj.getObjectString(2, text));
    EXPECT_EQ(text, "X");
    ASSERT_TRUE(obj.getObjectString(0, text));
    EXPECT_EQ(text, " ");
    EXPECT_EQ(pixelsOf(obj, 1), sprite1);
    EXPECT_EQ(obj.m_dataSize, obj.m_imageDataOffset + 5);

    obj.setObjectString(2, std::string("ab\0cd", 5));  // a text ends at its first NUL
    ASSERT_TRUE(obj.getObjectString(2, text));
    EXPECT_EQ(text, "ab");
}

TEST(PathObjectStrings, AddInsertsInLanguageOrderOnlyForAbsentCodes) {
    PathObject obj = buildObject({solidRawSprite(2, 1, 7)}, {{3, "C"}, {1, "A"}, {9, "Z"}});
    const auto sprite0 = pixelsOf(obj, 0);
    const std::uint32_t image = obj.m_imageDataOffset;
    EXPECT_FALSE(obj.addObjectString(1, "again"));
    EXPECT_TRUE(obj.addObjectString(2, "B"));     // before the first higher code (3, first)
    EXPECT_TRUE(obj.addObjectString(11, ""));     // at the end marker; empty becomes a space
    EXPECT_TRUE(obj.addObjectString(0, "zero"));  // first
    std::vector<int> codes;
    for (const auto& entry : stringTableEntries(obj)) codes.push_back(entry.first);
    EXPECT_EQ(codes, (std::vector<int>{0, 2, 3, 1, 9, 11}));
    std::string text;
    ASSERT_TRUE(obj.getObjectString(11, text));
    EXPECT_EQ(text, " ");
    EXPECT_EQ(obj.m_imageDataOffset, image + 3 + 3 + 6);
    EXPECT_EQ(pixelsOf(obj, 0), sprite0);

    PathObject unterminated = buildObject({solidRawSprite(1, 1, 1)}, {{0, "A"}});
    unterminated.m_imageDataOffset = unterminated.m_stringTableOffset + 2;  // the marker lies beyond
    EXPECT_FALSE(unterminated.addObjectString(5, "x"));
}

TEST(PathObjectSprites, ReplaceInnerAndLastSprite) {
    PathObject obj = buildObject({solidRawSprite(2, 2, 1), solidRawSprite(3, 1, 2), solidRawSprite(1, 1, 3)});
    const auto s0 = pixelsOf(obj, 0);
    const auto s2 = pixelsOf(obj, 2);
    const std::vector<std::uint8_t> source = {0xEE, 9, 9, 9, 9, 9, 9};

    obj.replaceSprite(1, 1, 0x00020003, 0x00050004, 0x00000001, 6, source.data());
    EXPECT_EQ(pixelsOf(obj, 0), s0);
    EXPECT_EQ(pixelsOf(obj, 1), std::vector<std::uint8_t>(6, 9));
    EXPECT_EQ(pixelsOf(obj, 2), s2);
    EXPECT_EQ(obj.m_sprites[1].offset, 4u);
    EXPECT_EQ(obj.m_sprites[2].offset, 10u);
    EXPECT_EQ(obj.m_sprites[1].width, 3);
    EXPECT_EQ(obj.m_sprites[1].height, 2);
    EXPECT_EQ(obj.m_sprites[1].xOffset, 4);
    EXPECT_EQ(obj.m_sprites[1].yOffset, 5);
    EXPECT_EQ(obj.m_dataSize, obj.m_imageDataOffset + 11);

    // The last sprite owns everything to the end of the data.
    obj.replaceSprite(2, 0, 0, 0, 1, 2, source.data());
    EXPECT_EQ(obj.m_dataSize, obj.m_imageDataOffset + 12);
    EXPECT_EQ(pixelsOf(obj, 2), (std::vector<std::uint8_t>{0xEE, 9}));
}

TEST(PathObjectSprites, AppendLeavesZeroGapAndTruncateCuts) {
    PathObject obj = buildObject({solidRawSprite(2, 2, 1), solidRawSprite(1, 1, 2)});
    const std::uint32_t imageSize = obj.m_dataSize - obj.m_imageDataOffset;
    const std::vector<std::uint8_t> source = {4, 4, 4};

    obj.replaceSprite(2, 0, 0x00010003, 0, 1, 3, source.data());
    ASSERT_EQ(obj.m_spriteCount, 3u);
    EXPECT_EQ(obj.m_sprites.size(), 3u);
    EXPECT_EQ(obj.m_sprites[2].offset, imageSize);
    EXPECT_EQ(pixelsOf(obj, 2), source);
    EXPECT_EQ(obj.pageLastSprite(PageSupports), 2);

    obj.replaceSprite(5, 0, 0x00010001, 0, 1, 1, source.data());  // two past the end
    ASSERT_EQ(obj.m_spriteCount, 6u);
    EXPECT_EQ(obj.m_sprites[3], SpriteHeader{});
    EXPECT_EQ(obj.m_sprites[4], SpriteHeader{});
    EXPECT_EQ(obj.m_sprites[5].offset, imageSize + 3);
    EXPECT_EQ(pixelsOf(obj, 3).size(), 0u);
    EXPECT_EQ(pixelsOf(obj, 5), std::vector<std::uint8_t>{4});

    const auto before = dataOf(obj);
    obj.truncateSprites(6);
    EXPECT_EQ(dataOf(obj), before);
    obj.truncateSprites(2);
    EXPECT_EQ(obj.m_spriteCount, 2u);
    EXPECT_EQ(obj.m_sprites.size(), 2u);
    EXPECT_EQ(obj.m_dataSize, obj.m_imageDataOffset + imageSize);
    EXPECT_EQ(obj.pageLastSprite(PageSupports), 1);
}

TEST(PathObjectSprites, TruncateTo146AndClear) {
    PathObject obj = buildObject(test::standardSprites(168));
    EXPECT_EQ(obj.pageLastSprite(PageSupports), 167);
    const std::uint32_t cut = obj.m_imageDataOffset + obj.m_sprites[146].offset;
    const auto s145 = pixelsOf(obj, 145);
    obj.truncateSprites(146);
    EXPECT_EQ(obj.m_spriteCount, 146u);
    EXPECT_EQ(obj.m_dataSize, cut);
    EXPECT_EQ(obj.pageLastSprite(PageSupports), 145);
    EXPECT_EQ(pixelsOf(obj, 145), s145);

    obj.clearObject();
    EXPECT_FALSE(obj.isLoaded());
    EXPECT_EQ(obj.m_spriteCount, 0u);
    EXPECT_TRUE(obj.m_sprites.empty());
    EXPECT_EQ(obj.m_dataSize, 0u);
    EXPECT_EQ(obj.m_stringTableOffset, 0u);
    EXPECT_EQ(obj.m_imageDataOffset, 0u);
    EXPECT_TRUE(obj.spritePixels(0).empty());
}

// One definition of a sprite's bytes serves drawing, colour edits, type files and replacement.
TEST(PathObjectSprites, SpansOfOutOfOrderAndOverlappingOffsets) {
    PathObject obj = buildObject(
        {solidRawSprite(2, 2, 1), solidRawSprite(2, 2, 2), solidRawSprite(2, 2, 3), solidRawSprite(2, 2, 4)});
    const std::uint32_t base = obj.m_imageDataOffset, size = obj.m_dataSize;
    struct Case {
        std::vector<std::uint32_t> offsets;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;  // relative to the image data
    };
    const Case cases[] = {
        {{0, 4, 8, 12}, {{0, 4}, {4, 8}, {8, 12}, {12, 16}}},    // abutting, the last to the end
        {{8, 4, 12, 0}, {{8, 16}, {4, 12}, {12, 16}, {0, 16}}},  // a lower next start: to the end
        {{0, 0, 6, 6}, {{0, 0}, {0, 6}, {6, 6}, {6, 16}}},       // equal starts: the first is empty
        {{0, 4, 100, 8}, {{0, 4}, {4, 16}, {16, 16}, {8, 16}}},  // a start past the data: clamped
    };
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < 4; ++i) obj.m_sprites[i].offset = c.offsets[i];
        for (unsigned i = 0; i < 4; ++i) {
            const auto [start, end] = obj.spriteSpan(i);
            EXPECT_EQ(start - base, c.spans[i].first) << "sprite " << i << " of case " << c.offsets[1];
            EXPECT_EQ(end - base, c.spans[i].second) << "sprite " << i << " of case " << c.offsets[1];
            EXPECT_LE(end, size);
            EXPECT_EQ(obj.spritePixels(i).size(), end - start);
        }
    }
    EXPECT_EQ(obj.spriteSpan(4), std::make_pair(size, size));
}

TEST(PathObjectSprites, GapsHoldNoBytesAndFillInPlace) {
    // Appending past the count leaves all-zero headers; the sprite before the gap keeps
    // its bytes, and a gap filled later takes its place without moving anyone else's.
    PathObject obj = buildObject({solidRowCodedSprite(4, 2, 30), solidRawSprite(2, 2, 5)});
    const auto sprite1 = pixelsOf(obj, 1);
    const std::vector<std::uint8_t> appended = {1, 2}, filled = {7, 8, 9};
    obj.replaceSprite(4, 0, 0x00010002, 0, 1, 2, appended.data());
    EXPECT_EQ(obj.m_sprites[2], SpriteHeader{});
    EXPECT_EQ(obj.m_sprites[3], SpriteHeader{});
    EXPECT_EQ(pixelsOf(obj, 1), sprite1);
    EXPECT_TRUE(obj.spritePixels(2).empty());
    EXPECT_EQ(pixelsOf(obj, 4), appended);

    obj.replaceSprite(2, 0, 0x00010003, 0, 1, 3, filled.data());
    EXPECT_EQ(pixelsOf(obj, 1), sprite1);
    EXPECT_EQ(pixelsOf(obj, 2), filled);
    EXPECT_EQ(obj.m_sprites[3], SpriteHeader{});
    EXPECT_TRUE(obj.spritePixels(3).empty());
    EXPECT_EQ(pixelsOf(obj, 4), appended);
    EXPECT_EQ(obj.m_dataSize, obj.spriteSpan(4).second);

    obj.truncateSprites(3);  // cut where the gap stands: after sprite 2's bytes
    EXPECT_EQ(pixelsOf(obj, 2), filled);
    EXPECT_EQ(obj.m_dataSize, obj.spriteSpan(2).second);
}

}  // namespace
}  // namespace trellisor
