// The effect drawing operations against per-pixel references written here, at
// every edge, in every format that has the routine, and their fallbacks.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "GfxTestSupport.h"
#include "gfx/DibImage.h"
#include "gfx/EffectRoutines.h"
#include "gfx/MemoryImage.h"
#include "gfx/Palette.h"

namespace trellisor {
namespace {

using test::kFormats;
using test::PixelFormat;
using Bytes = std::vector<std::uint8_t>;

const PixelFormat& format(const char* name) {
    for (const PixelFormat& f : kFormats)
        if (std::string(f.name) == name) return f;
    throw std::invalid_argument(name);
}

// --- per-pixel reference arithmetic, channel by channel ---

struct Channel {
    int shift;
    std::uint32_t max;
};

std::array<Channel, 3> channelsOf(const PixelFormat& f) {
    if (f.layout16 == 1) return {{{10, 31}, {5, 31}, {0, 31}}};
    if (f.layout16 == 2) return {{{11, 31}, {5, 63}, {0, 31}}};
    return {{{16, 255}, {8, 255}, {0, 255}}};
}

template <class Op>
std::uint32_t eachChannel(const PixelFormat& f, std::uint32_t a, std::uint32_t b, Op op) {
    std::uint32_t out = 0;
    for (const Channel& c : channelsOf(f))
        out |= std::uint32_t(op(int((a >> c.shift) & c.max), int((b >> c.shift) & c.max), int(c.max)))
               << c.shift;
    return out;
}

std::uint32_t halved(const PixelFormat& f, std::uint32_t v) {
    return eachChannel(f, v, 0, [](int a, int, int) { return a / 2; });
}
std::uint32_t mixHalves(const PixelFormat& f, std::uint32_t a, std::uint32_t b) {
    return halved(f, a) + halved(f, b);
}
std::uint32_t addClamped(const PixelFormat& f, std::uint32_t a, std::uint32_t b) {
    return eachChannel(f, a, b, [](int x, int y, int max) { return std::min(x + y, max); });
}
std::uint32_t subtractClamped(const PixelFormat& f, std::uint32_t a, std::uint32_t b) {
    return eachChannel(f, a, b, [](int x, int y, int) { return std::max(x - y, 0); });
}
std::uint32_t blended(const PixelFormat& f, std::uint32_t s, std::uint32_t d, int alpha) {
    const std::uint32_t colour =
        eachChannel(f, s, d, [alpha](int x, int y, int) { return (x * alpha + y * (256 - alpha)) / 256; });
    const std::uint32_t untouched = f.bits == 32 ? 0xFF000000u : f.layout16 == 1 ? 0x8000u : 0u;
    return colour | (d & untouched);
}

// --- images ---

// Equal byte buffers, or where they first differ.
::testing::AssertionResult sameBytes(const Bytes& actual, const Bytes& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size();
    std::size_t i = 0;
    while (actual[i] == expected[i]) ++i;
    return ::testing::AssertionFailure() << "first difference at byte " << i << ": " << int(actual[i])
                                         << " instead of " << int(expected[i]);
}

Bytes storedBytes(Image& image) {
    const std::uint8_t* p = image.lock(1);
    Bytes bytes(p, p + std::size_t(image.pitchBytes()) * image.height());
    image.unlock();
    return bytes;
}

std::unique_ptr<Image> copyOf(const PixelFormat& f, Image& image) {
    auto copy = test::makeImage(f, image.width(), image.height());
    const Bytes bytes = storedBytes(image);
    std::memcpy(copy->lock(2), bytes.data(), bytes.size());
    copy->unlock();
    return copy;
}

// Random values of the format, about a quarter of them 0 when zeros is set.
void fillRandom(Image& image, const PixelFormat& f, std::mt19937& rng, bool zeros) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            std::uint32_t v = rng() & f.mask;
            if (v == 0 || (zeros && rng() % 4 == 0)) v = zeros ? 0 : 1;
            image.putPixel(x, y, v);
        }
}

// What one source pixel does to the destination pixel under it; nothing = left alone.
using Rule = std::function<std::optional<std::uint32_t>(std::uint32_t src, std::uint32_t dst)>;
using Operation = std::function<int(Image& src, Image* dst, int x, int y, bool centred)>;

// dst as it should be after drawing src at x, y (flipped: upside down), pixel by pixel.
std::unique_ptr<Image> expectedAfter(const PixelFormat& f, Image& src, Image& dst, int x, int y, bool flipped,
                                     const Rule& rule) {
    auto expected = copyOf(f, dst);
    for (int row = 0; row < src.height(); ++row)
        for (int col = 0; col < src.width(); ++col) {
            const int dx = x + col, dy = y + (flipped ? src.height() - 1 - row : row);
            if (dx < 0 || dy < 0 || dx >= dst.width() || dy >= dst.height()) continue;
            if (auto v = rule(src.getPixel(col, row), expected->getPixel(dx, dy)))
                expected->putPixel(dx, dy, *v);
        }
    return expected;
}

struct Placement {
    int x, y;
};
// Source 5 or 6 x 4 in a 12 x 9 destination: inside, one column or row over
// each edge, and the corners.
const Placement kOverlapping[] = {{3, 2},   {-4, 2}, {-5 + 1, 0}, {11, 2}, {3, -3}, {3, 8},
                                  {-3, -2}, {9, 7},  {10, -3},    {0, 0},  {7, 5}};

// Checks op against rule everywhere it should draw, and that it draws nothing
// from exactly beside the destination.
void checkOperation(const PixelFormat& f, const Operation& op, const Rule& rule, bool flipped,
                    const std::function<void(Image&)>& prepare = {}) {
    std::mt19937 rng(77);
    for (int srcWidth : {5, 6}) {
        auto src = test::makeImage(f, srcWidth, 4);
        fillRandom(*src, f, rng, true);
        if (prepare) prepare(*src);
        std::vector<Placement> places(std::begin(kOverlapping), std::end(kOverlapping));
        places.push_back({12 - srcWidth + 1, 2});  // one column over the right edge, whole width
        for (const Placement& at : places) {
            SCOPED_TRACE(::testing::Message()
                         << f.name << " bits, width " << srcWidth << " at " << at.x << "," << at.y);
            auto dst = test::makeImage(f, 12, 9);
            fillRandom(*dst, f, rng, false);
            auto expected = expectedAfter(f, *src, *dst, at.x, at.y, flipped, rule);
            EXPECT_EQ(op(*src, dst.get(), at.x, at.y, false), 1);
            EXPECT_TRUE(sameBytes(storedBytes(*dst), storedBytes(*expected)));
        }
        // Centred on (6, 4): the top-left goes to (6 - width / 2, 2).
        auto dst = test::makeImage(f, 12, 9);
        fillRandom(*dst, f, rng, false);
        auto expected = expectedAfter(f, *src, *dst, 6 - srcWidth / 2, 2, flipped, rule);
        EXPECT_EQ(op(*src, dst.get(), 6, 4, true), 1);
        EXPECT_TRUE(sameBytes(storedBytes(*dst), storedBytes(*expected))) << f.name << " centred";

        const Placement beside[] = {{-srcWidth, 2}, {12, 2}, {3, -4}, {3, 9}};
        for (const Placement& at : beside) {
            const Bytes before = storedBytes(*dst);
            EXPECT_EQ(op(*src, dst.get(), at.x, at.y, false), 0)
                << f.name << " beside " << at.x << "," << at.y;
            EXPECT_TRUE(sameBytes(storedBytes(*dst), before));
        }
    }
}

// Checks that op draws nothing and reports it, for a source with no routine or
// a destination of another format.
void checkRefused(const PixelFormat& srcFormat, const PixelFormat& dstFormat, const Operation& op) {
    std::mt19937 rng(5);
    auto src = test::makeImage(srcFormat, 5, 4);
    fillRandom(*src, srcFormat, rng, false);
    auto dst = test::makeImage(dstFormat, 12, 9);
    fillRandom(*dst, dstFormat, rng, false);
    const Bytes before = storedBytes(*dst);
    EXPECT_EQ(op(*src, dst.get(), 2, 2, false), 0) << srcFormat.name << " onto " << dstFormat.name;
    EXPECT_TRUE(sameBytes(storedBytes(*dst), before));
}

std::optional<std::uint32_t> ifVisible(std::uint32_t s, std::uint32_t v) {
    return s ? std::optional<std::uint32_t>(v) : std::nullopt;
}

const char* const k16[] = {"555", "565"};

// The operations under test, each with its arguments fixed.
#define EFFECT(call) Operation([](Image& s, Image* d, int x, int y, bool c) { return s.call; })
constexpr std::uint32_t kMatch = 0x0ABC;
const Operation kSilhouette = EFFECT(drawSilhouette(d, x, y, c, 0x1357));
const Operation kRecoloured = EFFECT(drawRecoloured(d, x, y, c, 0x0F0F, kMatch));
const Operation kTranslucent = EFFECT(drawTranslucent(d, x, y, c));
const Operation kTinted = EFFECT(drawTinted(d, x, y, c, 0x7FFF));
const Operation kShadow = EFFECT(drawShadow(d, x, y, c));
const Operation kColourMixed = EFFECT(drawColourMixed(d, x, y, c, 0x5A5A));
const Operation kAdditive = EFFECT(drawAdditive(d, x, y, c));
const Operation kSubtractive = EFFECT(drawSubtractive(d, x, y, c));
const Operation kFlipped = EFFECT(drawFlipped(d, x, y, c));
const Operation kTransparentFlipped = EFFECT(drawTransparentFlipped(d, x, y, c));
const Operation kTranslucentFlipped = EFFECT(drawTranslucentFlipped(d, x, y, c));
const Operation kTransparent = EFFECT(drawTransparent(d, x, y, c, 0));
const Operation kBlended90 = EFFECT(drawBlended(d, x, y, c, 90));
const Operation kBlended128 = EFFECT(drawBlended(d, x, y, c, 128));
const Operation kAlphaMasked = EFFECT(drawAlphaMasked(d, x, y, c, &s));
#undef EFFECT

TEST(Effects, SilhouetteAndRecolour) {
    for (const char* name : k16) {
        checkOperation(
            format(name), kSilhouette, [](std::uint32_t s, std::uint32_t) { return ifVisible(s, 0x1357); },
            false);
        // The match colour is one the source really holds, in several places.
        checkOperation(
            format(name), kRecoloured,
            [](std::uint32_t s, std::uint32_t) { return ifVisible(s, s == kMatch ? 0x0F0F : s); }, false,
            [](Image& s) {
                s.putPixel(0, 0, kMatch);
                s.putPixel(3, 2, kMatch);
                s.putPixel(4, 3, kMatch);
            });
    }
}

TEST(Effects, BlendWeighsEachChannel) {
    for (const char* name : {"555", "565", "24", "32"}) {
        const PixelFormat& f = format(name);
        for (int alpha : {0, 1, 77, 128, 255}) {
            SCOPED_TRACE(alpha);
            checkOperation(
                f,
                [alpha](Image& s, Image* d, int x, int y, bool c) {
                    return s.drawBlended(d, x, y, c, alpha);
                },
                [&f, alpha](std::uint32_t s, std::uint32_t d) {
                    return ifVisible(f.bits == 32 ? s & 0xFFFFFF : s, blended(f, s, d, alpha));
                },
                false);
        }
    }
    // Only the fourth byte set: the three channels are 0, so the pixel is skipped.
    const PixelFormat& f32 = format("32");
    auto src = test::makeImage(f32, 1, 1);
    src->putPixel(0, 0, 0xFF000000);
    auto dst = test::makeImage(f32, 1, 1);
    dst->putPixel(0, 0, 0x00102030);
    EXPECT_EQ(src->drawBlended(dst.get(), 0, 0, false, 200), 1);
    EXPECT_EQ(dst->getPixel(0, 0), 0x00102030u);
}

TEST(Effects, HalvingFamilyAndSaturatingArithmetic) {
    for (const char* name : k16) {
        const PixelFormat& f = format(name);
        checkOperation(
            f, kTranslucent,
            [&f](std::uint32_t s, std::uint32_t d) { return ifVisible(s, mixHalves(f, s, d)); }, false);
        checkOperation(
            f, kTinted,
            [&f](std::uint32_t s, std::uint32_t d) { return ifVisible(s, mixHalves(f, d, 0x7FFF & f.mask)); },
            false);
        checkOperation(
            f, kShadow, [&f](std::uint32_t s, std::uint32_t d) { return ifVisible(s, halved(f, d)); }, false);
        // Colour mix touches every pixel, 0 included.
        checkOperation(
            f, kColourMixed,
            [&f](std::uint32_t s, std::uint32_t) { return mixHalves(f, s, 0x5A5A & f.mask); }, false);
        checkOperation(
            f, kAdditive, [&f](std::uint32_t s, std::uint32_t d) { return addClamped(f, d, s); }, false);
        checkOperation(
            f, kSubtractive, [&f](std::uint32_t s, std::uint32_t d) { return subtractClamped(f, d, s); },
            false);
    }
}

TEST(Effects, FormatsWithoutTheRoutineDrawNothing) {
    const struct {
        const Operation& op;
        std::vector<const char*> formats;
    } cases[] = {
        {kSilhouette, {"8", "24", "32"}},
        {kRecoloured, {"8", "24", "32"}},
        {kTinted, {"8", "24", "32"}},
        {kShadow, {"8", "24", "32"}},
        {kColourMixed, {"8", "24", "32"}},
        {kAdditive, {"8", "24", "32"}},
        {kSubtractive, {"8", "24", "32"}},
        {kTransparentFlipped, {"24"}},
        {kTranslucent, {"8"}},  // an 8-bit source without a palette has nothing to mix with
    };
    for (const auto& c : cases)
        for (const char* name : c.formats) checkRefused(format(name), format(name), c.op);
    // Across formats, the operations without a fallback draw nothing either.
    checkRefused(format("555"), format("565"), kSilhouette);
    checkRefused(format("565"), format("555"), kAdditive);
    checkRefused(format("555"), format("32"), kFlipped);
}

// Every pair of values of one channel, the other channels random, straight
// through the row routines two pixels at a time and one at a time.
TEST(Effects, SaturationRespectsEachChannelBoundary) {
    std::mt19937 rng(9);
    const struct {
        const char* name;
        EffectFormat effects;
    } layouts[] = {{"555", EffectFormat::Rgb555}, {"565", EffectFormat::Rgb565}};
    for (const auto& layout : layouts) {
        const PixelFormat& f = format(layout.name);
        std::array<RowRoutine, RoutineCount> table{};
        installEffectRoutines(table, layout.effects);
        for (const Channel& channel : channelsOf(f)) {
            std::vector<std::uint16_t> src, dst;
            for (std::uint32_t a = 0; a <= channel.max; ++a)
                for (std::uint32_t b = 0; b <= channel.max; ++b) {
                    const std::uint32_t others = rng() & f.mask & ~(channel.max << channel.shift);
                    dst.push_back(std::uint16_t(others | (a << channel.shift)));
                    src.push_back(std::uint16_t((rng() & f.mask & ~(channel.max << channel.shift)) |
                                                (b << channel.shift)));
                }
            src.push_back(0x1234 & f.mask);  // an odd count leaves one pixel alone at the end
            dst.push_back(0x4321 & f.mask);
            for (bool add : {true, false}) {
                std::vector<std::uint16_t> out = dst;
                BlitParams p;
                p.src = reinterpret_cast<const std::uint8_t*>(src.data());
                p.dst = reinterpret_cast<std::uint8_t*>(out.data());
                p.width = int(src.size());
                p.rows = 1;
                table[add ? RoutineAdditive : RoutineSubtractive](p);
                for (std::size_t i = 0; i < src.size(); ++i) {
                    const std::uint32_t want =
                        add ? addClamped(f, dst[i], src[i]) : subtractClamped(f, dst[i], src[i]);
                    ASSERT_EQ(out[i], want) << layout.name << (add ? " add " : " subtract ") << std::hex
                                            << dst[i] << ", " << src[i];
                }
            }
        }
    }
    // Full red plus a little red stays full red; 0 minus anything stays 0.
    auto red = std::make_unique<MemoryImage555>(1, 1);
    auto onto = std::make_unique<MemoryImage555>(1, 1);
    red->putPixel(0, 0, 0x0400);
    onto->putPixel(0, 0, 0x7C00);
    ASSERT_EQ(red->drawAdditive(onto.get(), 0, 0, false), 1);
    EXPECT_EQ(onto->getPixel(0, 0), 0x7C00u);
    onto->putPixel(0, 0, 0);
    ASSERT_EQ(red->drawSubtractive(onto.get(), 0, 0, false), 1);
    EXPECT_EQ(onto->getPixel(0, 0), 0u);
}

// The nearest entry to the even mix of two entries, searched here from scratch.
std::uint8_t mixOf(const Palette& p, int i, int j) {
    const PaletteEntry& a = p.entries[std::size_t(i)];
    const PaletteEntry& b = p.entries[std::size_t(j)];
    const int r = (a.red + b.red) / 2, g = (a.green + b.green) / 2, bl = (a.blue + b.blue) / 2;
    int best = 0, bestDistance = 1 << 30;
    for (int k = 0; k < 256; ++k) {
        const PaletteEntry& e = p.entries[std::size_t(k)];
        const int distance = std::abs(e.red - r) + std::abs(e.green - g) + std::abs(e.blue - bl);
        if (distance < bestDistance) best = k, bestDistance = distance;
    }
    return std::uint8_t(best);
}

TEST(Effects, EightBitTranslucencyMixesThroughThePalette) {
    std::mt19937 rng(3);
    auto* palette = new Palette;
    for (PaletteEntry& e : palette->entries)
        e = {std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng()), 0};
    const PixelFormat& f8 = format("8");
    auto keeper = test::makeImage(f8, 1, 1);
    keeper->setPalette(palette);
    EXPECT_FALSE(palette->hasMixTable);
    auto givePalette = [palette](Image& src) { src.setPalette(palette); };
    auto rule = [palette](std::uint32_t s, std::uint32_t d) {
        return ifVisible(s, mixOf(*palette, int(d), int(s)));
    };
    checkOperation(f8, kTranslucent, rule, false, givePalette);
    EXPECT_TRUE(palette->hasMixTable);  // built on first use
    checkOperation(f8, kTranslucentFlipped, rule, true, givePalette);
}

TEST(Effects, FlippedDrawsUpsideDown) {
    for (const PixelFormat& f : kFormats)
        checkOperation(
            f, kFlipped, [](std::uint32_t s, std::uint32_t) { return s; }, true);
    for (const char* name : {"8", "555", "565", "32"})
        checkOperation(
            format(name), kTransparentFlipped, [](std::uint32_t s, std::uint32_t) { return ifVisible(s, s); },
            true);
    for (const char* name : k16) {
        const PixelFormat& f = format(name);
        checkOperation(
            f, kTranslucentFlipped,
            [&f](std::uint32_t s, std::uint32_t d) { return ifVisible(s, mixHalves(f, s, d)); }, true);
    }
}

// A fallback draws exactly what the simpler operation draws on the same destination.
void checkFallback(const PixelFormat& srcFormat, const PixelFormat& dstFormat, const Operation& op,
                   const Operation& simpler) {
    std::mt19937 rng(11);
    auto src = test::makeImage(srcFormat, 5, 4);
    fillRandom(*src, srcFormat, rng, true);
    for (const Placement& at : {Placement{-2, 3}, Placement{4, 1}, Placement{9, 7}}) {
        auto dst = test::makeImage(dstFormat, 12, 9);
        fillRandom(*dst, dstFormat, rng, false);
        auto other = copyOf(dstFormat, *dst);
        EXPECT_EQ(op(*src, dst.get(), at.x, at.y, false), 1) << srcFormat.name << " onto " << dstFormat.name;
        EXPECT_EQ(simpler(*src, other.get(), at.x, at.y, false), 1);
        EXPECT_TRUE(sameBytes(storedBytes(*dst), storedBytes(*other)))
            << srcFormat.name << " onto " << dstFormat.name;
    }
}

TEST(Effects, FallbacksTakeTheSimplerOperation) {
    // Blend without a routine, or across formats: the transparent copy.
    checkFallback(format("8"), format("8"), kBlended90, kTransparent);
    checkFallback(format("555"), format("32"), kBlended90, kTransparent);
    // Translucent without a routine: a blend at 128, which 24 and 32 bits have.
    checkFallback(format("24"), format("24"), kTranslucent, kBlended128);
    checkFallback(format("32"), format("32"), kTranslucent, kBlended128);
    checkFallback(format("565"), format("24"), kTranslucent, kTransparent);
    // Flipped translucency falls back to the transparent copy, the right way up.
    checkFallback(format("24"), format("24"), kTranslucentFlipped, kTransparent);
    checkFallback(format("32"), format("32"), kTranslucentFlipped, kTransparent);
    for (const PixelFormat& f : kFormats) checkFallback(f, f, kAlphaMasked, kTransparent);

    // The 5-6-5 shown buffer has only silhouette and recolour of the effects.
    std::mt19937 rng(13);
    DibImage565 dib(nullptr, 12, 9);
    ASSERT_TRUE(dib.isValid());
    EXPECT_NE(dib.routine(RoutineSilhouette), nullptr);
    EXPECT_NE(dib.routine(RoutineRecolour), nullptr);
    for (RoutineSlot slot : {RoutineBlend, RoutineTranslucent, RoutineTint, RoutineTranslucentFill,
                             RoutineShadow, RoutineColourMix, RoutineAdditive, RoutineSubtractive})
        EXPECT_EQ(dib.routine(slot), nullptr) << slot;
    const PixelFormat& f565 = format("565");
    fillRandom(dib, f565, rng, true);
    auto dst = test::makeImage(f565, 14, 10);
    fillRandom(*dst, f565, rng, false);
    auto other = copyOf(f565, *dst);
    EXPECT_EQ(dib.drawTranslucent(dst.get(), 1, 0, false), 1);
    EXPECT_EQ(dib.drawTransparent(other.get(), 1, 0, false, 0), 1);
    EXPECT_TRUE(sameBytes(storedBytes(*dst), storedBytes(*other)));
    EXPECT_EQ(dib.drawShadow(dst.get(), 1, 0, false), 0);
    EXPECT_EQ(dib.drawSilhouette(dst.get(), 1, 0, false, 0x1234), 1);
    EXPECT_EQ(dst->getPixel(1 + 11, 8), dib.getPixel(11, 8) ? 0x1234u : other->getPixel(12, 8));
}

TEST(Effects, ScaledDrawRepeatsAndSkipsPixels) {
    std::mt19937 rng(21);
    for (const PixelFormat& f : kFormats) {
        SCOPED_TRACE(f.name);
        auto src = test::makeImage(f, 8, 8);
        fillRandom(*src, f, rng, false);
        auto check = [&](int w, int h, auto sourceOf) {
            auto dst = test::makeImage(f, 20, 20);
            fillRandom(*dst, f, rng, false);
            auto expected = copyOf(f, *dst);
            for (int r = 0; r < h; ++r)
                for (int c = 0; c < w; ++c) {
                    auto [sc, sr] = sourceOf(c, r);
                    expected->putPixel(3 + c, 2 + r, src->getPixel(sc, sr));
                }
            EXPECT_EQ(src->drawScaled(dst.get(), 3, 2, w, h), 1);
            EXPECT_TRUE(sameBytes(storedBytes(*dst), storedBytes(*expected))) << w << " x " << h;
        };
        check(16, 16, [](int c, int r) { return std::pair(c / 2, r / 2); });
        check(4, 4, [](int c, int r) { return std::pair(c * 2, r * 2); });
        check(8, 8, [](int c, int r) { return std::pair(c, r); });
        check(16, 2, [](int c, int r) { return std::pair(c / 2, r * 4); });

        // No clipping: a target reaching past dst, or off its top-left, draws nothing.
        auto dst = test::makeImage(f, 20, 20);
        fillRandom(*dst, f, rng, false);
        const Bytes before = storedBytes(*dst);
        EXPECT_EQ(src->drawScaled(dst.get(), 5, 5, 16, 8), 0);
        EXPECT_EQ(src->drawScaled(dst.get(), 0, 13, 8, 8), 0);
        EXPECT_EQ(src->drawScaled(dst.get(), -1, 0, 8, 8), 0);
        EXPECT_EQ(src->drawScaled(dst.get(), 0, 0, 0, 8), 0);
        EXPECT_TRUE(sameBytes(storedBytes(*dst), before));
        EXPECT_EQ(src->drawScaled(dst.get(), 4, 12, 16, 8), 1);  // exactly to the corner
    }
    auto a = test::makeImage(format("555"), 4, 4);
    auto b = test::makeImage(format("565"), 8, 8);
    EXPECT_EQ(a->drawScaled(b.get(), 0, 0, 8, 8), 0);
}

TEST(Effects, TranslucentFillMixesTheClippedRectangle) {
    std::mt19937 rng(31);
    for (const char* name : k16) {
        const PixelFormat& f = format(name);
        const std::uint32_t colour = 0x2AD5 & f.mask;
        auto check = [&](int x1, int y1, int x2, int y2, int left, int top, int right, int bottom) {
            auto image = test::makeImage(f, 10, 7);
            fillRandom(*image, f, rng, true);
            auto expected = copyOf(f, *image);
            for (int y = top; y <= bottom; ++y)
                for (int x = left; x <= right; ++x)
                    expected->putPixel(x, y, mixHalves(f, expected->getPixel(x, y), colour));
            image->fillTranslucent(x1, y1, x2, y2, colour);
            EXPECT_TRUE(sameBytes(storedBytes(*image), storedBytes(*expected)))
                << name << " " << x1 << "," << y1 << " " << x2 << "," << y2;
        };
        check(2, 1, 5, 3, 2, 1, 5, 3);
        check(5, 3, 2, 1, 2, 1, 5, 3);      // corners in either order
        check(-4, -2, 30, 30, 0, 0, 9, 6);  // clipped to the image
        check(9, 6, 9, 6, 9, 6, 9, 6);      // the last pixel alone
        check(-3, 2, 0, 5, 1, 1, 0, 0);     // right corner at 0: nothing
        check(2, -3, 5, 0, 1, 1, 0, 0);     // bottom corner at 0: nothing
        check(10, 0, 12, 6, 1, 1, 0, 0);    // starting past the right edge: nothing
    }
    for (const char* name : {"8", "24", "32"}) {
        const PixelFormat& f = format(name);
        auto image = test::makeImage(f, 6, 6);
        fillRandom(*image, f, rng, false);
        const Bytes before = storedBytes(*image);
        image->fillTranslucent(0, 0, 5, 5, 0x123);
        EXPECT_TRUE(sameBytes(storedBytes(*image), before)) << name;
    }
}

}  // namespace
}  // namespace trellisor
