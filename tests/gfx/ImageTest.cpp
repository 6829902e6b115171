// Memory images of every format: layout, pixel access, packing, clear, lines,
// conversions between formats and sub-images.
#include <gtest/gtest.h>

#include "GfxTestSupport.h"
#include "gfx/MemoryImage.h"
#include "gfx/SubImage.h"

namespace trellisor {
namespace {

using test::kFormats;
using test::makeImage;
using test::PixelFormat;

class FormatTest : public ::testing::TestWithParam<PixelFormat> {};

INSTANTIATE_TEST_SUITE_P(AllFormats, FormatTest, ::testing::ValuesIn(kFormats),
                         [](const auto& param) { return std::string("Bits") + param.param.name; });

TEST(ImageLayout, PitchesAndCreation) {
    struct Case {
        int bits, pitch, pitchBytes;
    } cases[] = {{8, 16, 16}, {16, 16, 32}, {24, 14, 42}, {32, 14, 56}};
    for (const Case& c : cases) {
        auto image = createMemoryImage(13, 5, c.bits);
        ASSERT_TRUE(image && image->isValid()) << c.bits;
        EXPECT_EQ(image->pitch(), c.pitch) << c.bits;
        EXPECT_EQ(image->pitchBytes(), c.pitchBytes) << c.bits;
        EXPECT_EQ(image->storageKind(), 1);
        EXPECT_EQ(image->sizeInBytes(), 13 * 5 * image->bytesPerPixel());
        EXPECT_EQ(image->bitmapInfo(), nullptr);
    }
    EXPECT_EQ(createMemoryImage(4, 4, 15), nullptr);
    EXPECT_EQ(createMemoryImage(4, 4, 0), nullptr);
    EXPECT_EQ(createMemoryImage(4, 4, 16)->layout16(), 1);
    sixteenBitLayout = 2;
    EXPECT_EQ(createMemoryImage(4, 4, 16)->layout16(), 2);
    sixteenBitLayout = 3;
    EXPECT_EQ(createMemoryImage(4, 4, 16), nullptr);
    sixteenBitLayout = 1;
    // Empty and absurd sizes give invalid images that allocate nothing and refuse every operation.
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {1 << 30, 1 << 30}, {2147483647, 1}}) {
        auto bad = createMemoryImage(w, h, 32);
        ASSERT_TRUE(bad);
        EXPECT_FALSE(bad->isValid()) << w << "x" << h;
        bad->putPixel(0, 0, 5);
        EXPECT_EQ(bad->getPixel(0, 0), 0u);
        bad->clear(1);
        bad->fillRectangle(0, 0, 3, 3, 1);
    }
}

TEST_P(FormatTest, PixelAccessStaysInside) {
    const PixelFormat& f = GetParam();
    auto image = makeImage(f, 5, 3);
    image->clear(0);
    image->putPixel(-1, 0, 9);
    image->putPixel(5, 0, 9);
    image->putPixel(0, -1, 9);
    image->putPixel(0, 3, 9);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image->getPixel(x, y), 0u);
    EXPECT_EQ(image->getPixel(0, 3), 0u);
    EXPECT_EQ(image->getPixel(-1, 0), 0u);
    test::fillPattern(*image, f);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image->getPixel(x, y), test::patternValue(f, x, y));
    // Memory order of one pixel: little-endian words, 24-bit blue-green-red.
    image->putPixel(1, 1, 0x00A1B2C3u & f.mask);
    const std::uint8_t* p = image->lock(1) + image->pitchBytes() + image->bytesPerPixel();
    const std::uint32_t v = 0x00A1B2C3u & f.mask;
    for (int i = 0; i < image->bytesPerPixel(); ++i) EXPECT_EQ(p[i], std::uint8_t(v >> (8 * i)));
    image->unlock();
}

TEST(ImagePacking, RoundTripsAndFormulas) {
    auto i555 = createMemoryImage(1, 1, 16);
    sixteenBitLayout = 2;
    auto i565 = createMemoryImage(1, 1, 16);
    sixteenBitLayout = 1;
    int r = 0, g = 0, b = 0;
    for (std::uint32_t v = 0; v < 0x8000; ++v) {
        i555->unpackColor(v, r, g, b);
        ASSERT_EQ(i555->packColor(r, g, b), v);
    }
    for (std::uint32_t v = 0; v < 0x10000; ++v) {
        i565->unpackColor(v, r, g, b);
        ASSERT_EQ(i565->packColor(r, g, b), v);
    }
    EXPECT_EQ(i555->packColor(255, 128, 64), 0x7E08u);
    EXPECT_EQ(i565->packColor(255, 128, 64), (31u << 11) | (32u << 5) | 8u);
    i565->unpackColor(0xFFFF, r, g, b);
    EXPECT_EQ(r, 248);
    EXPECT_EQ(g, 252);
    EXPECT_EQ(b, 248);
    auto i24 = createMemoryImage(1, 1, 24);
    auto i32 = createMemoryImage(1, 1, 32);
    EXPECT_EQ(i24->packColor(0x12, 0x34, 0x56), 0x123456u);
    EXPECT_EQ(i32->packColor(0x112, 0x134, 0x156), 0x123456u);  // channels masked to 8 bits
    i32->unpackColor(0xFF123456u, r, g, b);
    EXPECT_EQ(r, 0x12);
    EXPECT_EQ(g, 0x34);
    EXPECT_EQ(b, 0x56);
    // 8-bit: without a palette, packing gives 0 and unpacking leaves the outputs alone.
    auto i8 = createMemoryImage(1, 1, 8);
    EXPECT_EQ(i8->packColor(200, 10, 10), 0u);
    r = g = b = 77;
    i8->unpackColor(3, r, g, b);
    EXPECT_EQ(r + g + b, 3 * 77);
    auto* palette = new Palette();
    palette->entries[3] = {200, 10, 10, 0};
    i8->setPalette(palette);
    EXPECT_EQ(i8->packColor(199, 11, 10), 3u);
    i8->unpackColor(3, r, g, b);
    EXPECT_EQ(r, 200);
    EXPECT_EQ(g, 10);
}

TEST_P(FormatTest, ClearLinesAndRectangles) {
    const PixelFormat& f = GetParam();
    auto image = makeImage(f, 7, 6);
    const std::uint32_t c = 0x00654321u & f.mask, z = 0x0000000Fu & f.mask;
    image->clear(z);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(image->getPixel(x, y), z);
    auto count = [&](std::uint32_t v) {
        int n = 0;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x) n += image->getPixel(x, y) == v;
        return n;
    };
    image->fillRectangle(0, 0, 0, 0, c);  // right or bottom below 1 draws nothing
    EXPECT_EQ(count(c), 0);
    image->fillRectangle(0, 0, 1, 1, c);
    EXPECT_EQ(count(c), 4);
    image->clear(z);
    image->fillRectangle(-5, 4, 100, 100, c);  // clipped to the bottom two rows
    EXPECT_EQ(count(c), 14);
    EXPECT_EQ(image->getPixel(6, 5), c);
    image->clear(z);
    image->drawHorizontalLine(9, -3, 2, c);  // ends swapped and clipped
    EXPECT_EQ(count(c), 7);
    image->drawHorizontalLine(0, 6, 6, c);  // below the image
    image->drawHorizontalLine(7, 9, 1, c);  // right of it
    EXPECT_EQ(count(c), 7);
    image->clear(z);
    image->drawVerticalLine(3, 4, 1, c);
    EXPECT_EQ(count(c), 4);
    EXPECT_EQ(image->getPixel(3, 1), c);
    EXPECT_EQ(image->getPixel(3, 4), c);
    image->clear(z);
    image->drawRectangle(1, 1, 4, 3, c);  // outline of 4 x 3
    EXPECT_EQ(count(c), 10);
    EXPECT_EQ(image->getPixel(2, 2), z);
    image->drawLine(0, 0, 6, 5, c);  // no class draws general lines
    EXPECT_EQ(count(c), 10);
}

TEST(ImageConversion, EveryPairOfFormats) {
    // Colours every format holds exactly: multiples of 8 (4 for 5-6-5 green) and in the palette.
    const int colours[][3] = {{248, 0, 0},    {0, 248, 0}, {0, 0, 248},
                              {64, 128, 192}, {8, 16, 24}, {200, 200, 200}};
    auto makePalette = [&] {
        auto* p = new Palette();
        for (int i = 0; i < 6; ++i)
            p->entries[10 + i] = {std::uint8_t(colours[i][0]), std::uint8_t(colours[i][1]),
                                  std::uint8_t(colours[i][2]), 0};
        return p;
    };
    for (const PixelFormat& from : kFormats) {
        for (const PixelFormat& to : kFormats) {
            auto src = makeImage(from, 3, 2);
            auto dst = makeImage(to, 4, 3);
            if (from.bits == 8) src->setPalette(makePalette());
            if (to.bits == 8) dst->setPalette(makePalette());
            for (int i = 0; i < 6; ++i)
                src->putPixel(i % 3, i / 3, src->packColor(colours[i][0], colours[i][1], colours[i][2]));
            dst->clear(0);
            src->convertTo(dst.get(), 1, 1);  // the last column and row fall outside and are dropped
            for (int i = 0; i < 6; ++i) {
                int r = -1, g = -1, b = -1;
                dst->unpackColor(dst->getPixel(1 + i % 3, 1 + i / 3), r, g, b);
                EXPECT_EQ(r, colours[i][0]) << from.name << " -> " << to.name << " pixel " << i;
                EXPECT_EQ(g, colours[i][1]) << from.name << " -> " << to.name << " pixel " << i;
                EXPECT_EQ(b, colours[i][2]) << from.name << " -> " << to.name << " pixel " << i;
            }
            EXPECT_EQ(dst->getPixel(0, 0), 0u);
        }
    }
}

TEST(ImageConversion, SkipZeroLeavesDestination) {
    auto src = createMemoryImage(2, 1, 32);
    auto dst = createMemoryImage(2, 1, 24);
    src->putPixel(0, 0, 0);
    src->putPixel(1, 0, 0x102030);
    dst->clear(0xABCDEF);
    src->convertToSkipZero(dst.get(), 0, 0);
    EXPECT_EQ(dst->getPixel(0, 0), 0xABCDEFu);
    EXPECT_EQ(dst->getPixel(1, 0), 0x102030u);
}

TEST(SubImage, ViewsTheParentsRectangle) {
    auto parent = createMemoryImage(10, 8, 8);
    auto* palette = new Palette();
    parent->setPalette(palette);
    test::fillPattern(*parent, kFormats[0]);
    {
        SubImage view(parent.get(), 2, 3, 6, 5);  // right exclusive, bottom inclusive
        ASSERT_TRUE(view.isValid());
        EXPECT_EQ(view.width(), 4);
        EXPECT_EQ(view.height(), 3);
        EXPECT_EQ(view.palette(), palette);
        EXPECT_EQ(palette->referenceCount, 1);  // borrowed, not counted
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(view.getPixel(x, y), parent->getPixel(2 + x, 3 + y));
        view.putPixel(0, 0, 0);
        EXPECT_EQ(parent->getPixel(2, 3), 0u);
        SubImage outside(parent.get(), 8, 0, 12, 2);
        EXPECT_FALSE(outside.isValid());
    }
    EXPECT_EQ(palette->referenceCount, 1);  // the view's end leaves the parent's palette alone
}

}  // namespace
}  // namespace trellisor
