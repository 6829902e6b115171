// Ramp arithmetic, protection and the parsing of protection lists.
#include <gtest/gtest.h>

#include "preview/ColourRamps.h"

namespace trellisor {
namespace {

TEST(ColourRamps, RampAndShadeOfEveryIndex) {
    EXPECT_EQ(rampOfColour(0), 0);
    EXPECT_EQ(rampOfColour(9), 0);
    EXPECT_EQ(rampOfColour(10), 0);
    EXPECT_EQ(rampOfColour(21), 0);
    EXPECT_EQ(rampOfColour(22), 1);
    EXPECT_EQ(rampOfColour(225), 17);
    EXPECT_EQ(rampOfColour(226), 18);
    EXPECT_EQ(rampOfColour(249), 19);
    EXPECT_EQ(rampOfColour(250), 20);
    EXPECT_EQ(rampOfColour(255), 20);

    EXPECT_EQ(shadeOfColour(10), 0);
    EXPECT_EQ(shadeOfColour(21), 11);
    EXPECT_EQ(shadeOfColour(22), 0);
    EXPECT_EQ(shadeOfColour(9), -1);
    EXPECT_EQ(shadeOfColour(0), -10);
    // Every index of ramps 0..17 is 10 + 12 * ramp + shade.
    for (int c = 10; c <= 225; ++c) EXPECT_EQ(10 + 12 * rampOfColour(c) + shadeOfColour(c), c) << c;
}

TEST(ColourRamps, RecolourKeepsShadeAndWraps) {
    EXPECT_EQ(recolourIndex(15, 3), 10 + 36 + 5);
    EXPECT_EQ(recolourIndex(225, 0), 21);
    EXPECT_EQ(recolourIndex(3, 2), 24 + 3);  // below 10: 12 * ramp + c
    EXPECT_EQ(recolourIndex(0, 5), 60);
    EXPECT_EQ(recolourIndex(10, 18), 226);
    EXPECT_EQ(recolourIndex(21, 18), 237);
    // 12 * 20 + 10 + 11 = 261 wraps to 5.
    EXPECT_EQ(recolourIndex(21, 20), 5);
}

TEST(ColourRamps, ProtectionCoversOnlyMarkedRampsBelowEighteen) {
    ProtectedRamps marks{};
    marks[0] = true;
    for (int c = 0; c < 256; ++c) EXPECT_EQ(isColourProtected(marks, std::uint8_t(c)), c <= 21) << c;
    marks.fill(true);
    for (int ramp = 0; ramp < 18; ++ramp) EXPECT_TRUE(isRampProtected(marks, ramp));
    for (int ramp = 18; ramp < 25; ++ramp) EXPECT_FALSE(isRampProtected(marks, ramp));
    EXPECT_FALSE(isRampProtected(marks, -1));
    ProtectedRamps none{};
    for (int c = 0; c < 256; ++c) EXPECT_FALSE(isColourProtected(none, std::uint8_t(c)));
}

TEST(ColourRamps, ParsesProtectionLists) {
    ProtectedRamps marks{};
    ASSERT_TRUE(parseProtectedRamps("all", marks));
    for (bool b : marks) EXPECT_TRUE(b);
    ASSERT_TRUE(parseProtectedRamps("", marks));
    for (bool b : marks) EXPECT_FALSE(b);
    ASSERT_TRUE(parseProtectedRamps("0,5,17", marks));
    for (int i = 0; i < 18; ++i) EXPECT_EQ(marks[i], i == 0 || i == 5 || i == 17) << i;

    marks[3] = true;
    for (const char* bad : {"18", "-1", "1,,2", "1,", "x", "1;2", "100", "ALL"}) {
        ProtectedRamps before = marks;
        EXPECT_FALSE(parseProtectedRamps(bad, marks)) << bad;
        EXPECT_EQ(marks, before) << bad;
    }
}

}  // namespace
}  // namespace trellisor
