// Type files (layout, page round trips, the support counts, hostile files), descriptor
// lists (the count and missing-line rules, files) and New, which assembles an object from both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/TypeFile.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A full object whose sprites differ in size and colour from standardSprites, so loads are visible.
PathObject otherObject(int count, std::uint8_t supportType = 0, std::uint8_t pathFlags = 0) {
    std::vector<test::SpriteSpec> sprites;
    for (int i = 0; i < count; ++i)
        sprites.push_back(test::solidRawSprite(1 + i % 5, 2, std::uint8_t(100 + i % 50)));
    return test::buildObject(sprites, test::twelveStrings(), supportType, pathFlags);
}

TEST(TypeFile, LayoutAndRoundTripOfEveryPageThroughBytesAndFiles) {
    PathObject obj = otherObject(168, 2, 3);
    // Headers with offsets from 0 (the page's own running total), then the pixels; Supports
    // start with the two flag bytes and run to the last sprite.
    for (int page = PagePath; page <= PageSupports; ++page) {
        Bytes expected = page == PageSupports ? Bytes{2, 3} : Bytes{}, pixels;
        for (int i = obj.pageFirstSprite(page); i <= obj.pageLastSprite(page); ++i) {
            SpriteHeader h = obj.m_sprites[std::size_t(i)];
            h.offset = std::uint32_t(pixels.size());
            const auto rec = h.toBytes();
            const Bytes p = test::pixelsOf(obj, unsigned(i));
            expected.insert(expected.end(), rec.begin(), rec.end());
            pixels.insert(pixels.end(), p.begin(), p.end());
        }
        expected.insert(expected.end(), pixels.begin(), pixels.end());
        const Bytes file = buildTypeFile(obj, page), before = test::dataOf(obj);
        EXPECT_EQ(file, expected) << page;
        ASSERT_TRUE(applyTypeBytes(obj, page, file)) << page;
        EXPECT_EQ(test::dataOf(obj), before) << page;
    }
    // Through files, whatever the case of the name on disk.
    test::TempDir dir;
    ASSERT_TRUE(writeTypeFile(obj, PagePath, dir.file("Brick.PTH")));
    EXPECT_EQ(dir.read("Brick.PTH"), buildTypeFile(obj, PagePath));
    PathObject target = test::buildObject(test::standardSprites(168)), none;
    ASSERT_TRUE(loadTypeFile(target, PagePath, dir.file("brick.pth")));
    for (unsigned i = 0; i <= 50; ++i) EXPECT_EQ(test::pixelsOf(target, i), test::pixelsOf(obj, i)) << i;
    EXPECT_EQ(loadTypeFile(target, PagePath, dir.file("missing.PTH")).error(), "No such file or directory");
    EXPECT_EQ(loadTypeFile(none, PagePath, dir.file("Brick.PTH")).error(), "no object is loaded");
    EXPECT_EQ(writeTypeFile(none, PagePath, dir.file("none.PTH")).error(), "no object is loaded");
    EXPECT_FALSE(writeTypeFile(obj, PagePath, dir.file("no/such/dir.PTH")));
    EXPECT_TRUE(buildTypeFile(none, PagePath).empty());
    for (int page : {int(PageStringTable), -1, 6}) {
        EXPECT_TRUE(buildTypeFile(obj, page).empty());
        EXPECT_EQ(applyTypeBytes(obj, page, Bytes(4000, 0)).error(),
                  "the String Table page has no type file");
        EXPECT_EQ(writeTypeFile(obj, page, dir.file("none.PTH")).error(),
                  "the String Table page has no type file");
    }
    // A sprite the object lacks goes out as an empty all-zero header.
    const PathObject short60 = otherObject(60);
    const Bytes queue = buildTypeFile(short60, PageQueue);
    std::uint32_t present = 0;
    for (unsigned i = 51; i < 60; ++i) present += std::uint32_t(test::pixelsOf(short60, i).size());
    EXPECT_EQ(queue.size(), 20u * 16 + present);
    EXPECT_EQ(SpriteHeader::fromBytes(&queue[16 * 9]), (SpriteHeader{present, 0, 0, 0, 0, 0, 0}));
}

TEST(TypeFile, SupportSetsTruncateAndAppend) {
    const PathObject with37 = otherObject(146, 1, 0), with59 = test::buildObject(test::standardSprites(168));
    PathObject a = test::buildObject(test::standardSprites(168)), b = otherObject(146, 1, 1),
               c = test::buildObject(test::standardSprites(168));
    const Bytes path20 = test::pixelsOf(a, 20);
    ASSERT_TRUE(applyTypeBytes(a, PageSupports, buildTypeFile(with37, PageSupports)));
    EXPECT_EQ(std::tuple(a.m_spriteCount, a.m_sprites.size(), a.m_supportType, a.m_pathFlags),
              std::tuple(146u, 146u, 1, 0));
    EXPECT_EQ(test::pixelsOf(a, 20), path20);
    for (unsigned i = 109; i < 146; ++i) {
        EXPECT_EQ(test::pixelsOf(a, i), test::pixelsOf(with37, i)) << i;
        EXPECT_EQ(a.m_sprites[i].word1(), with37.m_sprites[i].word1()) << i;
    }
    ASSERT_TRUE(applyTypeBytes(b, PageSupports, buildTypeFile(with59, PageSupports)));
    EXPECT_EQ(std::tuple(b.m_spriteCount, b.m_supportType, b.m_pathFlags), std::tuple(168u, 0, 0));
    for (unsigned i = 109; i < 168; ++i) EXPECT_EQ(test::pixelsOf(b, i), test::pixelsOf(with59, i)) << i;
    // A 56-sprite file onto 168 sprites keeps 165.
    ASSERT_TRUE(applyTypeBytes(c, PageSupports, buildTypeFile(otherObject(165, 1, 1), PageSupports)));
    EXPECT_EQ(c.m_spriteCount, 165u);
}

TEST(TypeFile, HostileFilesChangeNothing) {
    PathObject obj = test::buildObject(test::standardSprites(168)), empty;
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
        EXPECT_EQ(std::pair(test::dataOf(obj), obj.m_spriteCount), std::pair(before, 168u));
    }
    EXPECT_EQ(applyTypeBytes(empty, PagePath, good).error(), "no object is loaded");
    EXPECT_FALSE(empty.isLoaded());
    // Offsets at the very end and headers without pixels are well-formed: the sprites become empty.
    ASSERT_TRUE(applyTypeBytes(obj, PageQueue, with([&](Bytes& f) { storeLe32(&f[16 * 19], pixelBytes); })));
    EXPECT_TRUE(obj.spritePixels(70).empty());
    ASSERT_TRUE(applyTypeBytes(obj, PageQueue, Bytes(20 * 16, 0)));
    EXPECT_TRUE(obj.spritePixels(60).empty());
    EXPECT_EQ(obj.m_spriteCount, 168u);
}

using Entries = std::vector<TypeEntry>;

TEST(Descriptor, CountAndMissingLineRulesAndFiles) {
    const std::pair<const char*, Entries> cases[] = {
        {"2\nBrick\nbrick.pth\nTar\ntar.pth\n", {{"Brick", "brick.pth"}, {"Tar", "tar.pth"}}},
        {"1\r\n Spaced \r\n file.pth\r\n", {{" Spaced ", " file.pth"}}},  // line ends "\n" or "\r\n"
        {" \t\v\f\r+1 types\nA\nb", {{"A", "b"}}},                        // atoi: blanks, a sign, text after
        {"3\na\nb\nc\nd\n", {{"a", "b"}, {"c", "d"}, {"", ""}}},          // missing lines give empty texts
        {"2\nOnlyName", {{"OnlyName", ""}, {"", ""}}},
    };
    for (const auto& [text, entries] : cases) EXPECT_EQ(parseDescriptorText(text), entries) << text;
    for (const char* none : {"0\nA\nb\n", "-3\nA\nb\n", "types\nA\nb\n", "\nA\nb\n", ""})
        EXPECT_TRUE(parseDescriptorText(none).empty()) << none;
    // A count beyond the text is bounded by what it holds plus 16 missing entries.
    EXPECT_EQ(parseDescriptorText("2000000000\nA\na.pth\n").size(), 17u);
    EXPECT_EQ(parseDescriptorText("99999999999999999999999\n").size(), 16u);
    // Files are written and read back whatever their case.
    test::TempDir dir;
    const Entries entries = {{"Brick", "brick.pth"}, {"Brick", "brick.pth"}, {"", "x.pth"}};
    EXPECT_EQ(formatDescriptorText(entries), "3\nBrick\nbrick.pth\nBrick\nbrick.pth\n\nx.pth\n");
    ASSERT_TRUE(writeDescriptorFile(dir.file("path.txt"), entries));
    ASSERT_TRUE(writeDescriptorFile(dir.file("SUPPORT.TXT"), {{"Poles", "poles.pth"}}));
    EXPECT_FALSE(writeDescriptorFile(dir.file("no/such.txt"), entries));
    EXPECT_EQ(readDescriptorFile(dir.file("PATH.TXT")), entries);
    EXPECT_TRUE(readDescriptorFile(dir.path()).empty());
    const auto lists = readTypeLists(dir.path());
    EXPECT_EQ(std::tuple(lists[PagePath], lists[PageSupports], lists[PageQueue], lists[PageStringTable]),
              std::tuple(entries, Entries{{"Poles", "poles.pth"}}, Entries{}, Entries{}));
}

// A working directory with one type file per page, taken from a full object with the given supports.
struct Workspace {
    test::TempDir dir;
    std::array<Entries, 6> lists;
    PathObject source;

    explicit Workspace(int supports = 59)
        : source(test::buildObject(test::standardSprites(109 + supports), test::twelveStrings(),
                                   supports == 59 ? 0 : 1, supports == 56 ? 1 : 0)) {
        for (int page = PagePath; page <= PageSupports; ++page) {
            const std::string file = std::string("T") + pageInfo(page).descriptorFile + ".pth";
            EXPECT_TRUE(writeTypeFile(source, page, dir.file(file)));
            lists[std::size_t(page)].push_back({file, file});
        }
    }
};

TEST(NewPath, AssemblesEveryPageAtItsIndicesWithBlankIcons) {
    for (int supports : {59, 56, 37}) {
        Workspace ws(supports);
        PathObject obj = test::buildObject({test::solidRawSprite(1, 1, 1)});
        ASSERT_TRUE(assembleNewPath(obj, ws.lists, ws.dir.path()));
        ASSERT_EQ(obj.m_spriteCount, 109u + unsigned(supports));
        EXPECT_EQ(std::tuple(obj.m_supportType, obj.m_pathFlags, obj.m_head.flags, obj.m_head.encoding,
                             obj.m_head.checksum),
                  std::tuple(ws.source.m_supportType, ws.source.m_pathFlags, 0x09F55405u, 1, 0u));
        EXPECT_EQ(objectStrings(obj), objectStrings(test::buildObject({})));  // twelve blank texts
        for (unsigned i = 0; i < obj.m_spriteCount; ++i) {
            const auto a = test::pixelsOf(obj, i);
            if (i == PathIconSprite || i == QueueIconSprite) {
                EXPECT_EQ(std::tuple(obj.m_sprites[i].word1(), obj.m_sprites[i].word2(),
                                     obj.m_sprites[i].flags, std::count(a.begin(), a.end(), 0)),
                          std::tuple(std::uint32_t(34 << 16 | 45), 0x00010001u, kSpriteRaw, 1530));
            } else {
                EXPECT_EQ(std::pair(obj.m_sprites[i].word1(), a),
                          std::pair(ws.source.m_sprites[i].word1(), test::pixelsOf(ws.source, i)))
                    << i;
            }
        }
    }
}

TEST(NewPath, MissingTypesEmptyListsAndTheRandomChoice) {
    Workspace ws;
    // A listed type file that cannot be read is refused by its name, an empty list by its page;
    // the object is left as it was.
    auto gone = ws.lists;
    gone[PageQueueRailings] = {{"Gone", "gone.pth"}};
    PathObject kept = test::buildObject({test::solidRawSprite(2, 2, 4)}), made;
    EXPECT_EQ(assembleNewPath(kept, gone, ws.dir.path()).error(),
              "cannot read the Queue Railings type file 'gone.pth': No such file or directory");
    for (int page = PagePath; page <= PageSupports; ++page) {
        auto lists = ws.lists;
        lists[std::size_t(page)].clear();
        EXPECT_EQ(assembleNewPath(kept, lists, ws.dir.path()).error(),
                  std::string("no ") + pageInfo(page).caption + " type to choose from");
        EXPECT_EQ(kept.m_spriteCount, 1u);
    }

    // Two path types of different sizes: which one lands is rand()'s choice.
    PathObject small = test::buildObject(test::standardSprites(51));
    small.replaceSprite(3, 0, 0x00010001, 0, 1, 0, nullptr);
    ASSERT_TRUE(writeTypeFile(small, PagePath, ws.dir.file("small.pth")));
    ws.lists[PagePath] = {{"Big", "Tpath.txt.pth"}, {"Small", "small.pth"}};
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        std::srand(seed);
        const bool small3 = std::rand() % 2 == 1;
        std::srand(seed);
        ASSERT_TRUE(assembleNewPath(made, ws.lists, ws.dir.path()));
        EXPECT_EQ(made.m_sprites[3].width == 1, small3) << seed;
    }
}

}  // namespace
}  // namespace trellisor
