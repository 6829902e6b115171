// Ramp arithmetic and protection, and the colour operations over raw and row-coded
// sprites: brightness steps, recolouring, the strip, sparkles.
#include <gtest/gtest.h>

#include <cstdlib>

#include "preview/ColourOperations.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ColourRamps, RampShadeRecolourAndProtection) {
    for (int c = 0; c < 256; ++c) {  // (c - 10) / 12 and rem, truncating toward zero
        EXPECT_EQ(rampOfColour(std::uint8_t(c)), c < 10 ? 0 : (c - 10) / 12) << c;
        EXPECT_EQ(shadeOfColour(std::uint8_t(c)), c < 10 ? c - 10 : (c - 10) % 12) << c;
        for (int ramp : {0, 3, 18, 20})
            EXPECT_EQ(recolourIndex(std::uint8_t(c), std::uint8_t(ramp)),
                      (12 * ramp + 10 + shadeOfColour(std::uint8_t(c))) & 0xFF);
    }
    ProtectedRamps marks{};
    marks[0] = marks[17] = true;
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(isColourProtected(marks, std::uint8_t(c)), c <= 21 || (c >= 214 && c <= 225)) << c;
    for (int ramp : {-1, 18, 19}) EXPECT_FALSE(isRampProtected(ProtectedRamps{true, true, true}, ramp));
    EXPECT_TRUE(isRampProtected(ProtectedRamps{true}, 0));

    EXPECT_TRUE(parseProtectedRamps("all", marks));
    EXPECT_EQ(std::count(marks.begin(), marks.end(), true), 18);
    EXPECT_TRUE(parseProtectedRamps("", marks));
    EXPECT_EQ(std::count(marks.begin(), marks.end(), true), 0);
    EXPECT_TRUE(parseProtectedRamps(nullptr, marks));
    EXPECT_TRUE(parseProtectedRamps("0,05,17", marks));
    EXPECT_EQ(marks, (ProtectedRamps{true, false, false, false, false, true, false, false, false, false,
                                     false, false, false, false, false, false, false, true}));
    for (const char* bad : {"18", "-1", "1,,2", "1,", ",1", "x", "1;2", "100", "ALL", "1, 2"}) {
        EXPECT_FALSE(parseProtectedRamps(bad, marks)) << bad;
        EXPECT_EQ(marks[5], true) << bad;  // left as it was
    }
}

// Sprite 0 raw, sprite 1 row-coded (runs of at most 100 a row), sprite 2 of another
// format, each holding these indices.
PathObject objectWith(const Bytes& indices) {
    const int n = int(indices.size()), width = std::min(n, 100);
    std::vector<std::vector<test::Run>> rows;
    for (int start = 0; start < n; start += 100)
        rows.push_back(
            {test::Run{0, Bytes(indices.begin() + start, indices.begin() + std::min(n, start + 100))}});
    test::SpriteSpec raw = test::rawSprite(width, (n + 99) / 100, indices), other = raw;
    other.header.flags = 3;
    return test::buildObject({raw, test::rowCodedSprite(width, rows), other});
}

TEST(ColourOperations, BrightnessStaysInsideTheRampAndSkipsProtectedPixels) {
    const Bytes in = {21, 22, 10, 1, 0, 255, 15, 237, 226, 249, 250, 9};
    PathObject up = objectWith(in), down = objectWith(in);
    ProtectedRamps ramp2{};
    ramp2[2] = true;
    for (unsigned i = 0; i < 3; ++i)
        adjustSpriteBrightness(up, i, +1, {}), adjustSpriteBrightness(down, i, -1, {});
    // 21 is ramp 0's lightest; a raw 0 is transparent, a run's 0 becomes 1; 255's successor is another ramp.
    EXPECT_EQ(test::pixelsOf(up, 0), (Bytes{21, 23, 11, 2, 0, 255, 16, 237, 227, 249, 251, 10}));
    EXPECT_EQ(test::runPixelsOf(up, 1), (Bytes{21, 23, 11, 2, 1, 255, 16, 237, 227, 249, 251, 10}));
    EXPECT_EQ(test::pixelsOf(down, 0), (Bytes{20, 22, 9, 0, 0, 254, 14, 236, 226, 248, 250, 8}));
    EXPECT_EQ(test::runPixelsOf(down, 1), (Bytes{20, 22, 9, 0, 0, 254, 14, 236, 226, 248, 250, 8}));
    EXPECT_EQ(test::pixelsOf(up, 2), in) << "other formats are never touched";
    PathObject guarded = objectWith({32, 34, 44, 0});
    adjustSpriteBrightness(guarded, 1, +1, ramp2);
    EXPECT_EQ(test::runPixelsOf(guarded, 1), (Bytes{33, 34, 44, 1}));  // 34 and 44: ramp 2

    PathObject obj = test::buildObject(test::standardSprites(168));
    const PathObject original = test::buildObject(test::standardSprites(168));
    int path = 0, queue = 0;
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(stepPageBrightness(obj, PagePath, path, +1, {}));
    const Bytes atLimit = test::pixelsOf(obj, 3);
    EXPECT_NE(atLimit, test::pixelsOf(original, 3));
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, path, +1, {}));  // the counter stops at +12
    EXPECT_EQ(std::pair(path, test::pixelsOf(obj, 3)), std::pair(12, atLimit));
    EXPECT_TRUE(stepPageBrightness(obj, PageQueue, queue, -1, {}));  // another page, its own counter
    EXPECT_EQ(test::pixelsOf(obj, 3), atLimit);
    for (unsigned i : {51u, 70u}) EXPECT_NE(test::pixelsOf(obj, i), test::pixelsOf(original, i));
    for (unsigned i : {50u, 71u})
        EXPECT_EQ(test::pixelsOf(obj, i) == test::pixelsOf(original, i), i == 71) << i;
    for (int i = 0; i < 24; ++i) EXPECT_TRUE(stepPageBrightness(obj, PagePath, path, -1, {}));
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, path, -1, {}));
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, path, 0, {}));
    EXPECT_EQ(path, -12);
    PathObject empty;
    EXPECT_FALSE(stepPageBrightness(empty, PagePath, queue, +1, {}));
    EXPECT_EQ(queue, -1);
}

TEST(ColourOperations, RecolourMovesEveryUnprotectedShadeAndTheStripPicksTheRamp) {
    const Bytes in = {0, 5, 10, 21, 22, 100, 225, 230};
    PathObject obj = objectWith(in);
    for (unsigned i = 0; i < 3; ++i) recolourSprite(obj, i, 18, {});
    EXPECT_EQ(test::pixelsOf(obj, 0),
              (Bytes{0, 221, 226, 237, 226, recolourIndex(100, 18), 237, recolourIndex(230, 18)}));
    EXPECT_EQ(test::runPixelsOf(obj, 1)[0], 216);  // a run's 0 is moved too
    EXPECT_EQ(test::pixelsOf(obj, 2), in);
    ProtectedRamps ramp1{};
    ramp1[1] = true;
    PathObject kept = objectWith(in);
    recolourPage(kept, PagePath, 4, ramp1);
    EXPECT_EQ(test::runPixelsOf(kept, 1),
              (Bytes{48, 53, 58, 69, 22, recolourIndex(100, 4), 69, recolourIndex(230, 4)}));
    PathObject empty;
    recolourPage(empty, PagePath, 4, {});
    for (auto [x, ramp] :
         {std::pair{-3, 0}, {0, 0}, {14, 0}, {15, 1}, {262, 17}, {269, 17}, {270, 18}, {400, 18}})
        EXPECT_EQ(rampOfStripClick(x), ramp) << x;
}

TEST(ColourOperations, SparklesFollowTheGenerator) {
    const int n = 3000;
    PathObject obj = objectWith(Bytes(std::size_t(n), 100));
    std::srand(1234);
    addSparkles(obj, PagePath, {});
    // Replay: one number per pixel of the row-coded sprite, a second one per sparkle.
    std::srand(1234);
    Bytes expected(std::size_t(n), 100);
    int sparkles = 0;
    for (auto& c : expected)
        if (std::rand() % 100 == 42) c = std::uint8_t(231 + std::rand() % 10), ++sparkles;
    EXPECT_GT(sparkles, 10);
    EXPECT_EQ(test::runPixelsOf(obj, 1), expected);
    EXPECT_EQ(test::pixelsOf(obj, 0), Bytes(std::size_t(n), 100)) << "raw sprites get none";
    // Protected pixels draw no numbers.
    ProtectedRamps protect{};
    protect[rampOfColour(100)] = true;
    PathObject guarded = objectWith(Bytes(std::size_t(n), 100));
    std::srand(99);
    addSparkles(guarded, PagePath, protect);
    const int next = std::rand();
    std::srand(99);
    EXPECT_EQ(next, std::rand());
    EXPECT_EQ(test::runPixelsOf(guarded, 1), Bytes(std::size_t(n), 100));
    PathObject empty;
    addSparkles(empty, PagePath, {});
}

}  // namespace
}  // namespace trellisor
