// Icon rebuilding: which sprites land where, in which order, the queue overlay,
// and icons the rebuild must leave alone.
#include <gtest/gtest.h>

#include "preview/GamePalette.h"
#include "preview/PreviewIcons.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using test::buildObject;
using test::SpriteSpec;

// Every sprite a single row-coded pixel of its own colour at its anchor, icons raw 45 x 34.
std::uint8_t colourOf(int i) { return std::uint8_t(10 + i % 200); }

std::vector<SpriteSpec> dotSprites(int count = 168) {
    std::vector<SpriteSpec> sprites;
    for (int i = 0; i < count; ++i) {
        if (i == int(PathIconSprite) || i == int(QueueIconSprite))
            sprites.push_back(test::solidRawSprite(kIconWidth, kIconHeight, 0, 1, 1));
        else
            sprites.push_back(test::solidRowCodedSprite(1, 1, colourOf(i)));
    }
    return sprites;
}

std::vector<std::uint8_t> iconOf(const PathObject& obj, unsigned icon) {
    auto [start, end] = obj.spriteSpan(icon);
    return std::vector<std::uint8_t>(obj.m_data.get() + start, obj.m_data.get() + end);
}

std::uint8_t at(const std::vector<std::uint8_t>& icon, int x, int y) {
    return icon[std::size_t(y) * kIconWidth + x];
}

// The icon's non-zero pixels as (x, y, index).
std::vector<std::array<int, 3>> marks(const std::vector<std::uint8_t>& icon) {
    std::vector<std::array<int, 3>> out;
    for (int y = 0; y < kIconHeight; ++y)
        for (int x = 0; x < kIconWidth; ++x)
            if (at(icon, x, y)) out.push_back({x, y, at(icon, x, y)});
    return out;
}

TEST(PreviewIcons, PathIconFollowsSupportSetAndDrawingFlag) {
    auto obj = buildObject(dotSprites());
    composePreviewIcons(obj);
    // 112 at 4,26; 158 at 4,10; 76 at 10,12 and 30,26; 5 at 36,-6 falls outside.
    EXPECT_EQ(
        marks(iconOf(obj, PathIconSprite)),
        (std::vector<std::array<int, 3>>{
            {4, 10, colourOf(158)}, {10, 12, colourOf(76)}, {4, 26, colourOf(112)}, {30, 26, colourOf(76)}}));

    auto over = buildObject(dotSprites(), test::twelveStrings(), 1, 2);
    composePreviewIcons(over);
    // Second support set: 110 at 4,10, overdrawn by path sprite 5 with the flag set.
    EXPECT_EQ(marks(iconOf(over, PathIconSprite)),
              (std::vector<std::array<int, 3>>{
                  {4, 10, colourOf(5)}, {10, 12, colourOf(76)}, {30, 26, colourOf(76)}}));
    auto noFlag = buildObject(dotSprites(), test::twelveStrings(), 1, 0);
    composePreviewIcons(noFlag);
    EXPECT_EQ(at(iconOf(noFlag, PathIconSprite), 4, 10), colourOf(110));
    // The drawing flag does not reach the queue icon.
    EXPECT_EQ(iconOf(over, QueueIconSprite), iconOf(noFlag, QueueIconSprite));
}

TEST(PreviewIcons, QueueIconLaysTheOverlayBetweenItsSprites) {
    auto sprites = dotSprites();
    // 56 shifted so its second placement (36,-6) lands on (39,0), where the overlay is 0;
    // 88 shifted so its placement at (30,26) lands on (30,6), where the overlay has a colour.
    sprites[56] = test::solidRowCodedSprite(1, 1, colourOf(56), 3, 6);
    sprites[88] = test::solidRowCodedSprite(1, 1, colourOf(88), 0, -20);
    // 112 lifted onto 158's spot: the support drawn second must win.
    sprites[112] = test::solidRowCodedSprite(1, 1, colourOf(112), 0, -16);
    auto obj = buildObject(sprites);
    composePreviewIcons(obj);
    auto icon = iconOf(obj, QueueIconSprite);

    ASSERT_EQ(queueIconOverlay[6 * 45 + 30], 110);
    ASSERT_EQ(queueIconOverlay[0 * 45 + 39], 0);
    EXPECT_EQ(at(icon, 30, 6), colourOf(88)) << "88 at 30,26 is drawn after the overlay";
    EXPECT_EQ(at(icon, 39, 0), colourOf(56)) << "an overlay entry 0 keeps the pixel";
    EXPECT_EQ(at(icon, 7, 16), colourOf(56));
    EXPECT_EQ(at(icon, 4, 26), 0);
    EXPECT_EQ(at(icon, 4, 10), colourOf(158));
    for (int y = 0; y < kIconHeight; ++y)
        for (int x = 0; x < kIconWidth; ++x) {
            if (x == 30 && y == 6) continue;
            std::uint8_t o = queueIconOverlay[std::size_t(y) * 45 + x];
            if (o) {
                EXPECT_EQ(at(icon, x, y), o) << x << "," << y;
            }
        }
    // The overlay's documented rows: row 0 starts at column 35, rows 22.. are empty.
    EXPECT_EQ(queueIconOverlay[35], 106);
    EXPECT_EQ(queueIconOverlay[44], 113);
    EXPECT_EQ(queueIconOverlay[21 * 45 + 25], 106);
    for (int i = 22 * 45; i < 1530; ++i) EXPECT_EQ(queueIconOverlay[i], 0);

    // Rebuilding is idempotent: the icons come from the other sprites only.
    auto first = iconOf(obj, QueueIconSprite);
    composePreviewIcons(obj);
    EXPECT_EQ(iconOf(obj, QueueIconSprite), first);
}

TEST(PreviewIcons, LeavesIconsItCannotRebuildAlone) {
    // Fewer than 73 sprites: no rebuild at all.
    auto small = buildObject(dotSprites(73));
    small.m_sprites.pop_back(), small.m_spriteCount = 72;
    auto before = iconOf(small, PathIconSprite);
    composePreviewIcons(small);
    EXPECT_EQ(iconOf(small, PathIconSprite), before);

    // A row-coded icon, and an icon whose data are shorter than width x height.
    auto sprites = dotSprites(74);
    sprites[PathIconSprite] = test::solidRowCodedSprite(kIconWidth, kIconHeight, 77);
    sprites[QueueIconSprite] = test::solidRawSprite(kIconWidth, kIconHeight, 78, 1, 1);
    sprites[QueueIconSprite].pixels.resize(100);
    auto odd = buildObject(sprites);
    auto pathBefore = iconOf(odd, PathIconSprite), queueBefore = iconOf(odd, QueueIconSprite);
    composePreviewIcons(odd);
    EXPECT_EQ(iconOf(odd, PathIconSprite), pathBefore);
    EXPECT_EQ(iconOf(odd, QueueIconSprite), queueBefore);

    // Icons of another size are rebuilt at their size; the overlay keeps its own geometry.
    sprites = dotSprites(168);
    sprites[QueueIconSprite] = test::solidRawSprite(60, 8, 0, 1, 1);
    auto wide = buildObject(sprites);
    composePreviewIcons(wide);
    auto icon = iconOf(wide, QueueIconSprite);
    ASSERT_EQ(icon.size(), 480u);
    EXPECT_EQ(icon[6 * 60 + 30], 110);
    EXPECT_EQ(icon[0 * 60 + 44], 113);
    EXPECT_EQ(icon[0 * 60 + 50], 0);
}

}  // namespace
}  // namespace trellisor
