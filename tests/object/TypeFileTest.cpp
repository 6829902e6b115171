// Type files: layout, page round trips, the support counts (truncating and appending),
// and hostile files that change nothing.
#include <gtest/gtest.h>

#include <functional>

#include "object/TypeFile.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A full object whose sprites differ in size and colour from standardSprites, so loads are visible.
std::vector<test::SpriteSpec> otherSprites(int count) {
    std::vector<test::SpriteSpec> sprites;
    for (int i = 0; i < count; ++i)
        sprites.push_back(test::solidRawSprite(1 + i % 5, 2, std::uint8_t(100 + i % 50)));
    return sprites;
}

TEST(TypeFile, LayoutAndRoundTripOfEveryPage) {
    PathObject obj = test::buildObject(otherSprites(168), test::twelveStrings(), 2, 3);
    // Headers with offsets from 0 (the page's own running total), then the pixels; Supports
    // start with the two flag bytes and run to the last sprite.
    for (int page = PagePath; page <= PageSupports; ++page) {
        Bytes expected;
        if (page == PageSupports) expected = {2, 3};
        Bytes pixels;
        for (int i = obj.pageFirstSprite(page); i <= obj.pageLastSprite(page); ++i) {
            SpriteHeader h = obj.m_sprites[std::size_t(i)];
            h.offset = std::uint32_t(pixels.size());
            const auto rec = h.toBytes();
            expected.insert(expected.end(), rec.begin(), rec.end());
            const Bytes p = test::pixelsOf(obj, unsigned(i));
            pixels.insert(pixels.end(), p.begin(), p.end());
        }
        expected.insert(expected.end(), pixels.begin(), pixels.end());
        const Bytes file = buildTypeFile(obj, page);
        EXPECT_EQ(file, expected) << page;
        const Bytes before = test::dataOf(obj);
        ASSERT_TRUE(applyTypeBytes(obj, page, file)) << page;
        EXPECT_EQ(test::dataOf(obj), before) << page;
    }
    // A sprite the object lacks goes out as an empty all-zero header.
    PathObject short60 = test::buildObject(otherSprites(60));
    const Bytes queue = buildTypeFile(short60, PageQueue);
    std::uint32_t present = 0;
    for (unsigned i = 51; i < 60; ++i) present += std::uint32_t(test::pixelsOf(short60, i).size());
    EXPECT_EQ(queue.size(), 20u * 16 + present);
    EXPECT_EQ(SpriteHeader::fromBytes(&queue[16 * 9]), (SpriteHeader{present, 0, 0, 0, 0, 0, 0}));
    for (int page : {int(PageStringTable), -1, 6}) {
        EXPECT_TRUE(buildTypeFile(obj, page).empty());
        EXPECT_EQ(applyTypeBytes(obj, page, Bytes(4000, 0)).error(),
                  "the String Table page has no type file");
    }
    EXPECT_TRUE(buildTypeFile(PathObject{}, PagePath).empty());
}

TEST(TypeFile, SupportSetsTruncateAndAppend) {
    const PathObject with37 = test::buildObject(otherSprites(146), test::twelveStrings(), 1, 0);
    const PathObject with59 = test::buildObject(test::standardSprites(168));
    PathObject a = test::buildObject(test::standardSprites(168));
    const Bytes path20 = test::pixelsOf(a, 20);
    ASSERT_TRUE(applyTypeBytes(a, PageSupports, buildTypeFile(with37, PageSupports)));
    EXPECT_EQ(std::tuple(a.m_spriteCount, a.m_sprites.size(), a.m_supportType, a.m_pathFlags),
              std::tuple(146u, 146u, 1, 0));
    EXPECT_EQ(test::pixelsOf(a, 20), path20);
    for (unsigned i = 109; i < 146; ++i) {
        EXPECT_EQ(test::pixelsOf(a, i), test::pixelsOf(with37, i)) << i;
        EXPECT_EQ(a.m_sprites[i].word1(), with37.m_sprites[i].word1()) << i;
    }

    PathObject b = test::buildObject(otherSprites(146), test::twelveStrings(), 1, 1);
    ASSERT_TRUE(applyTypeBytes(b, PageSupports, buildTypeFile(with59, PageSupports)));
    EXPECT_EQ(std::tuple(b.m_spriteCount, b.m_supportType, b.m_pathFlags), std::tuple(168u, 0, 0));
    for (unsigned i = 109; i < 168; ++i) EXPECT_EQ(test::pixelsOf(b, i), test::pixelsOf(with59, i)) << i;
    // A 56-sprite file onto 168 sprites keeps 165.
    PathObject c = test::buildObject(test::standardSprites(168));
    ASSERT_TRUE(applyTypeBytes(
        c, PageSupports,
        buildTypeFile(test::buildObject(otherSprites(165), test::twelveStrings(), 1, 1), PageSupports)));
    EXPECT_EQ(c.m_spriteCount, 165u);
}

TEST(TypeFile, HostileFilesChangeNothing) {
    PathObject obj = test::buildObject(test::standardSprites(168));
    const Bytes before = test::dataOf(obj), good = buildTypeFile(obj, PageQueue);
    auto with = [&](std::function<void(Bytes&)> change) {
        Bytes file = good;
        change(file);
        return file;
    };
    const std::uint32_t pixelBytes = std::uint32_t(good.size() - 20 * 16);
    const struct {
        int page;
        Bytes file;
        std::string reason;
    } cases[] = {
        {PageQueue, Bytes(good.begin(), good.begin() + 20 * 16 - 1),
         "type file holds 319 bytes, too few for its 20 sprite headers"},
        {PageSupports, Bytes{0}, "support type file shorter than its two flag bytes"},
        {PageSupports, Bytes{0, 0}, "type file holds 2 bytes, too few for its 59 sprite headers"},
        {PageSupports, with([](Bytes& f) { f.assign(593, 0), f[0] = 1; }),
         "type file holds 593 bytes, too few for its 37 sprite headers"},
        {PageQueue, with([&](Bytes& f) { storeLe32(&f[16 * 5], pixelBytes + 1); }),
         "type file sprite 5 starts at offset " + std::to_string(pixelBytes + 1) + ", beyond its " +
             std::to_string(pixelBytes) + " pixel bytes"},
        {PageQueue, with([](Bytes& f) { storeLe32(&f[16 * 7], loadLe32(&f[16 * 6]) - 1); }),
         "type file sprite offsets decrease at sprite 7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(applyTypeBytes(obj, c.page, c.file).error(), c.reason);
        EXPECT_EQ(test::dataOf(obj), before);
        EXPECT_EQ(obj.m_spriteCount, 168u);
    }
    PathObject empty;
    EXPECT_EQ(applyTypeBytes(empty, PagePath, good).error(), "no object is loaded");
    EXPECT_FALSE(empty.isLoaded());
    // Offsets at the very end and headers without pixels are well-formed: the sprites become empty.
    ASSERT_TRUE(applyTypeBytes(obj, PageQueue, with([&](Bytes& f) { storeLe32(&f[16 * 19], pixelBytes); })));
    EXPECT_TRUE(obj.spritePixels(70).empty());
    ASSERT_TRUE(applyTypeBytes(obj, PageQueue, Bytes(20 * 16, 0)));
    EXPECT_TRUE(obj.spritePixels(60).empty());
    EXPECT_EQ(obj.m_spriteCount, 168u);
}

TEST(TypeFile, WriteAndLoadThroughFilesWhateverTheCase) {
    test::TempDir dir;
    const PathObject source = test::buildObject(otherSprites(168));
    ASSERT_TRUE(writeTypeFile(source, PagePath, dir.file("Brick.PTH")));
    EXPECT_EQ(dir.read("Brick.PTH"), buildTypeFile(source, PagePath));
    PathObject target = test::buildObject(test::standardSprites(168));
    ASSERT_TRUE(loadTypeFile(target, PagePath, dir.file("brick.pth")));
    for (unsigned i = 0; i <= 50; ++i) EXPECT_EQ(test::pixelsOf(target, i), test::pixelsOf(source, i)) << i;
    EXPECT_EQ(loadTypeFile(target, PagePath, dir.file("missing.PTH")).error(), "No such file or directory");
    PathObject none;
    EXPECT_EQ(loadTypeFile(none, PagePath, dir.file("Brick.PTH")).error(), "no object is loaded");
    EXPECT_EQ(writeTypeFile(none, PagePath, dir.file("none.PTH")).error(), "no object is loaded");
    EXPECT_EQ(writeTypeFile(source, PageStringTable, dir.file("none.PTH")).error(),
              "the String Table page has no type file");
    EXPECT_FALSE(writeTypeFile(source, PagePath, dir.file("no/such/dir.PTH")));
}

}  // namespace
}  // namespace trellisor
