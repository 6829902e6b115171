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

// The runs of each row, read back from the bytes, checking that every run's pixels
// are the row's indices and every column no run covers is transparent.
std::vector<std::vector<RunHead>> runsOf(const std::vector<std::uint8_t>& bytes, int width, int height,
                                         const std::vector<std::uint8_t>& indices) {
    std::vector<std::vector<RunHead>> rows;
    for (int y = 0; y < height; ++y) {
        std::size_t pos = loadLe16(&bytes[std::size_t(y) * 2]);
        std::vector<bool> covered(std::size_t(width), false);
        rows.emplace_back();
        for (bool last = false; !last;) {
            const RunHead run{bytes[pos + 1], bytes[pos] & 0x7F, (bytes[pos] & 0x80) != 0};
            last = run.last;
            rows.back().push_back(run);
            pos += 2;
            for (int i = 0; i < run.count; ++i, ++pos) {
                EXPECT_EQ(bytes[pos], indices[std::size_t(y * width + run.start + i)]);
                covered[std::size_t(run.start + i)] = true;
            }
        }
        for (int x = 0; x < width; ++x) {
            if (!covered[std::size_t(x)]) {
                EXPECT_EQ(indices[std::size_t(y * width + x)], 0) << "row " << y;
            }
        }
        if (y + 1 == height) {
            EXPECT_EQ(pos, bytes.size()) << "nothing follows the last row";
        }
    }
    return rows;
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
        EXPECT_EQ(runsOf(bytes.value(), c.width, 1, px)[0], c.runs) << c.what;
    }
}

TEST(SpriteEncoding, SeveralRowsEachStartAtTheirOffset) {
    const int width = 5, height = 3;
    std::vector<std::uint8_t> px = row(width, {{0, 2}});
    auto empty = row(width, {}), tail = row(width, {{3, 5}});
    px.insert(px.end(), empty.begin(), empty.end());
    px.insert(px.end(), tail.begin(), tail.end());
    auto bytes = encodeRowCodedSprite(width, height, px);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(runsOf(bytes.value(), width, height, px),
              (std::vector<std::vector<RunHead>>{{{0, 2, true}}, {{0, 0, true}}, {{3, 2, true}}}));
    EXPECT_EQ(encodeRawSprite(px), px) << "raw keeps the indices, 0 for transparent";
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
