// The two sprite encoders: where row-coded runs start and end, and the limits.
#include <gtest/gtest.h>

#include "base/Bytes.h"
#include "sprites/SpriteEncoding.h"

namespace trellisor {
namespace {

struct RunHead {
    int start, count;
    bool last;
    bool operator==(const RunHead&) const = default;
};

// The runs of a one-row sprite read back from its bytes, checking that they show exactly the
// row's indices and that nothing follows the last run.
std::vector<RunHead> runsOf(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& row) {
    std::vector<RunHead> runs;
    std::vector<std::uint8_t> shown(row.size(), 0);
    std::size_t pos = loadLe16(&bytes[0]);
    for (bool last = false; !last; pos += 2 + std::size_t(runs.back().count)) {
        runs.push_back({bytes.at(pos + 1), bytes[pos] & 0x7F, (bytes[pos] & 0x80) != 0});
        last = runs.back().last;
        for (int i = 0; i < runs.back().count; ++i)
            shown.at(std::size_t(runs.back().start + i)) = bytes.at(pos + 2 + std::size_t(i));
    }
    EXPECT_EQ(shown, row);
    EXPECT_EQ(pos, bytes.size()) << "nothing follows the last run";
    return runs;
}

// One row of width pixels, opaque (index 40 + column % 7) over [from, to) stretches.
std::vector<std::uint8_t> row(int width, const std::vector<std::pair<int, int>>& stretches) {
    std::vector<std::uint8_t> px(std::size_t(width), 0);
    for (auto [from, to] : stretches)
        for (int x = from; x < to; ++x) px[std::size_t(x)] = std::uint8_t(40 + x % 7);
    return px;
}

TEST(SpriteEncoding, RowCodedRunsCoverExactlyTheOpaquePixels) {
    struct Case {
        const char* what;
        int width;
        std::vector<std::pair<int, int>> stretches;
        std::vector<RunHead> runs;
    };
    const Case cases[] = {
        {"a full row", 8, {{0, 8}}, {{0, 8, true}}},
        {"transparent gaps split runs",
         10,
         {{1, 3}, {5, 6}, {7, 10}},
         {{1, 2, false}, {5, 1, false}, {7, 3, true}}},
        {"an empty row", 6, {}, {{0, 0, true}}},
        {"127 pixels are one run", 127, {{0, 127}}, {{0, 127, true}}},
        {"128 pixels: the remainder first", 128, {{0, 128}}, {{0, 1, false}, {1, 127, true}}},
        {"300 pixels", 300, {{0, 300}}, {{0, 46, false}, {46, 127, false}, {173, 127, true}}},
        {"382 pixels reach column 381 from a run at 255",
         382,
         {{0, 382}},
         {{0, 1, false}, {1, 127, false}, {128, 127, false}, {255, 127, true}}},
        {"a stretch from 200 past 255", 400, {{200, 350}}, {{200, 23, false}, {223, 127, true}}},
    };
    for (const Case& c : cases) {
        const auto px = row(c.width, c.stretches);
        auto bytes = encodeRowCodedSprite(c.width, 1, px);
        ASSERT_TRUE(bytes) << c.what << ": " << bytes.error();
        EXPECT_EQ(runsOf(bytes.value(), px), c.runs) << c.what;
    }
}

TEST(SpriteEncoding, RowCodedLimitsAreRefused) {
    // No run can start past column 255: pixels it cannot reach are refused.
    for (auto [width, from, to] : {std::tuple{383, 0, 383}, {300, 256, 257}, {500, 290, 400}}) {
        const auto px = row(width, {{from, to}});
        auto bytes = encodeRowCodedSprite(width, 1, px);
        ASSERT_FALSE(bytes) << from << "-" << to;
        EXPECT_NE(bytes.error().find("cannot be coded"), std::string::npos) << bytes.error();
    }
    // 126 rows whose last starts at byte 32767 exactly: a table of 252 bytes, row 0 of 147
    // pixels (151 bytes), rows 1-124 of 255 pixels (261 bytes). One pixel more is too many.
    const int width = 255, height = 126;
    std::vector<std::uint8_t> px(std::size_t(width) * height, 50);
    std::fill(px.begin() + 147, px.begin() + width, 0);
    std::fill(px.end() - width, px.end(), 0);
    auto bytes = encodeRowCodedSprite(width, height, px);
    ASSERT_TRUE(bytes) << bytes.error();
    EXPECT_EQ(loadLe16(&bytes.value()[2 * 125]), 32767);
    px[147] = 50;
    bytes = encodeRowCodedSprite(width, height, px);
    ASSERT_FALSE(bytes);
    EXPECT_EQ(bytes.error().rfind("row 125 would start at byte 32768", 0), 0u) << bytes.error();

    EXPECT_FALSE(encodeRowCodedSprite(4, 2, std::vector<std::uint8_t>(7, 1))) << "data shorter than the size";
}

}  // namespace
}  // namespace trellisor
