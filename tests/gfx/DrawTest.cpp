// Drawing in every pixel format against reference sheets (support/Sheet.h), compiled sprites.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "gfx/CompiledSprite.h"
#include "gfx/CopyRoutines.h"
#include "gfx/DibImage.h"
#include "gfx/ExecutableMemory.h"
#include "support/Sheet.h"

namespace trellisor {
namespace {

using namespace test;

constexpr std::uint32_t kMatch = 0x0ABC;

// Every pixel `value`, the row padding 0 so that a write into it shows.
std::unique_ptr<Image> filled(const Image& format, int w, int h, std::uint32_t value) {
    auto image = makeLike(format, w, h);
    setStoredBytes(*image, Bytes(image->pitchBytes() * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image->putPixel(x, y, value & maskOf(format));
    return image;
}

// A source has holes of 0 and the recolour match at (1, 1) and the far corner; 32 bits a top
// byte of 0x40 (destination) or 0x80 (source).
std::unique_ptr<Image> smooth(const Image& format, int w, int h, bool source) {
    auto image = filled(format, w, h, 0);
    if (format.bitsPerPixel() == 8) image->setPalette(new Palette);
    for (int i = 0; image->palette() && i < 256; ++i)
        image->palette()->entries[i] = {std::uint8_t(i), std::uint8_t(255 - std::abs(2 * i - 255)),
                                        std::uint8_t(255 - i), 0};
    const std::uint32_t top = format.bitsPerPixel() == 32 ? (source ? 0x80000000u : 0x40000000u) : 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = source ? image->packColor(255 - 30 * x, 80 + 40 * y, 30 + 40 * x)
                                     : image->packColor(40 + 16 * x, 60 + 18 * y, 220 - 8 * x - 6 * y);
            if (image->palette()) v = source ? 120 + 20 * x + 10 * y : 20 + 16 * x + 6 * y;
            image->putPixel(x, y, source && (x + 2 * y) % 5 == 2 ? 0 : v | top);
        }
    for (auto [x, y] : {std::pair{1, 1}, {w - 1, h - 1}})
        if (source) image->putPixel(x, y, kMatch & maskOf(format));
    return image;
}

std::unique_ptr<Image> copyOf(Image& image) {
    auto copy = makeLike(image, image.width(), image.height());
    setStoredBytes(*copy, storedBytes(image));
    copy->setPalette(image.palette());
    return copy;
}

struct Operation {
    const char* name;
    int (*call)(Image& s, Image* d, int x, int y, bool centred);
};
// clang-format off
#define OP(name, call)                                                    \
    Operation{name, [](Image& s, Image* d, int x, int y, bool c) {       \
        return (void)x, (void)y, (void)c, s.call;                         \
    }}
// clang-format on
const Operation kOperations[] = {
    OP("draw", draw(d, x, y, c, 0)),
    OP("draw-converting", draw(d, x, y, c, 1)),
    OP("transparent", drawTransparent(d, x, y, c, 0)),
    OP("transparent-converting", drawTransparent(d, x, y, c, 1)),
    OP("alpha-masked", drawAlphaMasked(d, x, y, c, &s)),
    OP("at-origin", drawAtOrigin(d)),
    OP("flipped", drawFlipped(d, x, y, c)),
    OP("transparent-flipped", drawTransparentFlipped(d, x, y, c)),
    OP("shadow", drawShadow(d, x, y, c)),
    OP("silhouette", drawSilhouette(d, x, y, c, 0x1357)),
    OP("recoloured", drawRecoloured(d, x, y, c, 0x0F0F, kMatch)),
    OP("tinted", drawTinted(d, x, y, c, 0x7FFF)),
    OP("colour-mixed", drawColourMixed(d, x, y, c, 0x5A5A)),
    OP("additive", drawAdditive(d, x, y, c)),
    OP("subtractive", drawSubtractive(d, x, y, c)),
    OP("blended-90", drawBlended(d, x, y, c, 90)),
    OP("blended-300", drawBlended(d, x, y, c, 300)),
    OP("blended-minus-5", drawBlended(d, x, y, c, -5)),
    OP("translucent", drawTranslucent(d, x, y, c)),
    OP("translucent-flipped", drawTranslucentFlipped(d, x, y, c)),
};

class DrawOperationTest : public ::testing::TestWithParam<Operation> {};

// gfx/draw/OPERATION-FORMAT.png: a row per source format and width, then the shown buffer; a cell
// per place (inside, over each edge and corner, beside each edge, far away), also centred.
TEST_P(DrawOperationTest, MatchesItsPictureOntoEveryFormat) {
    const auto formats = everyFormat(1, 1);
    for (const auto& dstFormat : formats) {
        const auto base = smooth(*dstFormat, 12, 9, false);
        Sheet sheet;
        for (int row = 0; row < 12; ++row) {
            const int w = 5 + row % 2;
            auto src = smooth(*formats[row < 10 ? row / 2 : 2], w, 4, true);
            DibImage565 dib(nullptr, w, 4);
            if (row >= 10) setStoredBytes(dib, storedBytes(*src));
            Image& source = row < 10 ? *src : dib;
            const int places[][2] = {{3, 2},           {-w + 1, 2},    {11, 2},  {3, -3}, {3, 8},
                                     {-3, -2},         {9, 7},         {10, -3}, {0, 0},  {12 - w, 5},
                                     {7, 5},           {-w, 2},        {12, 2},  {3, -4}, {3, 9},
                                     {-2000000000, 0}, {2000000000, 5}};
            for (auto [x, y] : places)
                for (bool centred : {false, true}) {
                    auto dst = copyOf(*base);
                    sheet.add(*dst, GetParam().call(source, dst.get(), x, y, centred) == 1);
                }
            sheet.newRow();
        }
        const std::string name = formatName(*dstFormat);
        EXPECT_TRUE(
            matchesReference(sheet.picture(), "gfx/draw/" + std::string(GetParam().name) + "-" + name));
        auto invalid = makeLike(*base, 0, 3);
        EXPECT_EQ(std::tuple(GetParam().call(*base, invalid.get(), 0, 0, false),
                             GetParam().call(*base, nullptr, 0, 0, false),
                             GetParam().call(*invalid, base.get(), 0, 0, false)),
                  std::tuple(0, 0, 0))
            << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, DrawOperationTest, ::testing::ValuesIn(kOperations),
                         [](const auto& op) { return caseName(op.param.name); });

// A ramp with zero bytes in every third pixel and a pattern of transparent 0s.
std::unique_ptr<Image> rowSource(const Image& format, int w) {
    auto src = filled(format, w, 17, 0);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < w; ++x) {
            const auto v = (0x10305070u + 0x03050709u * std::uint32_t(x) + 0x0B0D0F11u * std::uint32_t(y)) &
                           ((x + y) % 3 ? 0xFFFFFFFFu : 0xFF00FF00u);
            const bool shown = y == 16 ? x > 0 : (y >> (x & 3)) & 1;
            src->putPixel(x, y, shown ? (v | (y == 16) | (1u << (8 * (x % 2)))) & maskOf(format) : 0);
        }
    return src;
}

// gfx/draw/every-width-FORMAT.png: a row per width, opaque then transparent, inside and over edges.
TEST(Draw, RowsOfEveryWidthDrawTheSameThroughEveryLoop) {
    for (const auto& format : everyFormat(1, 1)) {
        const bool compiles = format->bitsPerPixel() != 24 && compiledSpritesSupported();
        Sheet sheet;
        for (int w : {1, 2, 3, 4, 5, 7, 8, 9, 11, 12, 13, 15, 16, 17, 24, 31, 32, 33, 47, 64, 70}) {
            std::vector<Bytes> drawn;
            for (int loop = 0; loop < 3; ++loop) {  // vector, plain, compiled
                if (loop == 1 && format->bitsPerPixel() != 8) continue;
                SCOPED_TRACE(formatName(*format) + ", " + std::to_string(w) + " wide, loop " +
                             std::to_string(loop));
                setVectorCopyAllowed(loop != 1);
                auto src = rowSource(*format, w);
                setVectorCopyAllowed(true);
                std::size_t cell = 0;
                for (bool transparent : {false, true}) {
                    EXPECT_TRUE(loop < 2 || !compiles || src->buildCompiledSprite(transparent));
                    for (auto [x, y, dw] :
                         {std::tuple{1, 1, w + 2}, {w > 1 ? -1 : 0, 0, w + 2}, {0, -3, w}, {0, 2, w}}) {
                        auto dst = filled(*format, dw, 18, 0x55555555);
                        const int result = transparent ? src->drawTransparent(dst.get(), x, y, false, 0)
                                                       : src->draw(dst.get(), x, y, false, 0);
                        if (loop > 0) {
                            EXPECT_EQ(storedBytes(*dst), drawn[cell++]);
                            continue;
                        }
                        sheet.add(*dst, result == 1);
                        drawn.push_back(storedBytes(*dst));
                    }
                }
            }
            sheet.newRow();
        }
        EXPECT_TRUE(matchesReference(sheet.picture(), "gfx/draw/every-width-" + formatName(*format)));
    }
}

// gfx/draw/scaled-and-filled-FORMAT.png: scaled copies, then translucent fills.
TEST(Draw, ScaledCopiesAndTranslucentFills) {
    for (const auto& format : everyFormat(1, 1)) {
        auto src = smooth(*format, 8, 8, true);
        const int scaled[][4] = {{3, 2, 16, 16}, {3, 2, 4, 4},   {3, 2, 8, 8},  {3, 2, 16, 2},
                                 {3, 2, 17, 3},  {4, 12, 16, 8}, {5, 5, 16, 8}, {0, 13, 8, 8},
                                 {-1, 0, 8, 8},  {0, -1, 8, 8},  {0, 0, 0, 8},  {0, 0, 8, 0}};
        Sheet sheet;
        for (auto [x, y, w, h] : scaled) {
            auto dst = filled(*src, 20, 20, 0x55555555);
            sheet.add(*dst, src->drawScaled(dst.get(), x, y, w, h) == 1);
        }
        EXPECT_EQ(src->drawScaled(nullptr, 0, 0, 8, 8), 0);
        sheet.newRow();
        const int corners[][4] = {{2, 1, 5, 3},  {5, 3, 2, 1},  {-4, -2, 30, 30}, {9, 6, 9, 6}, {1, 1, 1, 1},
                                  {-3, 2, 0, 5}, {2, -3, 5, 0}, {10, 0, 12, 6},   {0, 7, 4, 9}};
        for (auto [x1, y1, x2, y2] : corners) {
            auto image = smooth(*format, 10, 7, true);  // 0s mix as well
            image->fillTranslucent(x1, y1, x2, y2, 0x2AD5 & maskOf(*image));
            sheet.add(*image);
        }
        EXPECT_TRUE(matchesReference(sheet.picture(), "gfx/draw/scaled-and-filled-" + formatName(*format)));
    }
}

// gfx/draw/saturating-FORMAT.png: every pair of channel values added, then subtracted.
TEST(Draw, SixteenBitAddAndSubtractSaturateEveryChannel) {
    const auto formats = everyFormat(1, 1);
    for (const Image& format : {std::cref(*formats[1]), std::cref(*formats[2])}) {
        const int green = format.layout16() == 2 ? 64 : 32, red = 32 * green;
        auto src = filled(format, 65, 64, 0), sum = filled(format, 65, 64, 0);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 65; ++x) {
                src->putPixel(x, y, std::uint32_t(x % 32 * red + x % green * 32 + x % 32));
                sum->putPixel(x, y, std::uint32_t(y % 32 * red + y % green * 32 + (63 - y) % 32));
            }
        auto difference = copyOf(*sum);
        Sheet sheet;
        sheet.add(*sum, src->drawAdditive(sum.get(), 0, 0, false) == 1);
        sheet.add(*difference, src->drawSubtractive(difference.get(), 0, 0, false) == 1);
        EXPECT_TRUE(matchesReference(sheet.picture(), "gfx/draw/saturating-" + formatName(format)));
    }
}

// 8 bits without a palette draw nothing translucent, the shown buffer fills nothing; a mix table
// marked stale is rebuilt; blending falls back to copying.
TEST(Draw, EffectsWithoutTheirRoutinesOrTablesFallBackOrDrawNothing) {
    auto bare = filled(MemoryImage8(1, 1), 2, 1, 3), onto = filled(MemoryImage8(1, 1), 2, 1, 4);
    EXPECT_EQ(bare->drawTranslucent(onto.get(), 0, 0, false), 0);
    DibImage565 dib(nullptr, 2, 1);
    dib.clear(4);
    dib.fillTranslucent(0, 0, 1, 0, 0x1234);
    EXPECT_EQ(pixelsOf(*onto), pixelsOf(dib));
    auto src = smooth(*bare, 2, 2, true), dst = smooth(*bare, 2, 2, false);
    src->palette()->buildMixTable();
    src->palette()->hasMixTable = false;
    EXPECT_EQ(src->drawTranslucent(dst.get(), 0, 0, false), 1);
    EXPECT_TRUE(src->palette()->hasMixTable);
    // The copy keeps the indices, not the colours they show (all black here).
    auto indices = filled(*bare, 2, 1, 7);
    indices->setPalette(new Palette);
    EXPECT_EQ(indices->drawBlended(onto.get(), 0, 0, false, 90), 1);
    EXPECT_EQ(pixelsOf(*onto), (std::vector<std::uint32_t>{7, 7}));
}

// gfx/compiled/FORMAT.hex: every tail of a dword, pairs with a half 0, displacements either side
// of 128, blank images.
TEST(CompiledSprite, EncodesTheStoresOfEveryFormat) {
    const auto formats = everyFormat(1, 1);
    for (const Image& format : {std::cref(*formats[0]), std::cref(*formats[2]), std::cref(*formats[4])}) {
        const int perRow = 128 / format.bytesPerPixel();
        std::mt19937 rng(8);
        Bytes code;
        for (int w : {1, 2, 3, 4, 5, 6, 7, perRow - 1, perRow + 1})
            for (int zeros : {0, 1, 2}) {  // no pixel 0, a quarter, all
                auto image = filled(format, w, 2, 0);
                if (zeros < 2) fillRandom(*image, rng, zeros == 1);
                for (bool transparent : {false, true}) {
                    const Bytes routine = generateSpriteCode(*image, transparent, CodeForm::X86_64);
                    code.insert(code.end(), routine.begin(), routine.end());
                }
            }
        EXPECT_TRUE(matchesReferenceBytes(code, "gfx/compiled/" + formatName(format)));
    }
    // x86-32: mov edi, eax; a dword at 0 and a byte at 4; add eax, ebx; mov edi, eax; ret.
    const Bytes x86 = {0x8B, 0xF8, 0xC7, 0x47, 0x00, 0x44, 0x44, 0x44, 0x44,
                       0xC6, 0x47, 0x04, 0x44, 0x03, 0xC3, 0x8B, 0xF8, 0xC3};
    EXPECT_EQ(generateSpriteCode(*filled(MemoryImage8(1, 1), 5, 1, 0x44), false, CodeForm::X86_32), x86);
    for (auto [w, bits] : {std::pair{4, 24}, {0, 8}}) {
        auto none = createMemoryImage(w, 4, bits);
        EXPECT_TRUE(generateSpriteCode(*none, false, CodeForm::X86_32).empty());
        EXPECT_FALSE(none->buildCompiledSprite(false) || none->hasCompiledSprite());
    }
}

// The permissions of the mapping that holds address.
std::string permissionsOf(const void* address) {
    std::ifstream maps("/proc/self/maps");
    const auto target = reinterpret_cast<std::uintptr_t>(address);
    std::uintptr_t from = 0, to = 0;
    std::string perms, rest;
    while (maps >> std::hex >> from && maps.ignore(1) && maps >> to >> perms && std::getline(maps, rest))
        if (target >= from && target < to) return perms.substr(0, 3);
    return "";
}

TEST(CompiledSprite, ExecutableMemoryHoldsACopyThatCannotBeWritten) {
    const Bytes code = {0x90, 0x90, 0xC3};
    ExecutableMemory memory = makeExecutable(code);
    ASSERT_TRUE(memory);
    EXPECT_EQ(Bytes(memory.bytes().begin(), memory.bytes().end()), code);
    EXPECT_EQ(permissionsOf(memory.data()), "r-x");
    const void* first = memory.data();
    ExecutableMemory moved = std::move(memory);
    EXPECT_EQ(std::tuple(moved.data(), moved.size(), memory.data(), memory.size()),
              std::tuple(first, std::size_t(3), nullptr, std::size_t(0)));
    memory = makeExecutable(code);
    moved = std::move(memory);  // gives the first mapping back, empties the source
    EXPECT_EQ(std::tuple(permissionsOf(first), memory.data(), memory.size()),
              std::tuple("", nullptr, std::size_t(0)));
    first = moved.data();
    { ExecutableMemory last = std::move(moved); }
    EXPECT_EQ(permissionsOf(first), "");
    EXPECT_FALSE(makeExecutable({}));
}

// gfx/compiled/drawing-BITS.png: the routine keeps the pixels it was built from (light), the row
// loop reads the new ones (dark).
TEST(CompiledSprite, BuildsAndRunsOnlyWhenTheSpriteLiesWhollyInside) {
    if (!compiledSpritesSupported()) GTEST_SKIP() << "no compiled sprites on this processor";
    for (int bits : {8, 16, 32}) {
        SCOPED_TRACE(bits);
        auto sprite = createMemoryImage(3, 2, bits);
        Sheet sheet;
        auto draw = [&](bool transparent, int x, int y, bool centred) {
            auto dst = filled(*sprite, 6, 5, 0x00202020);
            sheet.add(*dst, transparent ? sprite->drawTransparent(dst.get(), x, y, centred, 0) == 1
                                        : sprite->draw(dst.get(), x, y, centred, 0) == 1);
        };
        sprite->clear(0x00C0C0C0);
        ASSERT_TRUE(sprite->buildCompiledSprite(false));
        const auto built = sprite->compiledSprite()->code();
        EXPECT_EQ(Bytes(built.begin(), built.end()), generateSpriteCode(*sprite, false, CodeForm::X86_64));
        sprite->clear(0x00606060);
        for (auto [x, y, centred] : {std::tuple{3, 3, false},
                                     {2, 2, true},
                                     {-1, 0, false},
                                     {4, 0, false},
                                     {0, -1, false},
                                     {0, 4, false}})
            draw(false, x, y, centred);
        draw(true, 0, 0, false);
        sprite->clear(0);
        ASSERT_TRUE(sprite->buildCompiledSprite(true));  // all transparent
        EXPECT_TRUE(!sprite->hasCompiledOpaque() && sprite->hasCompiledTransparent() &&
                    sprite->hasCompiledSprite());
        sprite->clear(0x00606060);
        draw(true, 1, 1, false);
        sprite->freeCompiledSprite();
        EXPECT_FALSE(sprite->hasCompiledSprite() || sprite->compiledSprite());
        EXPECT_TRUE(matchesReference(sheet.picture(), "gfx/compiled/drawing-" + std::to_string(bits)));
    }
}

}  // namespace
}  // namespace trellisor
