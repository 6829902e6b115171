// Every drawing operation of Image in every pixel format, as golden hashes: each hash covers what
// every call returned and every destination byte after it, so any pixel that moves, any edge
// drawn one pixel too far and any routine that draws where it should not is caught. A failure
// prints the new hash: after a deliberate change, look at the pictures before taking it.
#include <gtest/gtest.h>

#include <functional>

#include "gfx/CompiledSprite.h"
#include "gfx/CopyRoutines.h"
#include "gfx/DibImage.h"
#include "support/Pixels.h"

namespace trellisor {
namespace {

using test::Bytes;
constexpr std::uint32_t kMatch = 0x0ABC;

// What a run of drawing calls did.
struct Log {
    Bytes bytes;
    void call(int result, Image& dst) {
        bytes.push_back(std::uint8_t(result));
        const Bytes stored = test::storedBytes(dst);
        bytes.insert(bytes.end(), stored.begin(), stored.end());
    }
};

// A new image like `format`, its row padding zero so that the hashes see any write into it.
std::unique_ptr<Image> blankLike(const Image& format, int w, int h) {
    auto image = test::makeLike(format, w, h);
    test::setStoredBytes(*image, Bytes(std::size_t(image->pitchBytes()) * std::size_t(h)));
    return image;
}

std::unique_ptr<Image> randomLike(const Image& format, int w, int h, std::mt19937& rng, bool zeros) {
    auto image = blankLike(format, w, h);
    test::fillRandom(*image, rng, zeros);
    return image;
}

// A source of w x h random pixels (a quarter of them 0) like `format`; 8-bit ones get a random palette.
std::unique_ptr<Image> source(const Image& format, int w, int h, std::mt19937& rng) {
    auto src = randomLike(format, w, h, rng, true);
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

using Operation = std::function<int(Image& s, Image* d, int x, int y, bool centred)>;
#define OP(call)                                                                                      \
    [](Image& s, Image* d, [[maybe_unused]] int x, [[maybe_unused]] int y, [[maybe_unused]] bool c) { \
        return s.call;                                                                                \
    }

// A 5- or 6-wide, 4-high source in a 12 x 9 destination of its own format, then of each format
// (8 bits with a palette) to convert into: inside, one column or row over each edge, the corners,
// exactly beside each edge and far away, each also centred; then from an invalid image, onto one,
// and onto none.
void everyPlace(const Operation& op, const Image& format, Log& log) {
    std::mt19937 rng(77);
    const auto targets = test::everyFormat(1, 1);
    for (int w : {5, 6}) {
        auto src = source(format, w, 4, rng);
        const int places[][2] = {{3, 2},  {-w + 1, 2}, {11, 2}, {3, -3},          {3, 8},         {-3, -2},
                                 {9, 7},  {10, -3},    {0, 0},  {12 - w, 5},      {7, 5},         {-w, 2},
                                 {12, 2}, {3, -4},     {3, 9},  {-2000000000, 0}, {2000000000, 5}};
        for (std::size_t t = 0; t <= targets.size(); ++t)
            for (auto [x, y] : places)
                for (bool centred : {false, true}) {
                    auto dst =
                        t ? source(*targets[t - 1], 12, 9, rng) : randomLike(format, 12, 9, rng, false);
                    log.call(op(*src, dst.get(), x, y, centred), *dst);
                }
        auto invalid = test::makeLike(format, 0, 3);
        log.bytes.push_back(std::uint8_t(op(*src, invalid.get(), 0, 0, false)));
        log.bytes.push_back(std::uint8_t(op(*src, nullptr, 0, 0, false)));
        log.call(op(*invalid, src.get(), 0, 0, false), *src);
    }
}

// Rows of every width through the vector and the plain loops (and the compiled sprites where
// the processor has them: they must draw the same), zeros mixed with pixels holding zero bytes.
void everyWidth(const Image& format, Log& log) {
    std::mt19937 rng(5);
    const bool compiles = format.bitsPerPixel() != 24 && compiledSpritesSupported();
    for (int w : {1, 2, 3, 4, 5, 7, 8, 9, 11, 12, 13, 15, 16, 17, 24, 31, 32, 33, 47, 64, 70})
        for (int variant = 0; variant < 3; ++variant) {
            if (variant == 1 && format.bitsPerPixel() != 8) continue;  // only 8 bits have two loops
            setVectorCopyAllowed(variant != 1);
            auto src = blankLike(format, w, 17);
            setVectorCopyAllowed(true);
            for (int y = 0; y < 17; ++y)  // the last row: only its first pixel transparent
                for (int x = 0; x < w; ++x) {
                    std::uint32_t v =
                        rng() & test::maskOf(format) & ((x + y) % 3 ? 0xFFFFFFFFu : 0xFF00FF00u);
                    if (y == 16) v |= 1;
                    const bool shown = y == 16 ? x > 0 : (y >> (x & 3)) & 1;
                    src->putPixel(x, y, shown ? (v | (1u << (8 * (x % 2)))) & test::maskOf(format) : 0);
                }
            for (bool transparent : {false, true}) {
                if (variant == 2 && compiles) {
                    EXPECT_TRUE(src->buildCompiledSprite(transparent));
                }
                for (auto [x, y, dw] :
                     {std::tuple{1, 1, w + 2}, {w > 1 ? -1 : 0, 0, w + 2}, {0, -3, w}, {0, 2, w}}) {
                    auto dst = randomLike(format, dw, 18, rng, false);
                    log.call(transparent ? src->drawTransparent(dst.get(), x, y, false, 0)
                                         : src->draw(dst.get(), x, y, false, 0),
                             *dst);
                }
            }
        }
}

// Scaled up, down, unevenly, to the corner, and refused past the destination or empty.
void scaled(const Image& format, Log& log) {
    std::mt19937 rng(21);
    auto src = randomLike(format, 8, 8, rng, false);
    const int calls[][4] = {{3, 2, 16, 16}, {3, 2, 4, 4},   {3, 2, 8, 8},  {3, 2, 16, 2},
                            {3, 2, 17, 3},  {4, 12, 16, 8}, {5, 5, 16, 8}, {0, 13, 8, 8},
                            {-1, 0, 8, 8},  {0, -1, 8, 8},  {0, 0, 0, 8},  {0, 0, 8, 0}};
    for (auto [x, y, w, h] : calls) {
        auto dst = randomLike(format, 20, 20, rng, false);
        log.call(src->drawScaled(dst.get(), x, y, w, h), *dst);
    }
    log.bytes.push_back(std::uint8_t(src->drawScaled(nullptr, 0, 0, 8, 8)));
}

// Corners in either order, clipped, single pixels, and rectangles wholly outside.
void translucentFill(const Image& format, Log& log) {
    std::mt19937 rng(31);
    const int corners[][4] = {{2, 1, 5, 3},  {5, 3, 2, 1},  {-4, -2, 30, 30}, {9, 6, 9, 6}, {1, 1, 1, 1},
                              {-3, 2, 0, 5}, {2, -3, 5, 0}, {10, 0, 12, 6},   {0, 7, 4, 9}};
    for (auto [x1, y1, x2, y2] : corners) {
        auto image = randomLike(format, 10, 7, rng, true);
        image->fillTranslucent(x1, y1, x2, y2, 0x2AD5 & test::maskOf(*image));
        log.call(0, *image);
    }
}

// The 16-bit saturating routines on every pair of values of each channel, the other channels
// random, two pixels at a time and one alone at the end.
void saturation(const Image& format, Log& log) {
    if (format.bitsPerPixel() != 16) return;
    std::mt19937 rng(9);
    const bool six = format.layout16() == 2;
    for (auto [shift, max] : {std::pair{six ? 11u : 10u, 31u}, {5u, six ? 63u : 31u}, {0u, 31u}}) {
        const int n = int((max + 1) * (max + 1)) + 1;
        auto src = blankLike(format, n, 1), sum = blankLike(format, n, 1),
             difference = blankLike(format, n, 1);
        const std::uint32_t others = test::maskOf(format) & ~(max << shift);
        for (std::uint32_t i = 0; i < std::uint32_t(n); ++i) {
            src->putPixel(int(i), 0, (rng() & others) | (i % (max + 1) << shift));
            const std::uint32_t v = (rng() & others) | (i / (max + 1) % (max + 1) << shift);
            sum->putPixel(int(i), 0, v);
            difference->putPixel(int(i), 0, v);
        }
        log.call(src->drawAdditive(sum.get(), 0, 0, false), *sum);
        log.call(src->drawSubtractive(difference.get(), 0, 0, false), *difference);
    }
}

// Every operation at every place, then the sweeps; one hash per format (8, 555, 565, 24 and 32 bits).
TEST(Draw, EveryOperationInEveryFormatMatchesItsGoldenHash) {
    // clang-format off
    const Operation operations[] = {
        OP(draw(d, x, y, c, 0)), OP(draw(d, x, y, c, 1)), OP(drawTransparent(d, x, y, c, 0)),
        OP(drawTransparent(d, x, y, c, 1)), OP(drawAlphaMasked(d, x, y, c, &s)), OP(drawAtOrigin(d)),
        OP(drawFlipped(d, x, y, c)), OP(drawTransparentFlipped(d, x, y, c)), OP(drawShadow(d, x, y, c)),
        OP(drawSilhouette(d, x, y, c, 0x1357)), OP(drawRecoloured(d, x, y, c, 0x0F0F, kMatch)),
        OP(drawTinted(d, x, y, c, 0x7FFF)), OP(drawColourMixed(d, x, y, c, 0x5A5A)),
        OP(drawAdditive(d, x, y, c)), OP(drawSubtractive(d, x, y, c)), OP(drawBlended(d, x, y, c, 90)),
        OP(drawBlended(d, x, y, c, 300)), OP(drawBlended(d, x, y, c, -5)), OP(drawTranslucent(d, x, y, c)),
        OP(drawTranslucentFlipped(d, x, y, c))};
    // clang-format on
    const std::uint32_t hashes[] = {0xE65E6D12, 0xBED12BC8, 0x1E2ACD51, 0x152907B7, 0x25EC8ADA};
    const auto formats = test::everyFormat(1, 1);
    for (std::size_t f = 0; f < 5; ++f) {
        Log log;
        for (const Operation& op : operations) everyPlace(op, *formats[f], log);
        for (auto sweep : {everyWidth, scaled, translucentFill, saturation}) sweep(*formats[f], log);
        EXPECT_EQ(test::fnv1a(log.bytes), hashes[f])
            << formats[f]->bitsPerPixel() << "/" << formats[f]->layout16();
    }
}

// 8 bits without a palette have nothing to mix with; the 5-6-5 shown buffer has only
// silhouette and recolour.
TEST(Draw, WithoutAPaletteAndFromTheShownBuffer) {
    std::mt19937 rng(13);
    Log log;
    auto bare = blankLike(MemoryImage8(1, 1), 2, 1), onto = blankLike(MemoryImage8(1, 1), 2, 1);
    bare->clear(3);
    onto->clear(4);
    log.call(bare->drawTranslucent(onto.get(), 0, 0, false), *onto);

    DibImage565 dib(nullptr, 6, 4);
    test::setStoredBytes(dib, Bytes(std::size_t(dib.pitchBytes()) * 4));
    test::fillRandom(dib, rng, true);
    auto dst = randomLike(MemoryImage565(1, 1), 8, 6, rng, false);
    for (const Operation& op : std::initializer_list<Operation>{
             OP(drawTranslucent(d, x, y, c)), OP(drawShadow(d, x, y, c)),
             OP(drawSilhouette(d, x, y, c, 0x1234)), OP(drawRecoloured(d, x, y, c, 0x0F0F, kMatch))})
        log.call(op(dib, dst.get(), 1, 1, false), *dst);
    dib.fillTranslucent(0, 0, 5, 3, 0x1234);
    log.call(0, dib);
    EXPECT_EQ(test::fnv1a(log.bytes), 0x8AB3988Au);
}

}  // namespace
}  // namespace trellisor
