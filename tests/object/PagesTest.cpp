// The page table: the fixed pages and the icons tile sprites 0..108 exactly, type
// files hold a page's whole range, names lead back to their page, and the support rule.
#include <gtest/gtest.h>

#include <vector>

#include "object/PathObject.h"

namespace trellisor {
namespace {

TEST(Pages, FixedRangesAndIconsTileTheFirst109Sprites) {
    std::vector<int> owner(109, -1);
    owner[PathIconSprite] = owner[QueueIconSprite] = kPageCount;
    for (int page = PagePath; page < PageSupports; ++page) {
        const PageInfo& info = pageInfo(page);
        EXPECT_EQ(info.typeSpriteCount, info.lastSprite - info.firstSprite + 1) << info.caption;
        for (int i = info.firstSprite; i <= info.lastSprite; ++i) {
            EXPECT_EQ(owner[std::size_t(i)], -1) << "sprite " << i;
            owner[std::size_t(i)] = page;
        }
        EXPECT_EQ(spritePageFromCliName(info.cliName), page);
    }
    for (int i = 0; i < 109; ++i) EXPECT_NE(owner[std::size_t(i)], -1) << "sprite " << i;
    EXPECT_EQ(pageInfo(PageSupports).firstSprite, 109);
    EXPECT_EQ(spritePageFromCliName("supports"), PageSupports);
    EXPECT_EQ(spritePageFromCliName("Path"), std::nullopt);
    EXPECT_EQ(spritePageFromCliName(""), std::nullopt);  // the String Table page has no name
    EXPECT_EQ(&pageInfo(-1), &pageInfo(PageStringTable));
    EXPECT_EQ(&pageInfo(kPageCount), &pageInfo(PageStringTable));
}

TEST(Pages, SupportSetSizeFollowsBitZeroOfBothFlagBytes) {
    struct Case {
        std::uint8_t supportType, pathFlags;
        int count;
    };
    for (const Case& c :
         {Case{0, 1, 59}, Case{2, 3, 59}, Case{1, 1, 56}, Case{3, 2, 37}, Case{1, 0xFE, 37}}) {
        EXPECT_EQ(typeSpriteCount(PageSupports, c.supportType, c.pathFlags), c.count)
            << int(c.supportType) << " " << int(c.pathFlags);
    }
    EXPECT_EQ(typeSpriteCount(PageStringTable, 1, 1), 0);
    EXPECT_EQ(typeSpriteCount(PageQueue, 1, 1), 20);
}

TEST(Pages, LastSupportSpriteFollowsTheCount) {
    PathObject obj;
    obj.m_spriteCount = 146;
    EXPECT_EQ(obj.pageLastSprite(PageSupports), 145);
    EXPECT_EQ(obj.pageLastSprite(PageQueue), 70);
    EXPECT_EQ(obj.pageFirstSprite(PageStringTable), 0);
    EXPECT_EQ(obj.pageLastSprite(PageStringTable), 0);
}

TEST(Pages, DrawsPathsOverSupportsIsBitOneOfThePathFlags) {
    PathObject obj;
    obj.m_pathFlags = 0xFD;
    EXPECT_FALSE(obj.drawsPathsOverSupports());
    obj.setDrawsPathsOverSupports(true);
    EXPECT_EQ(obj.m_pathFlags, 0xFF);
    EXPECT_TRUE(obj.drawsPathsOverSupports());
    obj.setDrawsPathsOverSupports(false);
    EXPECT_EQ(obj.m_pathFlags, 0xFD);
    obj.m_supportType = 0xFE;
    EXPECT_FALSE(obj.usesSecondSupportSet());
    obj.m_supportType = 0x01;
    EXPECT_TRUE(obj.usesSecondSupportSet());
}

}  // namespace
}  // namespace trellisor
