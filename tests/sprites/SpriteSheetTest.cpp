// A page's sprites on one sheet, compared with tests/data/sprites/sheet-queue.png: cells of the
// largest sprite's size, a gap as a cell without checkerboard, numbers under the cells, the icons
// last. Sheets past the size limit are refused before anything is drawn.
#include <gtest/gtest.h>

#include "sprites/SpriteSheet.h"
#include "support/Reference.h"
#include "support/SceneObject.h"

namespace trellisor {
namespace {

test::RefPicture refPicture(const Picture& p) {
    test::RefPicture ref;
    ref.width = p.width, ref.height = p.height;
    for (const Rgba& c : p.colours)
        ref.pixels.push_back(std::uint32_t(c.alpha) << 24 | std::uint32_t(c.red) << 16 |
                             std::uint32_t(c.green) << 8 | c.blue);
    return ref;
}

TEST(SpriteSheet, APagesSpritesWithTheirNumbersMatchTheirPicture) {
    auto sprites = test::sceneSprites();
    sprites[53].header.flags = 2;  // never drawn: a gap
    sprites[PathIconSprite] = test::solidRawSprite(kIconWidth, kIconHeight, 100, 1, 1);
    const PathObject obj = test::buildObject(sprites);
    const auto sheet = spriteSheet(obj, galleryCells(obj, PageQueue));
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(test::matchesReference(refPicture(sheet.value()), "sprites/sheet-queue"));
}

TEST(SpriteSheet, SheetsPastTheLimitAreRefused) {
    const PathObject obj = test::buildObject(std::vector(160, test::solidRawSprite(1, 1024, 30)));
    const auto sheet = spriteSheet(obj, galleryCells(obj, std::nullopt));
    EXPECT_EQ(sheet.error(), "a sheet of 160 sprites would be 284 x 16676 pixels, more than 16384 on a side");
}

}  // namespace
}  // namespace trellisor
