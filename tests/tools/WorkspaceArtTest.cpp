// The generator's sprites: tile shapes, exact tiling of surfaces and ramps, colours in
// ramps, disjoint support parts, and the sprite and PCX encoders.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "gfx/ImageFiles.h"
#include "preview/GamePalette.h"
#include "preview/SpriteDrawing.h"
#include "workspace/PcxWriter.h"
#include "workspace/RailingArt.h"
#include "workspace/SupportArt.h"
#include "workspace/SurfaceArt.h"
#include "workspace/Workspace.h"

namespace trellisor::workspace {
namespace {

constexpr int kW = 360, kH = 260;

// Pixels a sprite of the object covers when drawn at x, y (row-coded index 0 included).
std::vector<std::uint8_t> coverage(const PathObject& obj, unsigned index, int x, int y) {
    // Draw twice with different backgrounds: a pixel is covered when the sprite wrote it.
    std::vector<std::uint8_t> a(kW * kH, 1), b(kW * kH, 2), out(kW * kH, 0);
    drawSpriteToBuffer(obj, a.data(), kW, kH, index, x, y);
    drawSpriteToBuffer(obj, b.data(), kW, kH, index, x, y);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = a[i] != 1 || b[i] != 2;
    return out;
}

int countCovered(const std::vector<std::uint8_t>& c) { return int(std::count(c.begin(), c.end(), 1)); }

const SurfaceStyle kPaving{SurfacePattern::CrazyPaving, 8, 6, 0, 7, 17, 2, 31};

TEST(WorkspaceArt, TileShapeTablesMatchTheScenes) {
    std::set<std::tuple<int, int, int>> seen;
    for (int i = 0; i < 51; ++i) {
        const TileShape s = pathTileShape(i);
        EXPECT_TRUE(seen.insert({int(s.slope), s.edges, s.corners}).second) << "duplicate shape " << i;
        // A filled corner needs both edges beside it joined.
        if (s.corners & CornerE) {
            EXPECT_EQ(s.edges & (EdgeNE | EdgeSE), EdgeNE | EdgeSE) << i;
        }
        if (s.corners & CornerS) {
            EXPECT_EQ(s.edges & (EdgeSE | EdgeSW), EdgeSE | EdgeSW) << i;
        }
        if (s.corners & CornerW) {
            EXPECT_EQ(s.edges & (EdgeSW | EdgeNW), EdgeSW | EdgeNW) << i;
        }
        if (s.corners & CornerN) {
            EXPECT_EQ(s.edges & (EdgeNW | EdgeNE), EdgeNW | EdgeNE) << i;
        }
        if (i >= 20) {
            EXPECT_NE(s.corners, 0) << i;
        }
    }
    // The example path: an end, a straight run, a 2 x 2 square of tiles, two ramps.
    EXPECT_EQ(pathTileShape(4), (TileShape{Slope::Flat, EdgeSW, 0}));
    EXPECT_EQ(pathTileShape(5), (TileShape{Slope::Flat, EdgeNE | EdgeSW, 0}));
    EXPECT_EQ(pathTileShape(16), (TileShape{Slope::RiseNE, EdgeNE | EdgeSW, 0}));
    EXPECT_EQ(pathTileShape(18), (TileShape{Slope::RiseSW, EdgeNE | EdgeSW, 0}));
    EXPECT_EQ(pathTileShape(20), (TileShape{Slope::Flat, EdgeNE | EdgeSE, CornerE}));
    EXPECT_EQ(pathTileShape(23), (TileShape{Slope::Flat, EdgeNE | EdgeSE | EdgeSW, CornerS}));
    EXPECT_EQ(pathTileShape(25), (TileShape{Slope::Flat, EdgeNE | EdgeNW, CornerN}));
    EXPECT_EQ(pathTileShape(29), (TileShape{Slope::Flat, EdgeSW | EdgeNW, CornerW}));
    EXPECT_EQ(pathTileShape(50), (TileShape{Slope::Flat, 15, 15}));
    // The example queue: an end, a corner, straight runs and ramps rising SE and NW.
    EXPECT_EQ(queueTileShape(4).edges, EdgeSW);
    EXPECT_EQ(queueTileShape(3).edges, EdgeNE | EdgeSE);
    EXPECT_EQ(queueTileShape(10).edges, EdgeSE | EdgeNW);
    EXPECT_EQ(queueTileShape(17), (TileShape{Slope::RiseSE, EdgeSE | EdgeNW, 0}));
    EXPECT_EQ(queueTileShape(19), (TileShape{Slope::RiseNW, EdgeSE | EdgeNW, 0}));
}

TEST(WorkspaceArt, SurfacesTileTheGridAndRampsMeetTheirNeighbours) {
    const auto sprites = drawPathSurfaces(kPaving);
    ASSERT_EQ(sprites.size(), 51u);
    const PathObject obj = pageObject(PagePath, sprites, 0, 0);

    // The flat tile is the 64 x 31 diamond with its top corner at the anchor.
    const SpriteHeader& flat = obj.m_sprites[5];
    EXPECT_EQ(flat.width, 64);
    EXPECT_EQ(flat.height, 31);
    EXPECT_EQ(flat.xOffset, -32);
    EXPECT_EQ(flat.yOffset, 0);
    EXPECT_EQ(flat.flags, kSpriteRowCoded);

    // Ramps cover exactly their projected area: rising NE or NW they stand tall,
    // rising SE or SW they lie flatter than the tile.
    const int areas[5] = {1024, 1536, 512, 512, 1536};
    const unsigned ids[5] = {5, 16, 17, 18, 19};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(countCovered(coverage(obj, ids[k], 180, 100)), areas[k]) << ids[k];

    // A patch of the staggered grid is covered exactly once inside.
    std::vector<int> hits(kW * kH, 0);
    for (int row = 1; row <= 12; ++row)
        for (int col = 0; col <= 4; ++col) {
            const auto c = coverage(obj, unsigned(row % 16), cellX(col, row), cellY(row, 0));
            for (std::size_t i = 0; i < hits.size(); ++i) hits[i] += c[i];
        }
    for (int y = 40; y < 190; ++y)
        for (int x = 70; x < 290; ++x) ASSERT_EQ(hits[std::size_t(y * kW + x)], 1) << x << "," << y;

    // The raised run of the example path: ramp, level-1 tile, ramp, between flat tiles.
    struct Cell {
        unsigned sprite;
        int col, row, level;
    };
    const Cell run[] = {{4, 3, 1, 0}, {18, 3, 2, 0}, {5, 2, 3, 1}, {16, 2, 4, 0}, {23, 1, 5, 0}};
    std::vector<int> runHits(kW * kH, 0);
    int total = 0;
    for (const Cell& c : run) {
        const auto cov = coverage(obj, c.sprite, cellX(c.col, c.row), cellY(c.row, c.level));
        for (std::size_t i = 0; i < runHits.size(); ++i) runHits[i] += cov[i];
        total += countCovered(cov);
    }
    EXPECT_EQ(std::count_if(runHits.begin(), runHits.end(), [](int h) { return h > 1; }), 0);
    // Seamless joins: across each shared edge (screen end points) the pixels on and
    // beside the edge are all covered.
    const int joins[4][4] = {{259, 51, 227, 35}, {195, 35, 227, 51}, {195, 67, 163, 51}, {163, 99, 131, 83}};
    for (const auto& j : joins)
        for (double t : {0.2, 0.35, 0.5, 0.65, 0.8}) {
            const int x = int(j[0] + (j[2] - j[0]) * t), y = int(j[1] + (j[3] - j[1]) * t);
            for (int dy = -2; dy <= 2; ++dy)
                EXPECT_EQ(runHits[std::size_t((y + dy) * kW + x)], 1) << "join at " << x << "," << y + dy;
        }
    EXPECT_EQ(total, 1024 * 3 + 512 + 1536);
}

TEST(WorkspaceArt, SpritesStayInTheirRampsAndShowShading) {
    const auto check = [](const std::vector<SpriteData>& sprites, std::set<int> ramps, std::int16_t flags,
                          const char* what) {
        for (std::size_t i = 0; i < sprites.size(); ++i) {
            EXPECT_EQ(sprites[i].header.flags, flags) << what << " " << i;
            ASSERT_GT(sprites[i].header.width, 0) << what << " " << i;
        }
        const PathObject obj = pageObject(PagePath, sprites, 0, 0);
        std::set<int> shades;
        for (unsigned i = 0; i < sprites.size(); ++i) {
            std::vector<std::uint8_t> buf(kW * kH, 0);
            drawSpriteToBuffer(obj, buf.data(), kW, kH, i, 180, 130);
            for (std::uint8_t c : buf) {
                if (c == 0) continue;
                ASSERT_GE(c, 10) << what << " sprite " << i << " uses a black index";
                ASSERT_LE(c, 225) << what;
                EXPECT_TRUE(ramps.count((c - 10) / 12)) << what << " sprite " << i << " index " << int(c);
                shades.insert((c - 10) % 12);
            }
        }
        EXPECT_GE(shades.size(), 4u) << what << ": too few shades for brightness steps to show";
    };
    check(drawPathSurfaces(kPaving), {8, 0, 17}, kSpriteRowCoded, "paving");
    check(drawQueueSurfaces({SurfacePattern::Tiles, 10, 6, 0, 8, 10, 3, 51}), {10, 0}, kSpriteRowCoded,
          "queue");
    check(drawPathRailings({RailingStyle::Kind::Fence, 17, 4, 17, 6, 0.7}), {17}, kSpriteRowCoded,
          "railings");
    check(drawQueueRailings({RailingStyle::Kind::Rope, 3, 7, 13, 6, 0.75}), {3, 13}, kSpriteRowCoded,
          "ropes");
    check(drawSupports({SupportStyle::Kind::Poles, 9, 6, 0, 6, false}, 56), {9, 0}, kSpriteRaw, "poles");
    EXPECT_EQ(drawSupports({SupportStyle::Kind::Trestle, 17, 5, 17, 6, true}, 59).size(), 59u);
    EXPECT_EQ(drawSupports({SupportStyle::Kind::Poles, 0, 7, 0, 7, false}, 37).size(), 37u);
}

TEST(WorkspaceArt, RampSupportPartsNeverOverlap) {
    // The scenes draw a ramp's deck and posts in either order; they must not share a pixel.
    const auto sprites = drawSupports({SupportStyle::Kind::Trestle, 17, 5, 17, 6, true}, 59);
    const PathObject obj = pageObject(PagePath, sprites, 0, 0);
    for (unsigned k = 0; k < 4; ++k) {
        const auto deck = coverage(obj, 51 + k, 180, 120), posts = coverage(obj, 55 + k, 180, 120);
        EXPECT_GT(countCovered(deck), 500) << k;
        EXPECT_GT(countCovered(posts), 20) << k;
        int shared = 0;
        for (std::size_t i = 0; i < deck.size(); ++i) shared += deck[i] && posts[i];
        EXPECT_EQ(shared, 0) << "ramp " << k;
    }
}

TEST(WorkspaceArt, SpriteEncoderRoundTripsThroughTheDecoder) {
    // 200 columns (runs split at 127), a hole in the middle row and an empty row.
    IndexPicture pic;
    pic.width = 200;
    pic.height = 4;
    pic.pixels.resize(800);
    pic.covered.resize(800);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 200; ++x) {
            pic.pixels[std::size_t(y * 200 + x)] = std::uint8_t(10 + (x + y) % 200);
            pic.covered[std::size_t(y * 200 + x)] = y != 2 && !(y == 1 && x >= 50 && x < 60);
        }
    for (bool rowCoded : {true, false}) {
        const PathObject obj = pageObject(PagePath, {encodeSprite(pic, -5, 3, rowCoded)}, 0, 0);
        std::vector<std::uint8_t> buf(kW * kH, 0);
        drawSpriteToBuffer(obj, buf.data(), kW, kH, 0, 20, 20);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 200; ++x) {
                const std::size_t i = std::size_t(y * 200 + x);
                const std::uint8_t want = pic.covered[i] ? pic.pixels[i] : 0;
                ASSERT_EQ(buf[std::size_t((23 + y) * kW + 15 + x)], want) << rowCoded << " " << x << "," << y;
            }
    }
}

TEST(WorkspaceArt, PcxWriterRoundTripsThroughTheReader) {
    // Odd width (padded scan line), long runs, and single bytes of 0xC0 and above.
    const int w = 131, h = 5;
    std::vector<std::uint8_t> pixels(std::size_t(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[std::size_t(y * w + x)] = y == 0   ? 77
                                             : y == 1 ? std::uint8_t(0xC0 + x % 60)
                                                      : std::uint8_t(x * y);
    const auto file = encodePcx8(w, h, pixels, gamePcxPalette());
    auto image = readPcxBytes(file);
    ASSERT_TRUE(image) << image.error();
    ASSERT_EQ(image.value()->width(), w);
    ASSERT_EQ(image.value()->height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(image.value()->getPixel(x, y), pixels[std::size_t(y * w + x)]) << x << "," << y;
    const Palette* pal = image.value()->palette();
    ASSERT_NE(pal, nullptr);
    for (int i = 0; i < kPreviewPaletteSize; ++i) {
        const RgbQuad q = previewPalette[std::size_t(i)];
        EXPECT_EQ(pal->entries[std::size_t(i)], (PaletteEntry{q.red, q.green, q.blue, 0})) << i;
    }
}

}  // namespace
}  // namespace trellisor::workspace
