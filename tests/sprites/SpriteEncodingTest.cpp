// The two sprite encoders: where row-coded runs start and end, and the limits.
#include <gtest/gtest.h>

#include "base/Bytes.h"
#include "sprites/SpriteEncoding.h"
#include "support/Pixels.h"

namespace trellisor {
namespace {

// One row of width pixels, opaque (index 40 + column % 7) over [from, to) stretches.
std::vector<std::uint8_t> row(int width, const std::vector<std::pair<int, int>>& stretches) {
    std::vector<std::uint8_t> px(std::size_t(width), 0);
    for (auto [from, to] : stretches)
        for (int x = from; x < to; ++x) px[std::size_t(x)] = std::uint8_t(40 + x % 7);
    return px;
}

TEST(SpriteEncoding, RowCodedRunsCoverExactlyTheOpaquePixelsWithinTheLimits) {
    // A full row, transparent gaps splitting runs, an empty row (one empty run), 127 pixels (one
    // run), 128 (the remainder first), 300, 382 (column 381 reached from a run at 255), and a
    // stretch from 200 past 255.
    const std::pair<int, std::vector<std::pair<int, int>>> cases[] = {
        {8, {{0, 8}}},     {10, {{1, 3}, {5, 6}, {7, 10}}},
        {6, {}},           {127, {{0, 127}}},
        {128, {{0, 128}}}, {300, {{0, 300}}},
        {382, {{0, 382}}}, {400, {{200, 350}}}};
    std::vector<std::uint8_t> all;
    for (const auto& [width, stretches] : cases) {
        auto bytes = encodeRowCodedSprite(width, 1, row(width, stretches));
        ASSERT_TRUE(bytes) << width << ": " << bytes.error();
        all.insert(all.end(), bytes.value().begin(), bytes.value().end());
    }
    EXPECT_EQ(test::fnv1a(all), 0xCD972904u);  // FNV-1a over every encoding; refresh from the printed value

    // No run can start past column 255: pixels it cannot reach are refused.
    for (auto [width, from, to] : {std::tuple{383, 0, 383}, {300, 256, 257}, {500, 290, 400}})
        EXPECT_NE(encodeRowCodedSprite(width, 1, row(width, {{from, to}})).error().find("cannot be coded"),
                  std::string::npos)
            << from;
    // 126 rows whose last starts at byte 32767 exactly: a table of 252 bytes, row 0 of 147
    // pixels (151 bytes), rows 1-124 of 255 pixels (261 bytes). One pixel more is too many.
    std::vector<std::uint8_t> px(255 * 126, 50);
    std::fill(px.begin() + 147, px.begin() + 255, 0);
    std::fill(px.end() - 255, px.end(), 0);
    auto bytes = encodeRowCodedSprite(255, 126, px);
    ASSERT_TRUE(bytes) << bytes.error();
    EXPECT_EQ(loadLe16(&bytes.value()[2 * 125]), 32767);
    px[147] = 50;
    EXPECT_EQ(encodeRowCodedSprite(255, 126, px).error().rfind("row 125 would start at byte 32768", 0), 0u);
    EXPECT_FALSE(encodeRowCodedSprite(4, 2, std::vector<std::uint8_t>(7, 1))) << "data shorter than the size";
}

}  // namespace
}  // namespace trellisor
