// Every drawing operation of Image against a per-pixel reference written here: at each
// edge, beside the destination and centred, in each pixel format; formats without a
// routine draw nothing or take the simpler operation; flipped operations draw upside down.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>

#include "gfx/CopyRoutines.h"
#include "gfx/DibImage.h"
#include "support/Pixels.h"

namespace trellisor {
namespace {

using test::Bytes;
using Value = std::optional<std::uint32_t>;  // what a pixel becomes; nothing: left alone
constexpr std::uint32_t kMatch = 0x0ABC;

// --- reference arithmetic, channel by channel ---

struct Channel {
    int shift;
    std::uint32_t max;
};

std::array<Channel, 3> channelsOf(const Image& f) {
    if (f.bitsPerPixel() == 16 && f.layout16() == 1) return {{{10, 31}, {5, 31}, {0, 31}}};
    if (f.bitsPerPixel() == 16) return {{{11, 31}, {5, 63}, {0, 31}}};
    return {{{16, 255}, {8, 255}, {0, 255}}};
}

template <class Op>
std::uint32_t eachChannel(const Image& f, std::uint32_t a, std::uint32_t b, Op op) {
    std::uint32_t out = 0;
    for (const Channel& c : channelsOf(f))
        out |= std::uint32_t(op(int((a >> c.shift) & c.max), int((b >> c.shift) & c.max), int(c.max)))
               << c.shift;
    return out;
}
std::uint32_t halved(const Image& f, std::uint32_t v) {
    return eachChannel(f, v, 0, [](int a, int, int) { return a / 2; });
}
std::uint32_t mixHalves(const Image& f, std::uint32_t a, std::uint32_t b) {
    return halved(f, a) + halved(f, b);
}
std::uint32_t addClamped(const Image& f, std::uint32_t a, std::uint32_t b) {
    return eachChannel(f, a, b, [](int x, int y, int max) { return std::min(x + y, max); });
}
std::uint32_t subtractClamped(const Image& f, std::uint32_t a, std::uint32_t b) {
    return eachChannel(f, a, b, [](int x, int y, int) { return std::max(x - y, 0); });
}
Value blended(const Image& f, std::uint32_t s, std::uint32_t d, int alpha) {
    if ((s & 0xFFFFFF) == 0) return std::nullopt;  // 32 bits: the fourth byte alone is no colour
    const std::uint32_t mix =
        eachChannel(f, s, d, [alpha](int x, int y, int) { return (x * alpha + y * (256 - alpha)) / 256; });
    return mix | (f.bitsPerPixel() == 32 ? d & 0xFF000000u : 0);
}
Value visible(std::uint32_t s, std::uint32_t v) { return s ? Value(v) : std::nullopt; }
// The 8-bit mix: the entry nearest the even mix of the destination's and the source's entries.
std::uint32_t paletteMix(const Image& src, std::uint32_t s, std::uint32_t d) {
    const Palette& p = *src.palette();
    const PaletteEntry a = p.entries[d], b = p.entries[s];
    return p.nearestIndex((a.red + b.red) / 2, (a.green + b.green) / 2, (a.blue + b.blue) / 2);
}

using Rule = std::function<Value(const Image& src, std::uint32_t s, std::uint32_t d)>;
using Operation = std::function<int(Image& s, Image* d, int x, int y, bool centred)>;
#define RULE(expr)                                                  \
    [](const Image& f, std::uint32_t s, std::uint32_t d) -> Value { \
        (void)f, (void)s, (void)d;                                  \
        return expr;                                                \
    }
#define OP(call) [](Image& s, Image* d, int x, int y, bool c) { return s.call; }

// dst after src is drawn at x, y (flipped: upside down) by the rule, as stored bytes.
Bytes expectedAfter(Image& src, Image& dst, int x, int y, bool flipped, const Rule& rule) {
    auto e = test::copyOf(dst);
    for (int row = 0; row < src.height(); ++row)
        for (int col = 0; col < src.width(); ++col) {
            const int dx = x + col, dy = y + (flipped ? src.height() - 1 - row : row);
            if (dx < 0 || dy < 0 || dx >= dst.width() || dy >= dst.height()) continue;
            if (const Value v = rule(src, src.getPixel(col, row), e->getPixel(dx, dy)))
                e->putPixel(dx, dy, *v);
        }
    return test::storedBytes(*e);
}

// A source of w x h random pixels (a quarter of them 0) like `format`; 8-bit ones get a random palette.
std::unique_ptr<Image> source(const Image& format, int w, int h, std::mt19937& rng) {
    auto src = test::makeLike(format, w, h);
    test::fillRandom(*src, rng, true);
    src->putPixel(1, 1, kMatch & test::maskOf(*src));  // for recolouring
    src->putPixel(w - 1, h - 1, kMatch & test::maskOf(*src));
    if (src->bitsPerPixel() == 8) {
        auto* palette = new Palette;
        for (PaletteEntry& e : palette->entries)
            e = {std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng()), 0};
        src->setPalette(palette);
    }
    return src;
}

struct Expect {
    bool draws;  // false: returns 0 and leaves the destination alone
    bool flipped;
    Rule rule;
};
struct Row {
    const char* name;
    Operation op;
    std::function<Expect(int bits)> expect;
};

const Rule kCopy = RULE(s), kKeyed = RULE(visible(s, s));
Expect all(const Rule& r, bool flipped = false) { return {true, flipped, r}; }
Expect only16(int bits, const Rule& r) { return {bits == 16, false, r}; }

const Row kOperations[] = {
    {"draw", OP(draw(d, x, y, c, 0)), [](int) { return all(kCopy); }},
    {"drawTransparent", OP(drawTransparent(d, x, y, c, 0)), [](int) { return all(kKeyed); }},
    {"drawAlphaMasked", OP(drawAlphaMasked(d, x, y, c, &s)), [](int) { return all(kKeyed); }},
    {"drawAtOrigin", [](Image& s, Image* d, int, int, bool) { return s.drawAtOrigin(d); },
     [](int) { return all(kCopy); }},
    {"drawFlipped", OP(drawFlipped(d, x, y, c)), [](int) { return all(kCopy, true); }},
    {"drawTransparentFlipped", OP(drawTransparentFlipped(d, x, y, c)),
     [](int bits) {
         return Expect{bits != 24, true, kKeyed};
     }},
    {"drawSilhouette", OP(drawSilhouette(d, x, y, c, 0x1357)),
     [](int bits) { return only16(bits, RULE(visible(s, 0x1357))); }},
    {"drawRecoloured", OP(drawRecoloured(d, x, y, c, 0x0F0F, kMatch)),
     [](int bits) { return only16(bits, RULE(visible(s, s == kMatch ? 0x0F0F : s))); }},
    {"drawTinted", OP(drawTinted(d, x, y, c, 0x7FFF)),
     [](int bits) { return only16(bits, RULE(visible(s, mixHalves(f, d, 0x7FFF & test::maskOf(f))))); }},
    {"drawShadow", OP(drawShadow(d, x, y, c)),
     [](int bits) { return only16(bits, RULE(visible(s, halved(f, d)))); }},
    {"drawColourMixed", OP(drawColourMixed(d, x, y, c, 0x5A5A)),
     [](int bits) { return only16(bits, RULE(mixHalves(f, s, 0x5A5A & test::maskOf(f)))); }},
    {"drawAdditive", OP(drawAdditive(d, x, y, c)),
     [](int bits) { return only16(bits, RULE(addClamped(f, d, s))); }},
    {"drawSubtractive", OP(drawSubtractive(d, x, y, c)),
     [](int bits) { return only16(bits, RULE(subtractClamped(f, d, s))); }},
    {"drawBlended 90", OP(drawBlended(d, x, y, c, 90)),  // without a routine: the transparent copy
     [](int bits) { return all(bits == 8 ? kKeyed : RULE(blended(f, s, d, 90))); }},
    {"drawBlended 300", OP(drawBlended(d, x, y, c, 300)),
     [](int bits) { return all(bits == 8 ? kKeyed : RULE(blended(f, s, d, 255))); }},
    {"drawBlended -5", OP(drawBlended(d, x, y, c, -5)),
     [](int bits) { return all(bits == 8 ? kKeyed : RULE(blended(f, s, d, 0))); }},
    {"drawTranslucent", OP(drawTranslucent(d, x, y, c)),  // 24 and 32 bits: a blend at 128
     [](int bits) {
         return all(bits == 8    ? RULE(visible(s, paletteMix(f, s, d)))
                    : bits == 16 ? RULE(visible(s, mixHalves(f, s, d)))
                                 : RULE(blended(f, s, d, 128)));
     }},
    {"drawTranslucentFlipped",
     OP(drawTranslucentFlipped(d, x, y, c)),  // 24 and 32: the transparent copy, unflipped
     [](int bits) {
         return bits == 8    ? all(RULE(visible(s, paletteMix(f, s, d))), true)
                : bits == 16 ? all(RULE(visible(s, mixHalves(f, s, d))), true)
                             : all(kKeyed);
     }},
};

template <class F>
class DrawFormat : public ::testing::Test {};
TYPED_TEST_SUITE(DrawFormat, test::AllFormats, test::FormatName);

// A 5- or 6-wide, 4-high source in a 12 x 9 destination: inside, one column or row over
// each edge, the corners, centred; and from exactly beside each edge nothing at all.
TYPED_TEST(DrawFormat, EveryOperationAtEveryEdge) {
    const auto format = TypeParam::make(1, 1);
    std::mt19937 rng(77);
    for (const Row& row : kOperations) {
        const Expect expect = row.expect(format->bitsPerPixel());
        const bool origin = row.name == std::string("drawAtOrigin");
        for (int w : {5, 6}) {
            auto src = source(*format, w, 4, rng);
            const std::pair<int, int> places[] = {{3, 2}, {-w + 1, 2}, {11, 2}, {3, -3},     {3, 8}, {-3, -2},
                                                  {9, 7}, {10, -3},    {0, 0},  {12 - w, 5}, {7, 5}};
            for (auto [x, y] : places) {
                for (bool centred : {false, true}) {
                    SCOPED_TRACE(::testing::Message() << row.name << ", width " << w << " at " << x << ","
                                                      << y << (centred ? " centred" : ""));
                    auto dst = TypeParam::make(12, 9);
                    test::fillRandom(*dst, rng, false);
                    // Centred on (x, y): the top-left goes to (x - width / 2, y - height / 2).
                    int left = centred ? x - w / 2 : x, top = centred ? y - 2 : y;
                    if (origin) left = top = 0;
                    const bool draws = expect.draws && left < 12 && left + w > 0 && top < 9 && top + 4 > 0;
                    const Bytes want = draws
                                           ? expectedAfter(*src, *dst, left, top, expect.flipped, expect.rule)
                                           : test::storedBytes(*dst);
                    EXPECT_EQ(row.op(*src, dst.get(), x, y, centred), draws ? 1 : 0);
                    EXPECT_EQ(test::storedBytes(*dst), want);
                }
            }
            if (origin) continue;
            for (auto [x, y] :
                 {std::pair{-w, 2}, {12, 2}, {3, -4}, {3, 9}, {-2000000000, 0}, {2000000000, 5}}) {
                auto dst = TypeParam::make(12, 9);
                test::fillRandom(*dst, rng, false);
                const Bytes before = test::storedBytes(*dst);
                EXPECT_EQ(row.op(*src, dst.get(), x, y, false), 0) << row.name << " beside " << x << "," << y;
                EXPECT_EQ(test::storedBytes(*dst), before) << row.name;
            }
            // Nothing to draw with or onto: an invalid image or none.
            auto invalid = TypeParam::make(0, 3);
            EXPECT_EQ(row.op(*src, invalid.get(), 0, 0, false), 0) << row.name;
            EXPECT_EQ(row.op(*src, nullptr, 0, 0, false), 0) << row.name;
            EXPECT_EQ(row.op(*invalid, src.get(), 0, 0, false), 0) << row.name;
        }
    }
}

// Rows of every width through the vector and the plain loops (and for 8, 16 and 32
// bits the compiled sprites), zeros mixed with pixels that hold zero bytes.
TYPED_TEST(DrawFormat, CopiesOfEveryWidth) {
    std::mt19937 rng(5);
    const auto format = TypeParam::make(1, 1);
    const bool compiles = format->bitsPerPixel() != 24 && compiledSpritesSupported();
    for (int w : {1, 2, 3, 4, 5, 7, 8, 9, 11, 12, 13, 15, 16, 17, 24, 31, 32, 33, 47, 64, 70}) {
        for (int variant = 0; variant < 3; ++variant) {
            if (variant == 1 && format->bitsPerPixel() != 8) continue;  // only 8 bits have two loops
            setVectorCopyAllowed(variant != 1);
            auto src = test::makeLike(*format, w, 17);
            setVectorCopyAllowed(true);
            for (int y = 0; y < 17; ++y)  // the last row: only its first pixel transparent
                for (int x = 0; x < w; ++x) {
                    std::uint32_t v =
                        rng() & test::maskOf(*format) & ((x + y) % 3 ? 0xFFFFFFFFu : 0xFF00FF00u);
                    if (y == 16) v |= 1;
                    const bool shown = y == 16 ? x > 0 : (y >> (x & 3)) & 1;
                    src->putPixel(x, y, shown ? (v | (1u << (8 * (x % 2)))) & test::maskOf(*format) : 0);
                }
            if (variant == 2 && !compiles) continue;
            for (bool transparent : {false, true}) {
                if (variant == 2) {
                    ASSERT_TRUE(src->buildCompiledSprite(transparent));
                }
                for (auto [x, y, dw] :
                     {std::tuple{1, 1, w + 2}, {w > 1 ? -1 : 0, 0, w + 2}, {0, -3, w}, {0, 2, w}}) {
                    auto dst = test::makeLike(*format, dw, 18);
                    test::fillRandom(*dst, rng, false);
                    const Bytes want = expectedAfter(*src, *dst, x, y, false, transparent ? kKeyed : kCopy);
                    EXPECT_EQ(transparent ? src->drawTransparent(dst.get(), x, y, false, 0)
                                          : src->draw(dst.get(), x, y, false, 0),
                              1);
                    EXPECT_EQ(test::storedBytes(*dst), want)
                        << "width " << w << " variant " << variant << " at " << x << "," << y;
                }
            }
        }
    }
}

TYPED_TEST(DrawFormat, ScaledDrawRepeatsAndSkipsPixels) {
    std::mt19937 rng(21);
    auto src = TypeParam::make(8, 8);
    test::fillRandom(*src, rng, false);
    auto check = [&](int w, int h, auto sourceOf) {
        auto dst = TypeParam::make(20, 20);
        test::fillRandom(*dst, rng, false);
        auto expected = test::copyOf(*dst);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) {
                auto [sc, sr] = sourceOf(c, r);
                expected->putPixel(3 + c, 2 + r, src->getPixel(sc, sr));
            }
        EXPECT_EQ(src->drawScaled(dst.get(), 3, 2, w, h), 1);
        EXPECT_EQ(test::storedBytes(*dst), test::storedBytes(*expected)) << w << " x " << h;
    };
    check(16, 16, [](int c, int r) { return std::pair(c / 2, r / 2); });
    check(4, 4, [](int c, int r) { return std::pair(c * 2, r * 2); });
    check(8, 8, [](int c, int r) { return std::pair(c, r); });
    check(16, 2, [](int c, int r) { return std::pair(c / 2, r * 4); });
    check(17, 3, [](int c, int r) { return std::pair(std::min(7, c * 8 / 17), std::min(7, r * 8 / 3)); });
    // No clipping: a target reaching past dst, or off its top-left, or empty, draws nothing.
    auto dst = TypeParam::make(20, 20);
    test::fillRandom(*dst, rng, false);
    const Bytes before = test::storedBytes(*dst);
    for (auto [x, y, w, h] :
         {std::tuple{5, 5, 16, 8}, {0, 13, 8, 8}, {-1, 0, 8, 8}, {0, -1, 8, 8}, {0, 0, 0, 8}, {0, 0, 8, 0}})
        EXPECT_EQ(src->drawScaled(dst.get(), x, y, w, h), 0) << x << "," << y << " " << w << "x" << h;
    EXPECT_EQ(test::storedBytes(*dst), before);
    EXPECT_EQ(src->drawScaled(dst.get(), 4, 12, 16, 8), 1);  // exactly to the corner
    EXPECT_EQ(src->drawScaled(nullptr, 0, 0, 8, 8), 0);
}

TYPED_TEST(DrawFormat, TranslucentFillMixesTheClippedRectangle) {
    std::mt19937 rng(31);
    const std::uint32_t colour = 0x2AD5 & test::maskOf(*TypeParam::make(1, 1));
    auto check = [&](int x1, int y1, int x2, int y2, int left, int top, int right, int bottom) {
        auto image = TypeParam::make(10, 7);
        test::fillRandom(*image, rng, true);
        auto expected = test::copyOf(*image);
        if (image->bitsPerPixel() == 16)  // no other format has the routine
            for (int y = top; y <= bottom; ++y)
                for (int x = left; x <= right; ++x)
                    expected->putPixel(x, y, mixHalves(*image, expected->getPixel(x, y), colour));
        image->fillTranslucent(x1, y1, x2, y2, colour);
        EXPECT_EQ(test::storedBytes(*image), test::storedBytes(*expected))
            << x1 << "," << y1 << " " << x2 << "," << y2;
    };
    check(2, 1, 5, 3, 2, 1, 5, 3);
    check(5, 3, 2, 1, 2, 1, 5, 3);      // corners in either order
    check(-4, -2, 30, 30, 0, 0, 9, 6);  // clipped to the image
    check(9, 6, 9, 6, 9, 6, 9, 6);      // the last pixel alone
    check(1, 1, 1, 1, 1, 1, 1, 1);
    check(-3, 2, 0, 5, 1, 1, 0, 0);   // right corner at 0: nothing
    check(2, -3, 5, 0, 1, 1, 0, 0);   // bottom corner at 0: nothing
    check(10, 0, 12, 6, 1, 1, 0, 0);  // starting past the right edge: nothing
    check(0, 7, 4, 9, 1, 1, 0, 0);    // or below the bottom
}

// The 16-bit saturating routines on every pair of values of each channel, the other
// channels random, two pixels at a time and one alone at the end.
TEST(Draw, SaturationRespectsEachChannelBoundary) {
    std::mt19937 rng(9);
    for (const std::unique_ptr<Image>& format :
         {test::makeLike(MemoryImage555(1, 1), 1, 1), test::makeLike(MemoryImage565(1, 1), 1, 1)})
        for (const Channel& c : channelsOf(*format)) {
            const int n = int((c.max + 1) * (c.max + 1)) + 1;
            auto src = test::makeLike(*format, n, 1), dst = test::makeLike(*format, n, 1);
            const std::uint32_t others = test::maskOf(*format) & ~(c.max << c.shift);
            for (std::uint32_t i = 0; i < std::uint32_t(n); ++i) {
                src->putPixel(int(i), 0, (rng() & others) | (i % (c.max + 1) << c.shift));
                dst->putPixel(int(i), 0, (rng() & others) | (i / (c.max + 1) % (c.max + 1) << c.shift));
            }
            auto sum = test::copyOf(*dst), difference = test::copyOf(*dst);
            EXPECT_EQ(src->drawAdditive(sum.get(), 0, 0, false) +
                          src->drawSubtractive(difference.get(), 0, 0, false),
                      2);
            EXPECT_EQ(test::storedBytes(*sum),
                      expectedAfter(*src, *dst, 0, 0, false, RULE(addClamped(f, d, s))));
            EXPECT_EQ(test::storedBytes(*difference),
                      expectedAfter(*src, *dst, 0, 0, false, RULE(subtractClamped(f, d, s))));
        }
}

// Between formats the copies convert each pixel, blending and translucency fall back
// to the converting transparent copy, and the other effects draw nothing.
TEST(Draw, AcrossFormatsPixelsAreConverted) {
    std::mt19937 rng(13);
    const std::unique_ptr<Image> formats[] = {
        std::make_unique<MemoryImage8>(1, 1), std::make_unique<MemoryImage555>(1, 1),
        std::make_unique<MemoryImage565>(1, 1), std::make_unique<MemoryImage24>(1, 1),
        std::make_unique<MemoryImage32>(1, 1)};
    for (const auto& from : formats)
        for (const auto& to : formats)
            for (int flags : {0, 1}) {
                auto src = source(*from, 5, 4, rng), dst = source(*to, 12, 9, rng);
                const bool same = from == to;
                const Image& target = *dst;
                const Rule converted = [&target](const Image& f, std::uint32_t s, std::uint32_t) -> Value {
                    int r = 0, g = 0, b = 0;
                    f.unpackColor(s, r, g, b);
                    return target.packColor(r, g, b);
                };
                const Rule keyed = [&](const Image& f, std::uint32_t s, std::uint32_t d) {
                    return s ? converted(f, s, d) : std::nullopt;
                };
                for (auto [x, y] : {std::pair{-2, 3}, {4, 1}, {9, 7}}) {
                    SCOPED_TRACE(::testing::Message()
                                 << from->bitsPerPixel() << "/" << from->layout16() << " onto "
                                 << to->bitsPerPixel() << "/" << to->layout16() << " flags " << flags
                                 << " at " << x << "," << y);
                    Bytes want = expectedAfter(*src, *dst, x, y, false, same && !flags ? kCopy : converted);
                    EXPECT_EQ(src->draw(dst.get(), x, y, false, flags), 1);
                    EXPECT_EQ(test::storedBytes(*dst), want);
                    want = expectedAfter(*src, *dst, x, y, false, same && !flags ? kKeyed : keyed);
                    EXPECT_EQ(src->drawTransparent(dst.get(), x, y, false, flags), 1);
                    EXPECT_EQ(test::storedBytes(*dst), want);
                    if (same) continue;
                    EXPECT_EQ(src->drawBlended(dst.get(), x, y, false, 90) +
                                  src->drawTranslucentFlipped(dst.get(), x, y, false) +
                                  src->drawTranslucent(dst.get(), x, y, false) +
                                  src->drawSilhouette(dst.get(), x, y, false, 1) +
                                  src->drawShadow(dst.get(), x, y, false) +
                                  src->drawFlipped(dst.get(), x, y, false) +
                                  src->drawAdditive(dst.get(), x, y, false),
                              3);
                    EXPECT_EQ(test::storedBytes(*dst), want);
                }
            }
    // 8 bits without a palette have nothing to mix with.
    auto bare = std::make_unique<MemoryImage8>(2, 1), onto = std::make_unique<MemoryImage8>(2, 1);
    bare->clear(3);
    onto->clear(4);
    EXPECT_EQ(bare->drawTranslucent(onto.get(), 0, 0, false), 0);
    EXPECT_EQ(onto->getPixel(0, 0), 4u);
}

// The 5-6-5 shown buffer has only silhouette and recolour of the effects.
TEST(Draw, TheDibFiveSixFiveImageHasOnlySilhouetteAndRecolour) {
    std::mt19937 rng(17);
    DibImage565 dib(nullptr, 6, 4);
    test::fillRandom(dib, rng, true);
    auto dst = std::make_unique<MemoryImage565>(8, 6);
    test::fillRandom(*dst, rng, false);
    const Bytes want = expectedAfter(dib, *dst, 1, 1, false, kKeyed);
    EXPECT_EQ(dib.drawTranslucent(dst.get(), 1, 1, false) + dib.drawShadow(dst.get(), 1, 1, false),
              1);  // no blend: the transparent copy
    EXPECT_EQ(test::storedBytes(*dst), want);
    EXPECT_EQ(dib.drawSilhouette(dst.get(), 1, 1, false, 0x1234), 1);
    EXPECT_EQ(test::storedBytes(*dst), expectedAfter(dib, *dst, 1, 1, false, RULE(visible(s, 0x1234))));
    const Bytes unfilled = test::storedBytes(dib);
    dib.fillTranslucent(0, 0, 5, 3, 0x1234);
    EXPECT_EQ(test::storedBytes(dib), unfilled);
}

}  // namespace
}  // namespace trellisor
