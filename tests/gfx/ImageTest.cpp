// Memory images of the five formats: layout, pixel access and byte order, clear,
// lines and rectangles, packing, conversion between formats, and sub-images.
#include <gtest/gtest.h>

#include <functional>

#include "gfx/SubImage.h"
#include "support/Pixels.h"

namespace trellisor {
namespace {

using test::Bytes;

template <class F>
class ImageFormat : public ::testing::Test {};
TYPED_TEST_SUITE(ImageFormat, test::AllFormats, test::FormatName);

TYPED_TEST(ImageFormat, PixelsStayInsideAndKeepLittleEndianOrder) {
    auto image = TypeParam::make(5, 3);
    ASSERT_TRUE(image->isValid());
    const int bpp = image->bytesPerPixel();
    EXPECT_EQ(bpp, (image->bitsPerPixel() + 7) / 8);
    // Pitch: 8-bit rows round up to 8 pixels, 16-bit to 4, the others to 2.
    EXPECT_EQ(image->pitch(), bpp == 1 ? 8 : bpp == 2 ? 8 : 6);
    EXPECT_EQ(image->pitchBytes(), image->pitch() * bpp);
    EXPECT_EQ(image->sizeInBytes(), 5 * 3 * bpp);

    image->clear(0);
    for (auto [x, y] : {std::pair{-1, 0}, {5, 0}, {0, -1}, {0, 3}}) {
        image->putPixel(x, y, 9);
        EXPECT_EQ(image->getPixel(x, y), 0u);
    }
    EXPECT_EQ(test::pixelsOf(*image), std::vector<std::uint32_t>(15, 0));
    std::vector<std::uint32_t> put;
    for (int i = 0; i < 15; ++i) {
        put.push_back(((0x9E3779B9u * std::uint32_t(i + 1)) & test::maskOf(*image)) | 1);
        image->putPixel(i % 5, i / 5, put.back());
    }
    EXPECT_EQ(test::pixelsOf(*image), put);
    const std::uint32_t v = 0xA1B2C3D4u & test::maskOf(*image);
    image->putPixel(4, 2, v);
    const Bytes bytes = test::storedBytes(*image);
    for (int i = 0; i < bpp; ++i)
        EXPECT_EQ(bytes[std::size_t(2 * image->pitchBytes() + 4 * bpp + i)], std::uint8_t(v >> (8 * i)));
}

TYPED_TEST(ImageFormat, ClearLinesAndRectangles) {
    // clear writes 8-bit rows in groups of four pixels, 16-bit rows in pairs, into the padding.
    auto padded = TypeParam::make(9, 2);
    const std::uint32_t c = 0x00654321u & test::maskOf(*padded), z = 0x0F;
    test::setStoredBytes(*padded, Bytes(std::size_t(padded->pitchBytes()) * 2, 0xEE));
    padded->clear(z);
    const int bpp = padded->bytesPerPixel(), cleared = bpp == 1 ? 12 : bpp == 2 ? 10 : 9;
    const Bytes bytes = test::storedBytes(*padded);
    for (int i = 0; i < padded->pitch(); ++i)
        EXPECT_EQ(bytes[std::size_t(padded->pitchBytes() + i * bpp)], i < cleared ? 0x0F : 0xEE) << i;
    auto image = TypeParam::make(7, 6);
    image->clear(z);
    auto count = [&](std::uint32_t value) {
        const auto p = test::pixelsOf(*image);
        return std::count(p.begin(), p.end(), value);
    };
    EXPECT_EQ(count(z), 42);
    struct Case {
        std::function<void()> draw;
        int drawn;
        std::pair<int, int> at;
    } cases[] = {
        {[&] { image->fillRectangle(0, 0, 0, 0, c); }, 0, {0, 0}},  // right or bottom below 1: nothing
        {[&] { image->fillRectangle(0, 0, 6, 0, c); }, 0, {0, 0}},
        {[&] { image->fillRectangle(0, 0, 1, 1, c); }, 4, {1, 1}},
        {[&] { image->fillRectangle(3, 1, 100, 1, c); }, 4, {6, 1}},      // not into the next row
        {[&] { image->fillRectangle(-5, 4, 100, 100, c); }, 14, {6, 5}},  // clipped to the bottom rows
        {[&] { image->fillRectangle(7, 0, 9, 5, c); }, 0, {0, 0}},
        {[&] { image->fillRectangle(0, 6, 5, 9, c); }, 0, {0, 0}},
        {[&] { image->fillRectangle(3, 2, 2, 4, c); }, 0, {0, 0}},
        {[&] { image->drawHorizontalLine(9, -3, 2, c); }, 7, {6, 2}},  // ends swapped and clipped
        {[&] { image->drawHorizontalLine(2, 4, 1, c); }, 3, {2, 1}},
        {[&] { image->drawHorizontalLine(0, 6, 6, c); }, 0, {0, 0}},
        {[&] { image->drawHorizontalLine(0, 6, -1, c); }, 0, {0, 0}},
        {[&] { image->drawHorizontalLine(7, 9, 1, c); }, 0, {0, 0}},
        {[&] { image->drawHorizontalLine(-3, -1, 1, c); }, 0, {0, 0}},
        {[&] { image->drawVerticalLine(3, 4, 1, c); }, 4, {3, 4}},
        {[&] { image->drawVerticalLine(0, -2, 0, c); }, 1, {0, 0}},
        {[&] { image->drawVerticalLine(6, -2, 9, c); }, 6, {6, 0}},
        {[&] { image->drawVerticalLine(7, 0, 5, c); }, 0, {0, 0}},
        {[&] { image->drawVerticalLine(-1, 0, 5, c); }, 0, {0, 0}},
        {[&] { image->drawVerticalLine(2, 6, 8, c); }, 0, {0, 0}},
        {[&] { image->drawVerticalLine(2, -3, -1, c); }, 0, {0, 0}},
        {[&] { image->drawRectangle(1, 1, 4, 3, c); }, 10, {4, 3}},  // outline of 4 x 3
        {[&] { image->drawLine(0, 0, 6, 5, c); }, 0, {0, 0}},        // no class draws general lines
    };
    for (const Case& k : cases) {
        image->clear(z);
        const Bytes blank = test::storedBytes(*image);
        k.draw();
        EXPECT_EQ(count(c), k.drawn) << &k - cases;
        if (k.drawn) {
            EXPECT_EQ(image->getPixel(k.at.first, k.at.second), c) << &k - cases;
        } else {
            EXPECT_EQ(test::storedBytes(*image), blank) << &k - cases;  // not even into the padding
        }
    }
    image->drawRectangle(1, 1, 4, 3, c);
    EXPECT_EQ(image->getPixel(2, 2), z);
}

TEST(Image, CreationAndInvalidSizes) {
    EXPECT_EQ(createMemoryImage(4, 4, 15), nullptr);
    EXPECT_EQ(createMemoryImage(4, 4, 0), nullptr);
    for (int bits : {8, 24, 32}) EXPECT_EQ(createMemoryImage(4, 4, bits)->bitsPerPixel(), bits);
    for (int layout : {1, 2, 3}) {
        sixteenBitLayout = layout;
        auto image = createMemoryImage(4, 4, 16);
        EXPECT_EQ(image ? image->layout16() : 0, layout == 3 ? 0 : layout);
    }
    sixteenBitLayout = 1;
    // Empty and absurd sizes give invalid images that allocate nothing and refuse every operation.
    for (auto [w, h, bits] : {std::tuple{0, 5, 32},
                              {5, 0, 32},
                              {-3, 4, 32},
                              {(1 << 28) + 1, 1, 8},
                              {1 << 30, 1 << 30, 32},
                              {2147483647, 1, 32},
                              {1 << 15, 1 << 15, 8}}) {
        auto bad = createMemoryImage(w, h, bits);
        EXPECT_FALSE(bad->isValid()) << w << "x" << h;
        bad->putPixel(0, 0, 5);
        EXPECT_EQ(bad->getPixel(0, 0), 0u);
        bad->clear(1);
        bad->fillRectangle(0, 0, 3, 3, 1);
        int r = 7, g = 7, b = 7;
        bad->unpackColor(0xFFFFFF, r, g, b);
        EXPECT_EQ(r + g + b, 21);
        EXPECT_EQ(bad->packColor(255, 255, 255), 0u);
    }
}

TEST(Image, PackingFormulasAndRoundTrips) {
    auto i555 = std::make_unique<MemoryImage555>(1, 1);
    auto i565 = std::make_unique<MemoryImage565>(1, 1);
    int r = 0, g = 0, b = 0;
    for (std::uint32_t v = 0; v < 0x10000; ++v) {
        i565->unpackColor(v, r, g, b);
        ASSERT_EQ(i565->packColor(r, g, b), v);
        i555->unpackColor(v & 0x7FFF, r, g, b);
        ASSERT_EQ(i555->packColor(r, g, b), v & 0x7FFF);
    }
    EXPECT_EQ(i555->packColor(255, 128, 64), 0x7E08u);
    EXPECT_EQ(i565->packColor(255, 128, 64), 0xFC08u);
    i565->unpackColor(0xFFFF, r, g, b);
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(248, 252, 248));
    auto i24 = createMemoryImage(1, 1, 24);
    auto i32 = createMemoryImage(1, 1, 32);
    EXPECT_EQ(i24->packColor(0x12, 0x34, 0x56), 0x123456u);
    EXPECT_EQ(i32->packColor(0x112, 0x134, 0x156), 0x123456u);  // channels masked to 8 bits
    i32->unpackColor(0xFF123456u, r, g, b);
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(0x12, 0x34, 0x56));
    i24->unpackColor(0xFF654321u, r, g, b);
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(0x65, 0x43, 0x21));
    // 8 bits: without a palette packing gives 0 and unpacking leaves the outputs alone.
    auto i8 = createMemoryImage(1, 1, 8);
    EXPECT_EQ(i8->packColor(200, 10, 10), 0u);
    r = g = b = 77;
    i8->unpackColor(3, r, g, b);
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(77, 77, 77));
    auto black = createMemoryImage(1, 1, 32);
    i8->convertTo(black.get(), 0, 0);  // converting starts from black
    EXPECT_EQ(black->getPixel(0, 0), 0u);
    auto* palette = new Palette();
    palette->entries[3] = {200, 10, 10, 0};
    i8->setPalette(palette);
    EXPECT_EQ(i8->packColor(199, 11, 10), 3u);
    i8->unpackColor(0x103, r, g, b);  // the index is the low byte
    EXPECT_EQ(std::tuple(r, g, b), std::tuple(200, 10, 10));
}

TEST(Image, SubImageViewsTheParentsRectangle) {
    auto parent = createMemoryImage(10, 8, 8);
    auto* palette = new Palette();
    parent->setPalette(palette);
    std::mt19937 rng(3);
    test::fillRandom(*parent, rng, false);
    {
        SubImage view(parent.get(), 2, 3, 6, 5);  // right exclusive, bottom inclusive
        ASSERT_TRUE(view.isValid());
        EXPECT_EQ(std::pair(view.width(), view.height()), std::pair(4, 3));
        EXPECT_EQ(view.palette(), palette);
        EXPECT_EQ(palette->referenceCount, 1);  // borrowed, not counted
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(view.getPixel(x, y), parent->getPixel(2 + x, 3 + y));
        view.putPixel(3, 2, 0);
        EXPECT_EQ(parent->getPixel(5, 5), 0u);
        // It draws with the parent's routines.
        auto dst = createMemoryImage(4, 3, 8);
        EXPECT_EQ(view.draw(dst.get(), 0, 0, false, 0), 1);
        EXPECT_EQ(test::pixelsOf(*dst), test::pixelsOf(view));
    }
    EXPECT_EQ(palette->referenceCount, 1);  // the view's end leaves the parent's palette alone
    for (auto [l, t, r, b, valid] : {std::tuple{0, 0, 10, 7, true},
                                     {0, 0, 11, 7, false},
                                     {0, 0, 10, 8, false},
                                     {-1, 0, 5, 5, false},
                                     {0, -1, 5, 5, false},
                                     {3, 3, 3, 5, false},
                                     {3, 5, 6, 4, false}})
        EXPECT_EQ(SubImage(parent.get(), l, t, r, b).isValid(), valid) << l << t << r << b;
    SubImage orphan(nullptr, 0, 0, 2, 2);
    EXPECT_FALSE(orphan.isValid());
    EXPECT_EQ(orphan.lock(1), nullptr);
}

}  // namespace
}  // namespace trellisor
