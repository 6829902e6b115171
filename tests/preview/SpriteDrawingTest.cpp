// Sprite walks into index buffers: the two formats, transparency, clipping without
// wrapping, sprites whose bytes lie, and icons the rebuild must leave alone. (Drawing
// onto screens of each depth, the scenes and the icons' content: the frame pictures.)
#include <gtest/gtest.h>

#include "preview/GamePalette.h"
#include "preview/PreviewIcons.h"
#include "preview/SpriteDrawing.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using test::buildObject;
using test::rawSprite;
using Bytes = std::vector<std::uint8_t>;

// The 8 x 6 buffer after drawing sprite index of obj at x, y over 0xEE.
Bytes drawn(const PathObject& obj, unsigned index, int x, int y, int w = 8, int h = 6) {
    Bytes buffer(std::size_t(w) * h, 0xEE);
    drawSpriteToBuffer(obj, buffer.data(), w, h, index, x, y);
    return buffer;
}

Bytes picture(std::initializer_list<std::pair<int, std::uint8_t>> at, int w = 8, int h = 6) {
    Bytes buffer(std::size_t(w) * h, 0xEE);
    for (auto [i, v] : at) buffer[std::size_t(i)] = v;
    return buffer;
}

TEST(SpriteDrawing, RawZeroIsTransparentRowCodedZeroIsDrawn) {
    const auto obj =
        buildObject({rawSprite(3, 2, {11, 0, 12, 13, 14, 0}, 1, 2),
                     test::rowCodedSprite(
                         6, {{test::Run{0, {20, 0}}, test::Run{4, {21}}}, {test::Run{1, {22}}}}, -1, 0)});
    EXPECT_EQ(drawn(obj, 0, 2, 1), picture({{27, 11}, {29, 12}, {35, 13}, {36, 14}}));  // top-left at (3, 3)
    EXPECT_EQ(drawn(obj, 1, 1, 0), picture({{0, 20}, {1, 0}, {4, 21}, {9, 22}}));  // gaps between runs stay
    // Clipped at every edge, never wrapped into another row.
    const auto block = buildObject({test::solidRawSprite(4, 4, 9, -2, -2)});
    EXPECT_EQ(drawn(block, 0, 0, 0), picture({{0, 9}, {1, 9}, {8, 9}, {9, 9}}));
    EXPECT_EQ(drawn(block, 0, 8, 6), picture({{38, 9}, {39, 9}, {46, 9}, {47, 9}}));
    const Bytes untouched = picture({});
    EXPECT_EQ(drawn(block, 0, 12, 3), untouched);
    EXPECT_EQ(drawn(block, 0, -2, 3), untouched);
    EXPECT_EQ(drawn(block, 1, 3, 3), untouched);  // no such sprite
    EXPECT_EQ(drawn(PathObject{}, 0, 3, 3), untouched);
    drawSpriteToBuffer(block, nullptr, 8, 6, 0, 0, 0);
    auto image = createMemoryImage(8, 6, 32);
    image->clear(5);
    drawSprite(block, nullptr, 0, 3, 3);
    drawSprite(block, image.get(), 1, 3, 3);
    drawSprite(PathObject{}, image.get(), 0, 3, 3);
    EXPECT_EQ(image->getPixel(3, 3), 5u);
    drawSprite(block, image.get(), 0, 8, 6);  // clipped at the far edges on a screen too
    EXPECT_EQ(image->getPixel(7, 5),
              image->packColor(previewColour(9).red, previewColour(9).green, previewColour(9).blue));
    EXPECT_EQ(image->getPixel(0, 5), 5u);
}

TEST(SpriteDrawing, MalformedSpritesStayInsideTheirBytes) {
    // Row offsets past the end or negative, a run longer than its bytes, raw bytes short of
    // width x height, an unknown format, a huge size: each is drawn as far as its bytes go.
    test::SpriteSpec badOffsets =
        test::rowCodedSprite(4, {{test::Run{0, {30}}}, {test::Run{0, {31}}}, {test::Run{0, {32}}}});
    storeLe16(&badOffsets.pixels[2], 0x7000);
    storeLe16(&badOffsets.pixels[4], 0xFFF0);
    test::SpriteSpec longRun = test::rowCodedSprite(4, {{test::Run{1, {40, 41}}}});
    longRun.pixels[2] = 0x80 | 100;
    test::SpriteSpec shortRaw = rawSprite(4, 4, {50, 51, 52, 53, 54});
    shortRaw.pixels.resize(5);
    test::SpriteSpec other = test::solidRawSprite(2, 2, 60);
    other.header.flags = 2;
    test::SpriteSpec huge = test::solidRawSprite(2, 2, 70);
    huge.header.width = huge.header.height = 32767;
    test::SpriteSpec flat = test::solidRawSprite(2, 2, 80);
    flat.header.height = 0;
    const auto obj = buildObject({badOffsets, longRun, shortRaw, other, huge, flat});
    EXPECT_EQ(drawn(obj, 0, 0, 0), picture({{0, 30}}));
    EXPECT_EQ(drawn(obj, 1, 0, 0), picture({{1, 40}, {2, 41}}));
    EXPECT_EQ(drawn(obj, 2, 0, 0), picture({{0, 50}, {1, 51}, {2, 52}, {3, 53}, {8, 54}}));
    EXPECT_EQ(drawn(obj, 3, 0, 0), picture({}));
    EXPECT_EQ(drawn(obj, 4, 0, 0), picture({{0, 70}, {1, 70}, {2, 70}, {3, 70}}));  // its 4 bytes, in row 0
    EXPECT_EQ(drawn(obj, 5, 0, 0), picture({}));
}

TEST(PreviewIcons, IconsTheRebuildCannotMakeAreLeftAlone) {
    auto sprites = test::standardSprites(168);
    // Fewer than 73 sprites: no rebuild at all.
    sprites[PathIconSprite] = test::solidRawSprite(kIconWidth, kIconHeight, 77, 1, 1);
    auto few = buildObject(std::vector(sprites.begin(), sprites.begin() + 72));
    composePreviewIcons(few);
    EXPECT_EQ(test::pixelsOf(few, PathIconSprite), Bytes(1530, 77));
    auto enough = buildObject(std::vector(sprites.begin(), sprites.begin() + 73));
    composePreviewIcons(enough);
    EXPECT_NE(test::pixelsOf(enough, PathIconSprite), Bytes(1530, 77));
    // A row-coded icon, and one whose data are shorter than width x height.
    sprites[PathIconSprite] = test::solidRowCodedSprite(kIconWidth, kIconHeight, 77);
    sprites[QueueIconSprite] = test::solidRawSprite(kIconWidth, kIconHeight, 78, 1, 1);
    sprites[QueueIconSprite].pixels.resize(100);
    auto odd = buildObject(sprites);
    const Bytes pathBefore = test::pixelsOf(odd, PathIconSprite);
    composePreviewIcons(odd);
    EXPECT_EQ(test::pixelsOf(odd, PathIconSprite), pathBefore);
    EXPECT_EQ(test::pixelsOf(odd, QueueIconSprite), Bytes(100, 78));
    // Another size is rebuilt at its size; the queue overlay keeps its own 45 x 34 geometry.
    sprites[QueueIconSprite] = test::solidRawSprite(60, 8, 0, 1, 1);
    auto wide = buildObject(sprites);
    composePreviewIcons(wide);
    const Bytes icon = test::pixelsOf(wide, QueueIconSprite);
    ASSERT_EQ(icon.size(), 480u);
    for (int y = 0; y < 8; ++y)  // the sprites drawn with it all fall outside 8 rows
        for (int x = 0; x < 60; ++x)
            EXPECT_EQ(icon[std::size_t(y) * 60 + x], x < 45 ? queueIconOverlay[std::size_t(y) * 45 + x] : 0)
                << x << "," << y;
    PathObject none;
    composePreviewIcons(none);
    EXPECT_FALSE(none.isLoaded());
}

}  // namespace
}  // namespace trellisor
