// Brightness steps, recolouring and sparkles over raw and row-coded sprites.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "preview/ColourOperations.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using test::buildObject;
using test::rawSprite;
using test::rowCodedSprite;

using test::SpriteSpec;

std::vector<std::uint8_t> pixelsOf(const PathObject& obj, unsigned index) {
    auto [start, end] = obj.spriteSpan(index);
    return std::vector<std::uint8_t>(obj.m_data.get() + start, obj.m_data.get() + end);
}

// Sprite 0 raw, sprite 1 row-coded, sprite 2 of another format holding the same
// indices as raw bytes; rows of at most 100 pixels, one run a row.
PathObject objectWith(const std::vector<std::uint8_t>& indices) {
    const int n = int(indices.size()), width = std::min(n, 100), height = (n + 99) / 100;
    std::vector<std::vector<test::Run>> rows;
    for (int start = 0; start < n; start += 100)
        rows.push_back({test::Run{0, std::vector<std::uint8_t>(indices.begin() + start,
                                                               indices.begin() + std::min(n, start + 100))}});
    SpriteSpec raw = rawSprite(width, height, indices);
    SpriteSpec other = raw;
    other.header.flags = 3;
    return buildObject({raw, rowCodedSprite(width, rows), other});
}

// The pixels of every run of a row-coded sprite, row after row.
std::vector<std::uint8_t> runOf(const PathObject& obj, unsigned index) {
    auto bytes = pixelsOf(obj, index);
    std::vector<std::uint8_t> out;
    for (int r = 0; r < obj.m_sprites[index].height; ++r) {
        std::size_t pos = std::size_t(bytes[2 * r] | (bytes[2 * r + 1] << 8));
        const int count = bytes[pos] & 0x7F;
        out.insert(out.end(), bytes.begin() + pos + 2, bytes.begin() + pos + 2 + count);
    }
    return out;
}

TEST(ColourOperations, BrightnessStaysInsideTheRamp) {
    const std::vector<std::uint8_t> in = {21, 22, 10, 1, 0, 255, 15, 237, 226, 249};
    ProtectedRamps none{};
    PathObject up = objectWith(in);
    for (unsigned i = 0; i < 3; ++i) adjustSpriteBrightness(up, i, +1, none);
    // 21 is the lightest of ramp 0; 0 becomes 1 only inside a run; 255's successor is in another ramp.
    EXPECT_EQ(pixelsOf(up, 0), (std::vector<std::uint8_t>{21, 23, 11, 2, 0, 255, 16, 237, 227, 249}));
    EXPECT_EQ(runOf(up, 1), (std::vector<std::uint8_t>{21, 23, 11, 2, 1, 255, 16, 237, 227, 249}));
    EXPECT_EQ(pixelsOf(up, 2), in) << "other formats are never touched";

    PathObject down = objectWith(in);
    for (unsigned i = 0; i < 3; ++i) adjustSpriteBrightness(down, i, -1, none);
    EXPECT_EQ(pixelsOf(down, 0), (std::vector<std::uint8_t>{20, 22, 9, 0, 0, 254, 14, 236, 226, 248}));
    EXPECT_EQ(runOf(down, 1), (std::vector<std::uint8_t>{20, 22, 9, 0, 0, 254, 14, 236, 226, 248}));

    // A raw pixel darkened to 0 is transparent from then on: brightening skips it.
    adjustSpriteBrightness(down, 0, +1, none);
    EXPECT_EQ(pixelsOf(down, 0)[3], 0);
}

TEST(ColourOperations, AllRampsProtectedLeavesOnlyTheSpecialColoursFree) {
    ProtectedRamps all;
    all.fill(true);
    std::vector<std::uint8_t> in;
    for (int c = 0; c < 256; ++c) in.push_back(std::uint8_t(c));
    PathObject obj = objectWith(in);
    adjustSpriteBrightness(obj, 1, +1, all);
    auto run = runOf(obj, 1);
    for (int c = 0; c <= 225; ++c) EXPECT_EQ(run[c], c);
    EXPECT_EQ(run[226], 227);
    EXPECT_EQ(run[237], 237);  // lightest of 226..237
    EXPECT_EQ(run[249], 249);
    EXPECT_EQ(run[250], 251);
    EXPECT_EQ(run[255], 255);

    recolourSprite(obj, 1, 3, all);
    run = runOf(obj, 1);
    for (int c = 0; c <= 225; ++c) EXPECT_EQ(run[c], c);
    EXPECT_EQ(run[226], recolourIndex(227, 3));
}

TEST(ColourOperations, PageBrightnessCounterStopsAtTwelve) {
    PathObject obj = buildObject(test::standardSprites(168));
    ProtectedRamps none{};
    int pathCounter = 0, queueCounter = 0;
    const auto before = pixelsOf(obj, 3);
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(stepPageBrightness(obj, PagePath, pathCounter, +1, none));
    EXPECT_EQ(pathCounter, 12);
    const auto atLimit = pixelsOf(obj, 3);
    EXPECT_NE(atLimit, before);
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, pathCounter, +1, none));
    EXPECT_EQ(pathCounter, 12);
    EXPECT_EQ(pixelsOf(obj, 3), atLimit);
    // Another page has its own counter; the path page is untouched by it.
    EXPECT_TRUE(stepPageBrightness(obj, PageQueue, queueCounter, +1, none));
    EXPECT_EQ(pixelsOf(obj, 3), atLimit);
    EXPECT_NE(pixelsOf(obj, 51), pixelsOf(buildObject(test::standardSprites(168)), 51));
    // Down from 12 works again, and stops at -12.
    for (int i = 0; i < 24; ++i) EXPECT_TRUE(stepPageBrightness(obj, PagePath, pathCounter, -1, none));
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, pathCounter, -1, none));
    EXPECT_EQ(pathCounter, -12);

    PathObject empty;
    int counter = 0;
    EXPECT_FALSE(stepPageBrightness(empty, PagePath, counter, +1, none));
    EXPECT_EQ(counter, 0);
}

TEST(ColourOperations, RecolourMovesEveryUnprotectedShade) {
    const std::vector<std::uint8_t> in = {0, 5, 10, 21, 22, 100, 225, 230};
    ProtectedRamps none{};
    PathObject obj = objectWith(in);
    recolourSprite(obj, 0, 18, none);
    recolourSprite(obj, 1, 18, none);
    // Raw index 0 stays transparent; a run's 0 becomes 12 * ramp.
    EXPECT_EQ(pixelsOf(obj, 0), (std::vector<std::uint8_t>{0, 221, 226, 237, 226, recolourIndex(100, 18), 237,
                                                           recolourIndex(230, 18)}));
    EXPECT_EQ(runOf(obj, 1)[0], 216);

    ProtectedRamps ramp1{};
    ramp1[1] = true;
    PathObject kept = objectWith(in);
    recolourSprite(kept, 1, 4, ramp1);
    auto run = runOf(kept, 1);
    EXPECT_EQ(run[4], 22);            // ramp 1 protected
    EXPECT_EQ(run[3], 10 + 48 + 11);  // ramp 0 moved, shade kept
    EXPECT_EQ(run[0], 48);
}

TEST(ColourOperations, StripClickGivesBlockRamp) {
    EXPECT_EQ(rampOfStripClick(0), 0);
    EXPECT_EQ(rampOfStripClick(14), 0);
    EXPECT_EQ(rampOfStripClick(15), 1);
    EXPECT_EQ(rampOfStripClick(17 * 15 + 7), 17);
    EXPECT_EQ(rampOfStripClick(270), 18);
    EXPECT_EQ(rampOfStripClick(271), 18);
    EXPECT_EQ(rampOfStripClick(400), 18);
    EXPECT_EQ(rampOfStripClick(-3), 0);
}

TEST(ColourOperations, SparklesFollowTheGenerator) {
    const int n = 3000;
    PathObject obj = objectWith(std::vector<std::uint8_t>(std::size_t(n), 100));
    ProtectedRamps none{};
    std::srand(1234);
    addSparkles(obj, PagePath, none);

    // Replay the generator: one number per pixel of the row-coded sprite, a second per sparkle.
    std::srand(1234);
    std::vector<std::uint8_t> expect(std::size_t(n), 100);
    int sparkles = 0;
    for (auto& c : expect)
        if (std::rand() % 100 == 42) c = std::uint8_t(231 + std::rand() % 10), ++sparkles;
    EXPECT_GT(sparkles, 0);
    EXPECT_EQ(runOf(obj, 1), expect);
    EXPECT_EQ(pixelsOf(obj, 0), std::vector<std::uint8_t>(std::size_t(n), 100)) << "raw sprites get none";

    // Protected pixels draw no numbers: after a protected sprite the generator is where it was.
    ProtectedRamps protect{};
    protect[rampOfColour(100)] = true;
    PathObject guarded = objectWith(std::vector<std::uint8_t>(std::size_t(n), 100));
    std::srand(99);
    addSparkles(guarded, PagePath, protect);
    const int next = std::rand();
    std::srand(99);
    EXPECT_EQ(next, std::rand());
    EXPECT_EQ(runOf(guarded, 1), std::vector<std::uint8_t>(std::size_t(n), 100));
}

}  // namespace
}  // namespace trellisor
