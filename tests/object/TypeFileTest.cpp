// Type files: page round trips, the support count rules, and hostile files that change nothing.
#include <gtest/gtest.h>

#include "base/Bytes.h"
#include "object/TypeFile.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes dataOf(const PathObject& obj) { return Bytes(obj.m_data.get(), obj.m_data.get() + obj.m_dataSize); }

// A full object whose sprites differ in size and colour from standardSprites, so loads are visible.
std::vector<test::SpriteSpec> otherSprites(int count) {
    std::vector<test::SpriteSpec> sprites;
    for (int i = 0; i < count; ++i)
        sprites.push_back(test::solidRawSprite(1 + i % 5, 2, std::uint8_t(100 + i % 50)));
    return sprites;
}

TEST(TypeFileRoundTrip, ExportThenLoadEveryPageChangesNothing) {
    PathObject obj = test::buildObject(test::standardSprites(168));
    const Bytes before = dataOf(obj);
    const auto sprites = obj.m_sprites;
    for (int page = PagePath; page <= PageSupports; ++page) {
        Bytes file = buildTypeFile(obj, page);
        ASSERT_TRUE(applyTypeBytes(obj, page, file).isOk()) << page;
        EXPECT_EQ(dataOf(obj), before) << page;
        EXPECT_EQ(obj.m_sprites, sprites) << page;
    }
    EXPECT_TRUE(buildTypeFile(obj, PageStringTable).empty());
    EXPECT_FALSE(applyTypeBytes(obj, PageStringTable, Bytes(100, 0)).isOk());
}

TEST(TypeFileLayout, RailingsOffsetsStartAtZeroAndSupportsCarryFlags) {
    PathObject obj = test::buildObject(test::standardSprites(168), test::twelveStrings(), 2, 3);
    Bytes rail = buildTypeFile(obj, PagePathRailings);
    ASSERT_GE(rail.size(), 14u * 16);
    EXPECT_EQ(loadLe32(&rail[0]), 0u);
    EXPECT_NE(obj.m_sprites[73].offset, 0u);
    EXPECT_EQ(loadLe32(&rail[16]), obj.m_sprites[74].offset - obj.m_sprites[73].offset);
    std::size_t pixelBytes = 0;
    for (int i = 73; i <= 86; ++i) pixelBytes += obj.spritePixels(unsigned(i)).size();
    EXPECT_EQ(rail.size(), 14u * 16 + pixelBytes);

    Bytes supports = buildTypeFile(obj, PageSupports);
    EXPECT_EQ(supports[0], 2);
    EXPECT_EQ(supports[1], 3);
    EXPECT_EQ(loadLe32(&supports[2]), 0u);
    EXPECT_EQ(loadLe16(&supports[2 + 4]), std::uint16_t(obj.m_sprites[109].width));
}

TEST(TypeFileSupports, ThirtySevenTruncatesAndFiftyNineAppends) {
    PathObject with37 = test::buildObject(otherSprites(146), test::twelveStrings(), 1, 0);
    PathObject with59 = test::buildObject(test::standardSprites(168), test::twelveStrings(), 0, 0);
    const Bytes file37 = buildTypeFile(with37, PageSupports);
    const Bytes file59 = buildTypeFile(with59, PageSupports);

    PathObject a = test::buildObject(test::standardSprites(168));
    const auto pathPixels = Bytes(a.spritePixels(20).begin(), a.spritePixels(20).end());
    ASSERT_TRUE(applyTypeBytes(a, PageSupports, file37).isOk());
    EXPECT_EQ(a.m_spriteCount, 146u);
    EXPECT_EQ(a.pageLastSprite(PageSupports), 145);
    EXPECT_EQ(a.m_supportType, 1);
    EXPECT_EQ(a.m_pathFlags, 0);
    EXPECT_EQ(Bytes(a.spritePixels(20).begin(), a.spritePixels(20).end()), pathPixels);
    EXPECT_EQ(a.m_sprites[120].width, with37.m_sprites[120].width);
    // The data ends with the 37 support sprites: nothing of the old 59 remains after them.
    EXPECT_EQ(a.m_dataSize - a.m_imageDataOffset,
              a.m_sprites[109].offset +
                  (with37.m_dataSize - with37.m_imageDataOffset - with37.m_sprites[109].offset));

    PathObject b = test::buildObject(otherSprites(146), test::twelveStrings(), 1, 1);
    ASSERT_TRUE(applyTypeBytes(b, PageSupports, file59).isOk());
    EXPECT_EQ(b.m_spriteCount, 168u);
    EXPECT_EQ(b.m_supportType, 0);
    EXPECT_EQ(Bytes(b.spritePixels(167).begin(), b.spritePixels(167).end()),
              Bytes(with59.spritePixels(167).begin(), with59.spritePixels(167).end()));
    EXPECT_EQ(b.m_sprites[167].width, with59.m_sprites[167].width);
}

TEST(TypeFileLoad, HostileFilesChangeNothing) {
    PathObject obj = test::buildObject(test::standardSprites(168));
    const Bytes before = dataOf(obj);
    const Bytes good = buildTypeFile(obj, PageQueue);

    auto expectRefused = [&](int page, const Bytes& file, const std::string& part) {
        Status s = applyTypeBytes(obj, page, file);
        ASSERT_FALSE(s.isOk()) << part;
        EXPECT_NE(s.error().find(part), std::string::npos) << s.error();
        EXPECT_EQ(dataOf(obj), before);
        EXPECT_EQ(obj.m_spriteCount, 168u);
    };
    expectRefused(PageQueue, Bytes(good.begin(), good.begin() + 20 * 16 - 1),
                  "too few for its 20 sprite headers");
    expectRefused(PageSupports, Bytes{0}, "two flag bytes");
    expectRefused(PageSupports, Bytes{0, 0, 1, 2, 3}, "59 sprite headers");

    Bytes far = good;
    storeLe32(&far[16 * 5], 0xFFFFFFF0u);
    expectRefused(PageQueue, far, "sprite 5 starts at offset 4294967280");

    Bytes decreasing = good;
    storeLe32(&decreasing[16 * 7], loadLe32(&decreasing[16 * 6]) - 1);
    expectRefused(PageQueue, decreasing, "decrease at sprite 7");

    PathObject empty;
    EXPECT_FALSE(applyTypeBytes(empty, PagePath, good).isOk());
    EXPECT_FALSE(empty.isLoaded());

    // Headers only, no pixels: every sprite becomes empty but the file is well-formed.
    Bytes headersOnly(20 * 16, 0);
    ASSERT_TRUE(applyTypeBytes(obj, PageQueue, headersOnly).isOk());
    EXPECT_TRUE(obj.spritePixels(60).empty());
    EXPECT_EQ(obj.m_spriteCount, 168u);
}

TEST(TypeFileDisk, WriteAndLoadThroughFiles) {
    test::TempDir dir;
    PathObject source = test::buildObject(otherSprites(168));
    ASSERT_TRUE(writeTypeFile(source, PagePath, dir.file("Brick.PTH")).isOk());
    PathObject target = test::buildObject(test::standardSprites(168));
    // The name is matched without regard to case, as descriptor lists were written on a platform that did.
    ASSERT_TRUE(loadTypeFile(target, PagePath, dir.file("brick.pth")).isOk());
    for (unsigned i = 0; i <= 50; ++i) {
        EXPECT_EQ(target.m_sprites[i].word1(), source.m_sprites[i].word1());
        auto a = target.spritePixels(i);
        auto b = source.spritePixels(i);
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << i;
    }
    EXPECT_FALSE(loadTypeFile(target, PagePath, dir.file("missing.PTH")).isOk());
    PathObject none;
    EXPECT_FALSE(writeTypeFile(none, PagePath, dir.file("none.PTH")).isOk());
}

}  // namespace
}  // namespace trellisor
