// Descriptor lists (count and missing-line rules) and New (page order, icons, sizes, refusals).
#include <gtest/gtest.h>

#include <cstdlib>

#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DescriptorParse, CountAndMissingLineRules) {
    EXPECT_EQ(parseDescriptorText("2\nBrick\nbrick.pth\nTar\ntar.pth\n"),
              (std::vector<TypeEntry>{{"Brick", "brick.pth"}, {"Tar", "tar.pth"}}));
    EXPECT_TRUE(parseDescriptorText("0\nA\nb\n").empty());
    EXPECT_TRUE(parseDescriptorText("\nA\nb\n").empty());
    EXPECT_TRUE(parseDescriptorText("types\nA\nb\n").empty());
    EXPECT_TRUE(parseDescriptorText("-3\nA\nb\n").empty());
    EXPECT_TRUE(parseDescriptorText("").empty());

    // atoi: leading blanks, a sign, and text after the digits.
    EXPECT_EQ(parseDescriptorText("  +1 types\nA\nb").size(), 1u);

    auto three = parseDescriptorText("3\na\nb\nc\nd\n");
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[1], (TypeEntry{"c", "d"}));
    EXPECT_EQ(three[2], (TypeEntry{"", ""}));

    auto half = parseDescriptorText("2\r\n Spaced \r\n file.pth\r\nOnlyName\r\n");
    ASSERT_EQ(half.size(), 2u);
    EXPECT_EQ(half[0], (TypeEntry{" Spaced ", " file.pth"}));
    EXPECT_EQ(half[1], (TypeEntry{"OnlyName", ""}));

    // An absurd count is bounded by what the text can hold (plus a few missing entries).
    auto absurd = parseDescriptorText("2000000000\nA\na.pth\n");
    EXPECT_GE(absurd.size(), 2u);
    EXPECT_LE(absurd.size(), 64u);
    EXPECT_EQ(absurd[0], (TypeEntry{"A", "a.pth"}));
    EXPECT_LE(parseDescriptorText("99999999999999999999999\n").size(), 64u);
}

TEST(DescriptorFile, WriteThenReadBack) {
    test::TempDir dir;
    std::vector<TypeEntry> entries = {{"Brick", "brick.pth"}, {"Brick", "brick.pth"}, {"", "x.pth"}};
    EXPECT_EQ(formatDescriptorText(entries), "3\nBrick\nbrick.pth\nBrick\nbrick.pth\n\nx.pth\n");
    ASSERT_TRUE(writeDescriptorFile(dir.file("path.txt"), entries).isOk());
    EXPECT_EQ(readDescriptorFile(dir.file("path.txt")), entries);
    EXPECT_EQ(readDescriptorFile(dir.file("PATH.TXT")), entries);  // found without regard to case
    EXPECT_TRUE(readDescriptorFile(dir.file("queue.txt")).empty());
    EXPECT_TRUE(readDescriptorFile(dir.path()).empty());
}

// A working directory with one type file per page, taken from a full object with the given supports.
struct Workspace {
    test::TempDir dir;
    std::array<std::vector<TypeEntry>, 6> lists;

    explicit Workspace(int supportCount = 59) {
        const std::uint8_t supportType = supportCount == 59 ? 0 : 1;
        const std::uint8_t pathFlags = supportCount == 56 ? 1 : 0;
        PathObject source = test::buildObject(test::standardSprites(109 + supportCount),
                                              test::twelveStrings(), supportType, pathFlags);
        const char* files[5] = {"path.pth", "prail.pth", "queue.pth", "qrail.pth", "support.pth"};
        for (int page = 0; page < 5; ++page) {
            EXPECT_TRUE(writeTypeFile(source, page, dir.file(files[page])).isOk());
            lists[std::size_t(page)].push_back({std::string("T") + files[page], files[page]});
        }
    }
};

TEST(NewPath, AssemblesEveryPageAtItsIndices) {
    Workspace ws;
    PathObject source = test::buildObject(test::standardSprites(168));
    PathObject obj = test::buildObject({test::solidRawSprite(1, 1, 1)});
    std::srand(7);
    ASSERT_TRUE(assembleNewPath(obj, ws.lists, ws.dir.path()).isOk());

    ASSERT_EQ(obj.m_spriteCount, 168u);
    EXPECT_EQ(obj.m_head.flags, 0x09F55405u);
    EXPECT_EQ(obj.m_head.encoding, 1);
    EXPECT_EQ(obj.m_head.checksum, 0u);
    EXPECT_EQ(obj.m_stringTableOffset, 14u);
    EXPECT_EQ(obj.m_imageDataOffset, 59u);
    std::string text;
    ASSERT_TRUE(obj.getObjectString(0, text));
    EXPECT_EQ(text, " ");
    ASSERT_TRUE(obj.getObjectString(11, text));
    for (unsigned i = 0; i < 168; ++i) {
        auto a = obj.spritePixels(i);
        auto b = source.spritePixels(i);
        EXPECT_EQ(obj.m_sprites[i].word1(), source.m_sprites[i].word1()) << i;
        EXPECT_EQ(obj.m_sprites[i].flags, source.m_sprites[i].flags) << i;
        if (i != PathIconSprite && i != QueueIconSprite) {
            EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << i;
        } else {
            EXPECT_EQ(a.size(), 1530u);
            EXPECT_EQ(obj.m_sprites[i].xOffset, 1);
            EXPECT_EQ(obj.m_sprites[i].yOffset, 1);
        }
    }

    // Saved with the boxes' "New Path", the object reads back with twelve such texts.
    std::array<std::string, kLanguageCount> texts;
    texts.fill(kNewPathText);
    Bytes file = serializeObjectFile(obj, "NEW.DAT", texts);
    PathObject back;
    ASSERT_EQ(readObjectBytes(back, file).outcome, LoadOutcome::Loaded);
    for (const auto& t : objectStrings(back)) EXPECT_EQ(t, "New Path");
    EXPECT_EQ(back.m_spriteCount, 168u);
}

TEST(NewPath, SupportSetsMissingTypesAndEmptyLists) {
    {
        Workspace ws(37);
        PathObject obj;
        ASSERT_TRUE(assembleNewPath(obj, ws.lists, ws.dir.path()).isOk());
        EXPECT_EQ(obj.m_spriteCount, 146u);
        EXPECT_EQ(obj.m_supportType, 1);
    }
    {
        Workspace ws(56);
        PathObject obj;
        ASSERT_TRUE(assembleNewPath(obj, ws.lists, ws.dir.path()).isOk());
        EXPECT_EQ(obj.m_spriteCount, 165u);
        EXPECT_EQ(obj.m_pathFlags, 1);
    }
    Workspace ws;
    // A listed type file that cannot be read: refused by its name, the object left as it was.
    ws.lists[PageQueueRailings] = {{"Gone", "gone.pth"}};
    PathObject kept = test::buildObject({test::solidRawSprite(2, 2, 4)});
    Status s = assembleNewPath(kept, ws.lists, ws.dir.path());
    EXPECT_EQ(s.error(), "cannot read the Queue Railings type file 'gone.pth': No such file or directory");
    EXPECT_EQ(kept.m_spriteCount, 1u);

    // An empty list is refused and the object is left as it was.
    ws.lists[PageQueueRailings].clear();
    s = assembleNewPath(kept, ws.lists, ws.dir.path());
    EXPECT_FALSE(s.isOk());
    EXPECT_EQ(s.error(), "no Queue Railings type to choose from");
    EXPECT_EQ(kept.m_spriteCount, 1u);
}

TEST(NewPath, RandomChoiceFollowsTheSeed) {
    Workspace ws;
    // Two path types of different sizes: which one lands is decided by rand() alone.
    PathObject small = test::buildObject(test::standardSprites(51));
    small.replaceSprite(3, 0, 0x00010001, 0, 1, 0, nullptr);
    ASSERT_TRUE(writeTypeFile(small, PagePath, ws.dir.file("small.pth")).isOk());
    ws.lists[PagePath].push_back({"Small", "small.pth"});
    std::srand(42);
    const bool firstPick = std::rand() % 2 == 0;
    std::srand(42);
    PathObject obj;
    ASSERT_TRUE(assembleNewPath(obj, ws.lists, ws.dir.path()).isOk());
    EXPECT_EQ(obj.m_sprites[3].width == 1, !firstPick);
}

}  // namespace
}  // namespace trellisor
