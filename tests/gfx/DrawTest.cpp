// draw and drawTransparent: rejection and clipping on every edge for every
// format, the 8-bit vector copy against the plain one, transparent keys and
// the converting fallbacks.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "GfxTestSupport.h"
#include "gfx/CopyRoutines.h"
#include "gfx/DrawFrame.h"

namespace trellisor {
namespace {

using test::kFormats;
using test::makeImage;
using test::PixelFormat;

// What a destination must hold after src is drawn at x, y over a background
// value, computed pixel by pixel.
std::vector<std::uint32_t> expected(Image& src, Image& dst, int x, int y, std::uint32_t background,
                                    bool skipZero) {
    std::vector<std::uint32_t> out(std::size_t(dst.width() * dst.height()), background);
    for (int row = 0; row < src.height(); ++row)
        for (int col = 0; col < src.width(); ++col) {
            const int dx = x + col, dy = y + row;
            if (dx < 0 || dy < 0 || dx >= dst.width() || dy >= dst.height()) continue;
            const std::uint32_t v = src.getPixel(col, row);
            if (skipZero && v == 0) continue;
            out[std::size_t(dy * dst.width() + dx)] = v;
        }
    return out;
}

std::vector<std::uint32_t> contents(Image& image) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) out.push_back(image.getPixel(x, y));
    return out;
}

class DrawFormatTest : public ::testing::TestWithParam<PixelFormat> {};
INSTANTIATE_TEST_SUITE_P(AllFormats, DrawFormatTest, ::testing::ValuesIn(kFormats),
                         [](const auto& param) { return std::string("Bits") + param.param.name; });

TEST_P(DrawFormatTest, RejectsAndClipsOnEveryEdge) {
    const PixelFormat& f = GetParam();
    auto src = makeImage(f, 10, 10);
    test::fillPattern(*src, f);
    src->putPixel(9, 4, 0);  // a transparent pixel in the last column
    auto dst = makeImage(f, 23, 17);
    const std::uint32_t background = 0x00030201u & f.mask;
    for (bool transparent : {false, true}) {
        auto drawIt = [&](int x, int y, bool centred = false) {
            return transparent ? src->drawTransparent(dst.get(), x, y, centred, 0)
                               : src->draw(dst.get(), x, y, centred, 0);
        };
        // Exactly beside an edge: nothing drawn, 0 returned.
        for (auto [x, y] :
             {std::pair{-10, 0}, {23, 0}, {0, -10}, {0, 17}, {-2000000000, 0}, {2000000000, 5}}) {
            dst->clear(background);
            EXPECT_EQ(drawIt(x, y), 0) << x << "," << y;
            EXPECT_EQ(contents(*dst), std::vector<std::uint32_t>(23 * 17, background));
        }
        // One column or row over each edge, and places in between.
        for (auto [x, y] :
             {std::pair{-9, 3}, {22, 3}, {4, -9}, {4, 16}, {-9, -9}, {22, 16}, {13, 7}, {0, 0}, {-3, 12}}) {
            SCOPED_TRACE(::testing::Message()
                         << f.name << (transparent ? " transparent " : " opaque ") << x << "," << y);
            dst->clear(background);
            EXPECT_EQ(drawIt(x, y), 1);
            EXPECT_EQ(contents(*dst), expected(*src, *dst, x, y, background, transparent));
        }
        // Centred: a 10 x 10 source at (5, 5) starts at (0, 0).
        dst->clear(background);
        EXPECT_EQ(drawIt(5, 5, true), 1);
        EXPECT_EQ(contents(*dst), expected(*src, *dst, 0, 0, background, transparent));
    }
}

TEST_P(DrawFormatTest, FrameSizedCopiesWithoutGapsBetweenRows) {
    // Equal widths that are whole pitches: rows follow each other in both images.
    const PixelFormat& f = GetParam();
    for (bool vector : {true, false}) {
        setVectorCopyAllowed(vector);
        auto src = makeImage(f, 24, 6);
        setVectorCopyAllowed(true);
        test::fillPattern(*src, f);
        auto dst = makeImage(f, 24, 6);
        for (int y : {0, 2, -3}) {
            dst->clear(0);
            EXPECT_EQ(src->draw(dst.get(), 0, y, false, 0), 1);
            EXPECT_EQ(contents(*dst), expected(*src, *dst, 0, y, 0, false)) << f.name << " at y " << y;
        }
    }
}

TEST(Draw, CentredOddSizeAndInvalidImages) {
    auto src = createMemoryImage(5, 5, 32);
    src->clear(7);
    auto dst = createMemoryImage(8, 8, 32);
    dst->clear(0);
    EXPECT_EQ(src->draw(dst.get(), 2, 2, true, 0), 1);
    EXPECT_EQ(dst->getPixel(0, 0), 7u);
    EXPECT_EQ(dst->getPixel(4, 4), 7u);
    EXPECT_EQ(dst->getPixel(5, 5), 0u);
    EXPECT_EQ(src->draw(dst.get(), INT32_MIN, INT32_MIN, true, 0), 0);  // centring never wraps around
    EXPECT_EQ(src->drawTransparent(dst.get(), INT32_MAX, 0, false, 0), 0);
    auto invalid = createMemoryImage(0, 5, 32);
    EXPECT_EQ(invalid->draw(dst.get(), 0, 0, false, 0), 0);
    EXPECT_EQ(src->draw(invalid.get(), 0, 0, false, 0), 0);
    EXPECT_EQ(src->drawTransparent(nullptr, 0, 0, false, 0), 0);
    dst->clear(0);
    EXPECT_EQ(src->drawAtOrigin(dst.get()), 1);
    EXPECT_EQ(dst->getPixel(4, 4), 7u);
    Image bare;
    EXPECT_EQ(bare.draw(dst.get(), 0, 0, false, 0), 0);
    EXPECT_EQ(bare.lock(1), nullptr);
}

TEST(Draw, VectorAndPlainEightBitCopiesAgree) {
    std::mt19937 rng(7);
    for (int width = 1; width <= 70; ++width) {
        auto src = createMemoryImage(width, 3, 8);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) src->putPixel(x, y, rng() & 0xFF);
        // One column over the left or right edge, partly over, wholly inside.
        for (int offset : {1 - width, -1, 0, 3, width + 39}) {
            if (offset + width <= 0) continue;
            auto a = createMemoryImage(width + 40, 5, 8);
            auto b = createMemoryImage(width + 40, 5, 8);
            a->clear(0xEE);
            b->clear(0xEE);
            BlitParams pa, pb;
            int x = offset, y = 1;
            ASSERT_TRUE(placeSource(*src, *a, x, y, false));
            ASSERT_TRUE(clipBlit(*src, *a, a->lock(2), x, y, pa));
            ASSERT_TRUE(clipBlit(*src, *b, b->lock(2), x, y, pb));
            opaqueCopy8Vector(pa);
            opaqueCopy8Plain(pb);
            ASSERT_EQ(contents(*a), contents(*b)) << "width " << width << " at " << offset;
            ASSERT_EQ(contents(*a), expected(*src, *a, offset, 1, 0xEE, false)) << "width " << width;
        }
    }
    // Images choose the routine once: both choices draw through draw() alike, one column included.
    for (bool vector : {true, false}) {
        setVectorCopyAllowed(vector);
        auto src = createMemoryImage(40, 2, 8);
        setVectorCopyAllowed(true);
        EXPECT_EQ(src->routine(RoutineOpaqueCopy) == &opaqueCopy8Vector, vector && vectorCopyAvailable());
        test::fillPattern(*src, kFormats[0]);
        auto dst = createMemoryImage(50, 2, 8);
        dst->clear(0);
        EXPECT_EQ(src->draw(dst.get(), -39, 0, false, 0), 1);
        EXPECT_EQ(contents(*dst), expected(*src, *dst, -39, 0, 0, false));
    }
}

// Non-zero pixels, some with zero bytes (single-channel colours) where the format has several bytes.
std::uint32_t keyedValue(const PixelFormat& f, int x, int y) {
    const std::uint32_t v = test::patternValue(f, x, y);
    if (f.bits < 24) return v;
    switch ((x + y) % 4) {
        case 0:
            return (v & 0xFF) | 1;
        case 1:
            return (v & 0xFF00) | 0x100;
        case 2:
            return (v & 0xFF0000) | 0x10000;
        default:
            return v;
    }
}

TEST(Draw, TransparentCopiesSkipOnlyZero) {
    // Every mix of zero and non-zero in groups of four (8-bit) and pairs (16-bit).
    for (const PixelFormat& f : kFormats) {
        for (int width : {1, 2, 3, 4, 5, 8, 13, 16, 17, 31, 32, 33, 47, 64, 70}) {
            auto src = makeImage(f, width, 16);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < width; ++x)
                    src->putPixel(x, y, ((y >> (x & 3)) & 1) ? keyedValue(f, x, y) : 0);
            auto dst = makeImage(f, width + 2, 18);
            const std::uint32_t background = 0x00777777u & f.mask;
            dst->clear(background);
            EXPECT_EQ(src->drawTransparent(dst.get(), 1, 1, false, 0), 1);
            EXPECT_EQ(contents(*dst), expected(*src, *dst, 1, 1, background, true))
                << f.name << " width " << width;
        }
    }
}

TEST(Draw, FallbacksConvertFormats) {
    // 24 -> 5-5-5 goes through the converter.
    auto src24 = createMemoryImage(3, 1, 24);
    src24->putPixel(0, 0, 0xFF8040);
    src24->putPixel(1, 0, 0);
    src24->putPixel(2, 0, 0x0000F8);
    auto dst555 = createMemoryImage(4, 1, 16);
    dst555->clear(0x1234);
    EXPECT_EQ(src24->draw(dst555.get(), 0, 0, false, 0), 1);
    EXPECT_EQ(dst555->getPixel(0, 0), 0x7E08u);
    EXPECT_EQ(dst555->getPixel(1, 0), 0u);
    EXPECT_EQ(dst555->getPixel(2, 0), 0x1Fu);
    EXPECT_EQ(dst555->getPixel(3, 0), 0x1234u);
    sixteenBitLayout = 2;
    auto dst565 = createMemoryImage(4, 1, 16);
    sixteenBitLayout = 1;
    EXPECT_EQ(src24->draw(dst565.get(), -1, 0, false, 0), 1);
    EXPECT_EQ(dst565->getPixel(1, 0), 0x1Fu);
    EXPECT_EQ(dst565->getPixel(0, 0), 0u);
    // 24-bit has no transparent routine: the per-pixel path still skips zero.
    auto dst24 = createMemoryImage(3, 1, 24);
    dst24->clear(0x111111);
    EXPECT_EQ(src24->drawTransparent(dst24.get(), 0, 0, false, 0), 1);
    EXPECT_EQ(dst24->getPixel(0, 0), 0xFF8040u);
    EXPECT_EQ(dst24->getPixel(1, 0), 0x111111u);
    // 8-bit with flags 1 maps to the nearest colour of dst's palette; flags 0 copies indices.
    auto a = createMemoryImage(2, 1, 8);
    auto b = createMemoryImage(2, 1, 8);
    auto* pa = new Palette();
    auto* pb = new Palette();
    pa->entries[1] = {250, 0, 0, 0};
    pa->entries[2] = {0, 0, 250, 0};
    pb->entries[5] = {0, 0, 255, 0};
    pb->entries[6] = {255, 0, 0, 0};
    a->setPalette(pa);
    b->setPalette(pb);
    a->putPixel(0, 0, 1);
    a->putPixel(1, 0, 2);
    EXPECT_EQ(a->draw(b.get(), 0, 0, false, 1), 1);
    EXPECT_EQ(b->getPixel(0, 0), 6u);
    EXPECT_EQ(b->getPixel(1, 0), 5u);
    EXPECT_EQ(a->draw(b.get(), 0, 0, false, 0), 1);
    EXPECT_EQ(b->getPixel(0, 0), 1u);
    // 32 -> 8 through packColor, and a 5-5-5 source onto 5-6-5 is not a same-format copy.
    auto s32 = createMemoryImage(1, 1, 32);
    s32->putPixel(0, 0, 0x0000FF);
    EXPECT_EQ(s32->draw(b.get(), 1, 0, false, 0), 1);
    EXPECT_EQ(b->getPixel(1, 0), 5u);
    auto s555 = createMemoryImage(1, 1, 16);
    s555->putPixel(0, 0, 0x7C00);  // red
    EXPECT_EQ(s555->draw(dst565.get(), 3, 0, false, 0), 1);
    EXPECT_EQ(dst565->getPixel(3, 0), 0xF800u);
}

TEST(DrawFrame, FlippedClipWalksTheDestinationUpwards) {
    auto src = createMemoryImage(3, 4, 32);
    test::fillPattern(*src, kFormats[4]);
    auto dst = createMemoryImage(5, 3, 32);
    for (int y : {-2, -1, 0, 1, 2}) {
        int x = 1, yy = y;
        ASSERT_TRUE(placeSource(*src, *dst, x, yy, false));
        std::uint8_t* base = dst->lock(2);
        BlitParams p;
        ASSERT_TRUE(clipBlitFlipped(*src, *dst, base, x, yy, p));
        // Walk the routine's way and note which source row lands on which destination row.
        for (int k = 0; k < p.rows; ++k) {
            const std::uint8_t* s = p.src + std::ptrdiff_t(k) * (p.width + p.srcSkip) * 4;
            const std::uint8_t* d = p.dst + std::ptrdiff_t(k) * (p.width + p.dstSkip) * 4;
            const std::ptrdiff_t dstOffset = d - base;
            const int dstRow = int(dstOffset / dst->pitchBytes());
            const int srcRow = int((s - src->lock(1)) / src->pitchBytes());
            EXPECT_EQ(dstRow, y + 3 - srcRow) << "y " << y;
            EXPECT_GE(dstRow, 0);
            EXPECT_LT(dstRow, 3);
        }
        const int visible = std::min(y + 4, 3) - std::max(y, 0);
        EXPECT_EQ(p.rows, visible) << "y " << y;
    }
}

}  // namespace
}  // namespace trellisor
