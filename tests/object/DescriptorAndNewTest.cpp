// Descriptor lists (the count and missing-line rules, files) and New (page order,
// icons, support sets, missing types, refusals, the random choice).
#include <gtest/gtest.h>

#include <cstdlib>

#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/TypeFile.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Entries = std::vector<TypeEntry>;

TEST(Descriptor, CountAndMissingLineRules) {
    const std::pair<const char*, Entries> cases[] = {
        {"2\nBrick\nbrick.pth\nTar\ntar.pth\n", {{"Brick", "brick.pth"}, {"Tar", "tar.pth"}}},
        {"1\r\n Spaced \r\n file.pth\r\n", {{" Spaced ", " file.pth"}}},  // line ends "\n" or "\r\n"
        {" \t\v\f\r+1 types\nA\nb", {{"A", "b"}}},                        // atoi: blanks, a sign, text after
        {"3\na\nb\nc\nd\n", {{"a", "b"}, {"c", "d"}, {"", ""}}},          // missing lines give empty texts
        {"2\nOnlyName", {{"OnlyName", ""}, {"", ""}}},
        {"0\nA\nb\n", {}},
        {"-3\nA\nb\n", {}},
        {"types\nA\nb\n", {}},
        {"\nA\nb\n", {}},
        {"", {}},
    };
    for (const auto& [text, entries] : cases) EXPECT_EQ(parseDescriptorText(text), entries) << text;
    // A count beyond the text is bounded by what it holds plus 16 missing entries.
    EXPECT_EQ(parseDescriptorText("2000000000\nA\na.pth\n").size(), 17u);
    EXPECT_EQ(parseDescriptorText("99999999999999999999999\n").size(), 16u);
}

TEST(Descriptor, FilesWriteAndReadBackWhateverTheirCase) {
    test::TempDir dir;
    const Entries entries = {{"Brick", "brick.pth"}, {"Brick", "brick.pth"}, {"", "x.pth"}};
    EXPECT_EQ(formatDescriptorText(entries), "3\nBrick\nbrick.pth\nBrick\nbrick.pth\n\nx.pth\n");
    ASSERT_TRUE(writeDescriptorFile(dir.file("path.txt"), entries));
    EXPECT_EQ(readDescriptorFile(dir.file("PATH.TXT")), entries);
    EXPECT_TRUE(readDescriptorFile(dir.file("queue.txt")).empty());
    EXPECT_TRUE(readDescriptorFile(dir.path()).empty());
    EXPECT_FALSE(writeDescriptorFile(dir.file("no/such.txt"), entries));
    ASSERT_TRUE(writeDescriptorFile(dir.file("SUPPORT.TXT"), {{"Poles", "poles.pth"}}));
    const auto lists = readTypeLists(dir.path());
    EXPECT_EQ(lists[PagePath], entries);
    EXPECT_EQ(lists[PageSupports], (Entries{{"Poles", "poles.pth"}}));
    EXPECT_TRUE(lists[PageQueue].empty() && lists[PageStringTable].empty());
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
        EXPECT_EQ(std::tuple(obj.m_supportType, obj.m_pathFlags),
                  std::tuple(ws.source.m_supportType, ws.source.m_pathFlags));
        EXPECT_EQ(std::tuple(obj.m_head.flags, obj.m_head.encoding, obj.m_head.checksum),
                  std::tuple(0x09F55405u, 1, 0u));
        EXPECT_EQ(objectStrings(obj), objectStrings(test::buildObject({})));  // twelve blank texts
        for (unsigned i = 0; i < obj.m_spriteCount; ++i) {
            const auto a = test::pixelsOf(obj, i);
            if (i == PathIconSprite || i == QueueIconSprite) {
                EXPECT_EQ(obj.m_sprites[i].word1(), std::uint32_t(34 << 16 | 45));
                EXPECT_EQ(obj.m_sprites[i].word2(), 0x00010001u);
                EXPECT_EQ(obj.m_sprites[i].flags, kSpriteRaw);
                EXPECT_EQ(std::count(a.begin(), a.end(), 0), 1530);
            } else {
                EXPECT_EQ(obj.m_sprites[i].word1(), ws.source.m_sprites[i].word1()) << i;
                EXPECT_EQ(a, test::pixelsOf(ws.source, i)) << i;
            }
        }
    }
}

TEST(NewPath, MissingTypesEmptyListsAndTheRandomChoice) {
    Workspace ws;
    // A listed type file that cannot be read: refused by its name, the object left as it was.
    auto gone = ws.lists;
    gone[PageQueueRailings] = {{"Gone", "gone.pth"}};
    PathObject kept = test::buildObject({test::solidRawSprite(2, 2, 4)});
    EXPECT_EQ(assembleNewPath(kept, gone, ws.dir.path()).error(),
              "cannot read the Queue Railings type file 'gone.pth': No such file or directory");
    EXPECT_EQ(kept.m_spriteCount, 1u);

    // An empty list is refused by its page, and the object is left as it was.
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
    PathObject made;
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
