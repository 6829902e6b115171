// Drawing sprites into index buffers and onto images of every depth: formats,
// transparency, clipping at the edges, and sprites whose bytes lie.
#include <gtest/gtest.h>

#include "gfx/Image.h"
#include "preview/GamePalette.h"
#include "preview/SpriteDrawing.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using test::buildObject;
using test::rawSprite;
using test::rowCodedSprite;

using test::SpriteSpec;

std::vector<std::uint8_t> buffer(int w, int h, std::uint8_t fill = 0xEE) {
    return std::vector<std::uint8_t>(std::size_t(w) * h, fill);
}

TEST(SpriteDrawing, BufferKeepsRowCodedZeroAndSkipsRawZero) {
    // Raw 3 x 2 with a transparent middle; row-coded with a gap between two runs and an index 0.
    auto obj = buildObject(
        {rawSprite(3, 2, {11, 0, 12, 13, 14, 0}, 1, 2),
         rowCodedSprite(6, {{test::Run{0, {20, 0}}, test::Run{4, {21}}}, {test::Run{1, {22}}}}, -1, 0)});
    auto buf = buffer(8, 6);
    drawSpriteToBuffer(obj, buf.data(), 8, 6, 0, 2, 1);  // top-left at (3, 3)
    EXPECT_EQ(buf[3 * 8 + 3], 11);
    EXPECT_EQ(buf[3 * 8 + 4], 0xEE);
    EXPECT_EQ(buf[3 * 8 + 5], 12);
    EXPECT_EQ(buf[4 * 8 + 3], 13);
    EXPECT_EQ(buf[4 * 8 + 4], 14);
    EXPECT_EQ(buf[4 * 8 + 5], 0xEE);

    buf = buffer(8, 6);
    drawSpriteToBuffer(obj, buf.data(), 8, 6, 1, 1, 0);  // top-left at (0, 0)
    EXPECT_EQ(buf[0], 20);
    EXPECT_EQ(buf[1], 0) << "index 0 inside a run is stored";
    EXPECT_EQ(buf[2], 0xEE) << "columns between runs are transparent";
    EXPECT_EQ(buf[4], 21);
    EXPECT_EQ(buf[8 + 1], 22);
    EXPECT_EQ(std::count(buf.begin(), buf.end(), 0xEE), 48 - 4);

    // Guards: out-of-range index, no buffer, no object.
    auto untouched = buffer(8, 6);
    buf = untouched;
    drawSpriteToBuffer(obj, buf.data(), 8, 6, 2, 0, 0);
    drawSpriteToBuffer(obj, nullptr, 8, 6, 0, 0, 0);
    drawSpriteToBuffer(PathObject{}, buf.data(), 8, 6, 0, 0, 0);
    EXPECT_EQ(buf, untouched);
}

TEST(SpriteDrawing, BufferClipsWithoutWrapping) {
    auto obj = buildObject({test::solidRawSprite(4, 4, 9, -2, -2)});
    auto buf = buffer(5, 5, 0);
    drawSpriteToBuffer(obj, buf.data(), 5, 5, 0, 0, 0);  // covers (-2..1, -2..1)
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(buf[y * 5 + x], (x <= 1 && y <= 1) ? 9 : 0) << x << "," << y;
    buf = buffer(5, 5, 0);
    drawSpriteToBuffer(obj, buf.data(), 5, 5, 0, 5, 5);  // covers (3..6, 3..6)
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(buf[y * 5 + x], (x >= 3 && y >= 3) ? 9 : 0) << x << "," << y;
}

TEST(SpriteDrawing, MalformedSpritesStayInsideTheirBytes) {
    // Row offsets past the end or negative, a run longer than its bytes, a raw sprite
    // shorter than width x height, an unknown format, a huge size: each is drawn
    // as far as its bytes go (AddressSanitizer watches the reads).
    SpriteSpec badOffsets =
        rowCodedSprite(4, {{test::Run{0, {30}}}, {test::Run{0, {31}}}, {test::Run{0, {32}}}});
    storeLe16(&badOffsets.pixels[2], 0x7000);
    storeLe16(&badOffsets.pixels[4], 0xFFF0);
    SpriteSpec longRun = rowCodedSprite(4, {{test::Run{1, {40, 41}}}});
    longRun.pixels[2] = 0x80 | 100;
    SpriteSpec shortRaw = rawSprite(4, 4, {50, 51, 52, 53, 54});
    shortRaw.pixels.resize(5);
    SpriteSpec other = test::solidRawSprite(2, 2, 60);
    other.header.flags = 2;
    SpriteSpec huge = test::solidRawSprite(2, 2, 70);
    huge.header.width = 32767, huge.header.height = 32767;
    auto obj = buildObject({badOffsets, longRun, shortRaw, other, huge});

    auto buf = buffer(8, 8, 0);
    drawSpriteToBuffer(obj, buf.data(), 8, 8, 0, 0, 0);
    EXPECT_EQ(buf[0], 30);
    EXPECT_EQ(std::count(buf.begin(), buf.end(), 0), 63);

    buf = buffer(8, 8, 0);
    drawSpriteToBuffer(obj, buf.data(), 8, 8, 1, 0, 0);
    EXPECT_EQ(buf[1], 40);
    EXPECT_EQ(buf[2], 41);

    buf = buffer(8, 8, 0);
    drawSpriteToBuffer(obj, buf.data(), 8, 8, 2, 0, 0);
    EXPECT_EQ((std::vector<std::uint8_t>(buf.begin(), buf.begin() + 4)),
              (std::vector<std::uint8_t>{50, 51, 52, 53}));
    EXPECT_EQ(buf[8], 54);
    EXPECT_EQ(buf[9], 0);

    buf = buffer(8, 8, 0);
    drawSpriteToBuffer(obj, buf.data(), 8, 8, 3, 0, 0);
    EXPECT_EQ(std::count(buf.begin(), buf.end(), 0), 64);
    drawSpriteToBuffer(obj, buf.data(), 8, 8, 4, 0, 0);
    EXPECT_EQ(buf[0], 70);
    EXPECT_EQ(buf[1], 70);
    EXPECT_EQ(buf[8], 0) << "the second row would start 32767 bytes on";
}

TEST(SpriteDrawing, GridCellAnchors) {
    EXPECT_EQ(cellX(0, 2), 35);
    EXPECT_EQ(cellX(0, 1), 67);
    EXPECT_EQ(cellX(4, 13), 4 * 64 + 67);
    EXPECT_EQ(cellX(3, 2), 227);
    EXPECT_EQ(cellY(1, 0), 19);
    EXPECT_EQ(cellY(14, 0), 227);
    EXPECT_EQ(cellY(3, 1), 35);
}

class SpriteDrawingDepth : public ::testing::TestWithParam<int> {};

TEST_P(SpriteDrawingDepth, PacksEachPixelThroughTheTarget) {
    const int depth = GetParam();
    auto image = createMemoryImage(12, 6, depth);
    ASSERT_TRUE(image && image->isValid());
    if (depth == 8) {
        auto* palette = new Palette;
        for (int i = 0; i < kPreviewPaletteSize; ++i)
            palette->entries[i] = {previewPalette[i].red, previewPalette[i].green, previewPalette[i].blue, 0};
        image->setPalette(palette);
    }
    const std::uint32_t background = image->packColor(255, 255, 255);
    image->clear(background);

    auto obj =
        buildObject({rawSprite(2, 1, {0, 100}), rowCodedSprite(3, {{test::Run{0, {0, 100, 255}}}}, -2, -1)});
    drawSprite(obj, image.get(), 0, 0, 0);
    drawSprite(obj, image.get(), 1, 2, 3);  // row-coded at (0, 2)
    // Half outside on the left and on the right: clipped, not wrapped to another row.
    drawSprite(obj, image.get(), 1, 0, 5);
    drawSprite(obj, image.get(), 1, 12, 5);

    auto rgb = [&](int x, int y) {
        int r = -1, g = -1, b = -1;
        image->unpackColor(image->getPixel(x, y), r, g, b);
        return std::array<int, 3>{r, g, b};
    };
    auto expected = [&](std::uint8_t index) {
        RgbQuad q = previewColour(index);
        int r = -1, g = -1, b = -1;
        image->unpackColor(image->packColor(q.red, q.green, q.blue), r, g, b);
        return std::array<int, 3>{r, g, b};
    };
    int wr = 0, wg = 0, wb = 0;
    image->unpackColor(background, wr, wg, wb);
    const std::array<int, 3> bg{wr, wg, wb};

    EXPECT_EQ(rgb(0, 0), bg) << "raw index 0 is transparent";
    EXPECT_EQ(rgb(1, 0), expected(100));
    EXPECT_EQ(rgb(0, 2), expected(0)) << "row-coded index 0 is drawn black";
    EXPECT_EQ(rgb(0, 2), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(rgb(1, 2), expected(100));
    EXPECT_EQ(rgb(2, 2), (std::array<int, 3>{0, 0, 0})) << "index 255 is drawn black";
    EXPECT_NE(expected(100), bg);
    // Left clip: the run's first two pixels fall at x -2, -1; only 255 at x 0 lands.
    EXPECT_EQ(rgb(0, 4), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(rgb(1, 4), bg);
    // Right clip: x 10, 11 land, 12 is dropped and nothing appears at the next row's start.
    EXPECT_EQ(rgb(10, 4), expected(0));
    EXPECT_EQ(rgb(11, 4), expected(100));
    EXPECT_EQ(rgb(0, 5), bg);

    // Guards: index out of range, no object, null target.
    drawSprite(obj, image.get(), 2, 5, 5);
    drawSprite(PathObject{}, image.get(), 0, 5, 5);
    drawSprite(obj, nullptr, 0, 5, 5);
    EXPECT_EQ(rgb(5, 5), bg);
}

INSTANTIATE_TEST_SUITE_P(Depths, SpriteDrawingDepth, ::testing::Values(8, 16, 24, 32));

}  // namespace
}  // namespace trellisor
