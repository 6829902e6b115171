// Type files (layout, page round trips, the support counts, files, hostile files), descriptor
// lists (the count and missing-line rules, files) and New, which assembles an object from both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/TypeFile.h"
#include "support/Reference.h"
#include "support/StandardObject.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A full object whose sprites differ from standardSprites in size and colour.
PathObject otherObject(int count, std::uint8_t supportType = 0, std::uint8_t pathFlags = 0) {
    std::vector<test::SpriteSpec> sprites;
    for (int i = 0; i < count; ++i)
        sprites.push_back(test::solidRawSprite(1 + i % 5, 2, std::uint8_t(100 + i % 50)));
    return test::buildObject(sprites, test::twelveStrings(), supportType, pathFlags);
}

using test::standardObject;

// Headers with offsets from the page's own total, then the pixels (Supports after two flag bytes).
TEST(TypeFile, EachPagesFileMatchesItsReferenceAndRoundTrips) {
    PathObject obj = otherObject(168, 2, 3);
    const Bytes before = test::dataOf(obj);
    for (int page = PagePath; page <= PageSupports; ++page) {
        SCOPED_TRACE(pageInfo(page).cliName);
        const Bytes file = buildTypeFile(obj, page);
        EXPECT_TRUE(
            test::matchesReferenceBytes(file, std::string("object/type-files/") + pageInfo(page).cliName));
        ASSERT_TRUE(applyTypeBytes(obj, page, file));
        EXPECT_EQ(test::dataOf(obj), before);
    }
    EXPECT_TRUE(test::matchesReferenceBytes(buildTypeFile(otherObject(60), PageQueue),
                                            "object/type-files/queue-of-60-sprites"))
        << "a sprite the object lacks goes out as an empty all-zero header";
}

// The path sprites stay; the supports, their count and the flags come from the file.
TEST(TypeFile, ASupportSetReplacesTheSupportsTheirCountAndFlags) {
    std::tuple<const char*, PathObject, PathObject> sets[] = {
        {"37-onto-59", standardObject(168), otherObject(146, 1, 0)},
        {"59-onto-37", otherObject(146, 1, 1), standardObject(168)},
        {"56-onto-59", standardObject(168), otherObject(165, 1, 1)}};
    for (auto& [name, target, source] : sets) {
        ASSERT_TRUE(applyTypeBytes(target, PageSupports, buildTypeFile(source, PageSupports))) << name;
        Bytes result;
        ByteWriter w(result);
        w.u32(target.m_spriteCount), w.u8(target.m_supportType), w.u8(target.m_pathFlags);
        w.bytes(test::dataOf(target));
        for (const SpriteHeader& h : target.m_sprites) w.bytes(h.toBytes());
        EXPECT_TRUE(test::matchesReferenceBytes(result, std::string("object/supports-") + name));
    }
}

TEST(TypeFile, FilesAreFoundWhateverTheCaseOfTheirName) {
    PathObject obj = otherObject(168, 2, 3);
    test::TempDir dir;
    ASSERT_TRUE(writeTypeFile(obj, PagePath, dir.file("Brick.PTH")));
    EXPECT_EQ(dir.read("Brick.PTH"), buildTypeFile(obj, PagePath));
    PathObject target = standardObject(168), none;
    ASSERT_TRUE(loadTypeFile(target, PagePath, dir.file("brick.pth")));
    EXPECT_EQ(buildTypeFile(target, PagePath), buildTypeFile(obj, PagePath));
    EXPECT_EQ(loadTypeFile(target, PagePath, dir.file("missing.PTH")).error(), "No such file or directory");
    EXPECT_EQ(loadTypeFile(none, PagePath, dir.file("Brick.PTH")).error(), "no object is loaded");
    EXPECT_EQ(writeTypeFile(none, PagePath, dir.file("none.PTH")).error(), "no object is loaded");
    EXPECT_FALSE(writeTypeFile(obj, PagePath, dir.file("no/such/dir.PTH")));
    EXPECT_TRUE(buildTypeFile(none, PagePath).empty());
    for (int page : {int(PageStringTable), -1, 6}) EXPECT_TRUE(buildTypeFile(obj, page).empty()) << page;
    const std::string noFile = "the String Table page has no type file";
    EXPECT_EQ(applyTypeBytes(obj, PageStringTable, Bytes(4000, 0)).error(), noFile);
    EXPECT_EQ(writeTypeFile(obj, 6, dir.file("none.PTH")).error(), noFile);
}

TEST(TypeFile, HostileFilesAreRefusedAndChangeNothing) {
    PathObject obj = otherObject(168, 2, 3), none;
    const Bytes before = test::dataOf(obj);
    const Bytes good = buildTypeFile(obj, PageQueue);
    const std::uint32_t pixelBytes = std::uint32_t(good.size() - 20 * 16);
    auto with = [&](std::size_t at, std::uint32_t v) {  // the good file, one word changed
        Bytes file = good;
        storeLe32(&file[at], v);
        return file;
    };
    Bytes supports37(593, 0);
    supports37[0] = 1;
    const std::tuple<int, Bytes, std::string> cases[] = {
        {PageQueue, Bytes(good.begin(), good.begin() + 20 * 16 - 1),
         "type file holds 319 bytes, too few for its 20 sprite headers"},
        {PageSupports, Bytes{0}, "support type file shorter than its two flag bytes"},
        {PageSupports, Bytes{0, 0}, "type file holds 2 bytes, too few for its 59 sprite headers"},
        {PageSupports, supports37, "type file holds 593 bytes, too few for its 37 sprite headers"},
        {PageQueue, with(16 * 5, pixelBytes + 1),
         "type file sprite 5 starts at offset " + std::to_string(pixelBytes + 1) + ", beyond its " +
             std::to_string(pixelBytes) + " pixel bytes"},
        {PageQueue, with(16 * 7, loadLe32(&good[16 * 6]) - 1),
         "type file sprite offsets decrease at sprite 7"}};
    for (const auto& [page, file, reason] : cases) {
        EXPECT_EQ(applyTypeBytes(obj, page, file).error(), reason);
        EXPECT_EQ(std::pair(test::dataOf(obj), obj.m_spriteCount), std::pair(before, 168u)) << reason;
    }
    EXPECT_EQ(applyTypeBytes(none, PagePath, good).error(), "no object is loaded");
    // Offsets at the very end, and headers without pixels: the sprites become empty.
    ASSERT_TRUE(applyTypeBytes(obj, PageQueue, with(16 * 19, pixelBytes)));
    EXPECT_TRUE(obj.spritePixels(70).empty());
    ASSERT_TRUE(applyTypeBytes(obj, PageQueue, Bytes(20 * 16, 0)));
    EXPECT_EQ(std::pair(obj.spritePixels(60).empty(), obj.m_spriteCount), std::pair(true, 168u));
    // The object may grow up to the largest chunk, not past it.
    Bytes grown(20 * 16 + kMaxChunkBytes - obj.m_dataSize + 1, 0);
    EXPECT_EQ(applyTypeBytes(obj, PageQueue, grown).error(), "object would exceed 67108864 bytes");
    grown.pop_back();
    ASSERT_TRUE(applyTypeBytes(obj, PageQueue, grown));
    EXPECT_EQ(obj.m_dataSize, kMaxChunkBytes);
}

using Entries = std::vector<TypeEntry>;

TEST(DescriptorFile, TheCountRulesMissingLinesAndFilesOfAnyCase) {
    const std::pair<const char*, Entries> cases[] = {
        {"2\nBrick\nbrick.pth\nTar\ntar.pth\n", {{"Brick", "brick.pth"}, {"Tar", "tar.pth"}}},
        {"1\r\n Spaced \r\n file.pth\r\n", {{" Spaced ", " file.pth"}}},  // line ends "\n" or "\r\n"
        {" \t\v\f\r+1 types\nA\nb", {{"A", "b"}}},                        // atoi: blanks, a sign, text after
        {"3\na\nb\nc\nd\n", {{"a", "b"}, {"c", "d"}, {"", ""}}},          // missing lines give empty texts
        {"2\nOnlyName", {{"OnlyName", ""}, {"", ""}}}};
    for (const auto& [text, entries] : cases) EXPECT_EQ(parseDescriptorText(text), entries) << text;
    for (const char* none : {"0\nA\nb\n", "-3\nA\nb\n", "types\nA\nb\n", "\nA\nb\n", ""})
        EXPECT_TRUE(parseDescriptorText(none).empty()) << none;
    // A count beyond the text is bounded by what it holds plus 16 missing entries.
    EXPECT_EQ(parseDescriptorText("2000000000\nA\na.pth\n").size(), 17u);
    EXPECT_EQ(parseDescriptorText("99999999999999999999999\n").size(), 16u);
    test::TempDir dir;
    const Entries entries = {{"Brick", "brick.pth"}, {"Brick", "brick.pth"}, {"", "x.pth"}};
    EXPECT_EQ(formatDescriptorText(entries), "3\nBrick\nbrick.pth\nBrick\nbrick.pth\n\nx.pth\n");
    ASSERT_TRUE(writeDescriptorFile(dir.file("path.txt"), entries));
    ASSERT_TRUE(writeDescriptorFile(dir.file("SUPPORT.TXT"), {{"Poles", "poles.pth"}}));
    EXPECT_FALSE(writeDescriptorFile(dir.file("no/such.txt"), entries));
    EXPECT_EQ(readDescriptorFile(dir.file("PATH.TXT")), entries);
    EXPECT_TRUE(readDescriptorFile(dir.path()).empty());
    // A list of up to 16 MiB is read; a larger file is taken as no list.
    for (auto [size, count] : {std::pair{16u << 20, 1u}, {(16u << 20) + 1, 0u}}) {
        dir.writeText("big.txt", "1\nA\nb\n");
        std::filesystem::resize_file(dir.file("big.txt"), size);
        EXPECT_EQ(readDescriptorFile(dir.file("big.txt")).size(), count) << size;
    }
    const auto read = readTypeLists(dir.path());
    EXPECT_EQ(std::tuple(read[PagePath], read[PageSupports], read[PageQueue], read[PageStringTable]),
              std::tuple(entries, Entries{{"Poles", "poles.pth"}}, Entries{}, Entries{}));
}

// One type file of each page listed, every support set. Each result: its flag bytes, table
// offset, head (type 5, encoding 1, no checksum), chunk (blank texts, each page's sprites, blank
// icons) and headers.
TEST(NewPath, AssemblesEveryPageRefusesMissingTypesAndChoosesAtRandom) {
    test::TempDir dir;
    std::array<Entries, 6> lists;
    for (int supports : {59, 56, 37}) {
        SCOPED_TRACE(testing::Message() << supports << " supports");
        const PathObject source =
            standardObject(109 + supports, supports == 59 ? 0 : 1, supports == 56 ? 1 : 0);
        for (int page = PagePath; page <= PageSupports; ++page) {
            const std::string file = std::string("T") + pageInfo(page).descriptorFile + ".pth";
            EXPECT_TRUE(writeTypeFile(source, page, dir.file(file)));
            lists[std::size_t(page)] = {{file, file}};
        }
        PathObject obj = test::buildObject({test::solidRawSprite(1, 1, 1)});
        ASSERT_TRUE(assembleNewPath(obj, lists, dir.path()));
        Bytes made;
        ByteWriter w(made);
        w.u8(obj.m_supportType), w.u8(obj.m_pathFlags), w.u32(obj.m_stringTableOffset);
        w.bytes(obj.m_head.toBytes()), w.bytes(test::dataOf(obj));
        for (const SpriteHeader& h : obj.m_sprites) w.bytes(h.toBytes());
        EXPECT_TRUE(
            test::matchesReferenceBytes(made, "object/new-" + std::to_string(supports) + "-supports"));
    }

    // An unreadable type file is refused by its name, an empty list by its page; nothing changes.
    auto gone = lists;
    gone[PageQueueRailings] = {{"Gone", "gone.pth"}};
    PathObject kept = test::buildObject({test::solidRawSprite(2, 2, 4)}), made;
    EXPECT_EQ(assembleNewPath(kept, gone, dir.path()).error(),
              "cannot read the Queue Railings type file 'gone.pth': No such file or directory");
    for (int page = PagePath; page <= PageSupports; ++page) {
        auto some = lists;
        some[std::size_t(page)].clear();
        EXPECT_EQ(assembleNewPath(kept, some, dir.path()).error(),
                  std::string("no ") + pageInfo(page).caption + " type to choose from");
        EXPECT_EQ(kept.m_spriteCount, 1u) << page;
    }
    // Two path types of different sizes: which one lands is rand()'s choice.
    PathObject small = standardObject(51);
    small.replaceSprite(3, 0, 0x00010001, 0, 1, 0, nullptr);
    ASSERT_TRUE(writeTypeFile(small, PagePath, dir.file("small.pth")));
    lists[PagePath] = {{"Big", "Tpath.txt.pth"}, {"Small", "small.pth"}};
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        std::srand(seed);
        const bool small3 = std::rand() % 2 == 1;
        std::srand(seed);
        ASSERT_TRUE(assembleNewPath(made, lists, dir.path()));
        EXPECT_EQ(made.m_sprites[3].width == 1, small3) << seed;
    }
}

}  // namespace
}  // namespace trellisor
