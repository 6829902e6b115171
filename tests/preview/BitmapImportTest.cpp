// Reading BMP files and repainting sprites from them: row and column mapping,
// stride, colour tables, protection, and files that lie about their sizes.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "preview/BitmapBuilder.h"
#include "preview/BitmapImport.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using test::bitmapBytes;
using test::BitmapContent;
using test::buildObject;
using test::rowCodedSprite;

using test::SpriteSpec;

ImportedBitmap read(const std::vector<std::uint8_t>& bytes) {
    auto r = readBitmapBytes(bytes);
    EXPECT_TRUE(r.isOk()) << r.error();
    return r ? r.value() : ImportedBitmap{};
}

std::vector<std::uint8_t> pixelsOf(const PathObject& obj, unsigned index) {
    auto [start, end] = obj.spriteSpan(index);
    return std::vector<std::uint8_t>(obj.m_data.get() + start, obj.m_data.get() + end);
}

// The index whose palette colour is unique for picture position (x, y).
std::uint8_t indexAt(int x, int y) { return std::uint8_t(10 + (x + 7 * y) % 216); }

std::tuple<int, int, int> rgbOf(std::uint8_t index) {
    const RgbQuad& q = previewPalette[index];
    return {q.red, q.green, q.blue};
}

// Reads pixel (col, row) of a row-coded sprite built from one full-width run a row.
std::uint8_t runPixel(const PathObject& obj, unsigned index, int col, int row) {
    auto bytes = pixelsOf(obj, index);
    const int offset = bytes[2 * row] | (bytes[2 * row + 1] << 8);
    return bytes[std::size_t(offset + 2 + col)];
}

TEST(BitmapImport, MatchesTheNearestRampColour) {
    EXPECT_EQ(matchPaletteColour(255, 255, 255), 129);
    EXPECT_EQ(matchPaletteColour(0, 0, 0), 58);
    EXPECT_EQ(matchPaletteColour(255, 0, 0), 173);
    EXPECT_EQ(matchPaletteColour(128, 128, 128), 16);
    for (int i = 10; i <= 225; ++i) {
        auto [r, g, b] = rgbOf(std::uint8_t(i));
        EXPECT_EQ(matchPaletteColour(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)), i);
    }
    // The special colours 226.. are never produced, even for their own exact colour.
    auto [r, g, b] = rgbOf(229);  // pure yellow
    const int m = matchPaletteColour(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b));
    EXPECT_GE(m, 10);
    EXPECT_LE(m, 225);
}

TEST(BitmapImport, MatchingOverChosenRampsStaysInThem) {
    std::array<bool, kRampCount> ramps{};
    EXPECT_EQ(matchPaletteColour(255, 255, 255, ramps), 0) << "no ramp, no colour";
    ramps[13] = true;  // reds, 166..177
    EXPECT_EQ(matchPaletteColour(255, 0, 0, ramps), 173) << "the overall nearest, when its ramp is allowed";
    EXPECT_EQ(matchPaletteColour(255, 255, 255, ramps), 177);
    EXPECT_EQ(matchPaletteColour(0, 0, 0, ramps), 166);
    ramps[0] = true;  // greys 10..21, nearer to white than any red
    EXPECT_EQ(matchPaletteColour(255, 255, 255, ramps), 21);
}

TEST(BitmapImport, RgbRowsMakeTheBitmapAFileWouldGive) {
    auto colourAt = [](int x, int y) { return std::tuple<int, int, int>{x * 40, y * 90, 7 + x + y}; };
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            auto [r, g, b] = colourAt(x, y);
            rows.insert(rows.end(), {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
        }
    const ImportedBitmap made = bitmapFromRgbRows(5, 3, rows);
    auto read = readBitmapBytes(test::bitmap24(5, 3, colourAt));
    ASSERT_TRUE(read);
    EXPECT_EQ(made.pixels, read->pixels);
    EXPECT_EQ(made.rowStride, read->rowStride);
    EXPECT_EQ(std::tie(made.infoHeader.biWidth, made.infoHeader.biHeight, made.infoHeader.biBitCount),
              std::tie(read->infoHeader.biWidth, read->infoHeader.biHeight, read->infoHeader.biBitCount));
    EXPECT_TRUE(bitmapFromRgbRows(5, 3, std::span(rows).first(44)).pixels.empty()) << "rows cut short";
}

TEST(BitmapImport, ReaderTakesTablesAndRefusesWhatItCannotRead) {
    // 24 bits: no colour table, everything after the headers is pixels; 5 pixels give 16-byte rows.
    BitmapContent s{5, 2, 24, 0, {}, std::vector<std::uint8_t>(32, 7)};
    auto bmp = read(bitmapBytes(s));
    EXPECT_EQ(bmp.rowStride, 16);
    EXPECT_EQ(bmp.pixels.size(), 32u);
    EXPECT_EQ(bmp.colourCount, 0u);
    EXPECT_EQ(bmp.fileHeader[0], 'B');

    // 8 bits with biClrUsed 0: 256 entries.
    BitmapContent t{3, 1, 8, 0, std::vector<std::uint8_t>(1024, 0), {1, 2, 3, 0}};
    t.colourTable[4 * 2 + 2] = 0xEE;  // red of entry 2
    bmp = read(bitmapBytes(t));
    EXPECT_EQ(bmp.colourCount, 256u);
    EXPECT_EQ(bmp.colourTable[2].red, 0xEE);
    EXPECT_EQ(bmp.rowStride, 4);
    EXPECT_EQ(bmp.pixels, (std::vector<std::uint8_t>{1, 2, 3, 0}));

    // biClrUsed entries only; the pixels follow them.
    BitmapContent u{3, 1, 8, 2, std::vector<std::uint8_t>(8, 0), {9, 9, 9, 9}};
    bmp = read(bitmapBytes(u));
    EXPECT_EQ(bmp.colourCount, 2u);
    EXPECT_EQ(bmp.pixels.size(), 4u);

    auto full = bitmapBytes(s);
    for (std::size_t n : {0, 1, 14, 53}) {
        auto r = readBitmapBytes(std::span(full.data(), n));
        ASSERT_FALSE(r);
        EXPECT_NE(r.error().find("shorter"), std::string::npos);
    }
    BitmapContent huge{3, 1, 8, 0xFFFFFFFFu, std::vector<std::uint8_t>(64, 0), {}};
    auto r = readBitmapBytes(bitmapBytes(huge));
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find("4294967295"), std::string::npos);
    BitmapContent cut{3, 1, 8, 16, std::vector<std::uint8_t>(60, 0), {}};
    r = readBitmapBytes(bitmapBytes(cut));
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find("colour table"), std::string::npos);

    test::TempDir dir;
    EXPECT_FALSE(readBitmapFile(dir.file("missing.bmp")));
    auto fromFile = readBitmapFile(dir.write("a.bmp", bitmapBytes(s)));
    ASSERT_TRUE(fromFile) << fromFile.error();
    EXPECT_EQ(fromFile->pixels.size(), 32u);
}

TEST(BitmapImport, TileSpriteTakesTheBitmapColumnForColumn) {
    // A 64-wide tile anchored 32 pixels right of its left edge sees bitmap column x at column x,
    // and picture line r + yOffset at row r.
    const int yOffset = 5;
    auto obj = buildObject({test::solidRowCodedSprite(64, 10, 100, -32, yOffset)});
    auto bmp = read(test::bitmap24(64, 64, [](int x, int y) { return rgbOf(indexAt(x, y)); }));
    importBitmapIntoSprite(obj, 0, bmp, ProtectedRamps{});
    for (int r = 0; r < 10; ++r)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(runPixel(obj, 0, x, r), indexAt(x, r + yOffset)) << x << "," << r;
}

TEST(BitmapImport, TwentyFourBitStrideAndEightBitTable) {
    // Stored row 1, column 4 of a 5-wide 24-bit bitmap is bytes 28..30 (blue, green, red).
    BitmapContent s{5, 3, 24, 0, {}, std::vector<std::uint8_t>(48, 0)};
    auto [r, g, b] = rgbOf(150);
    s.pixels[28] = std::uint8_t(b), s.pixels[29] = std::uint8_t(g), s.pixels[30] = std::uint8_t(r);
    // Sprite row 0 with yOffset 1 maps to stored row 3 - 1 - 0 - 1 = 1; column 0 with xOffset -28 to 4.
    auto obj = buildObject({rowCodedSprite(2, {{test::Run{0, {100, 100}}}}, -28, 1)});
    importBitmapIntoSprite(obj, 0, read(bitmapBytes(s)), ProtectedRamps{});
    EXPECT_EQ(runPixel(obj, 0, 0, 0), 150);
    EXPECT_EQ(runPixel(obj, 0, 1, 0), 100) << "column 5 lies outside a 5-wide bitmap";

    // 8 bits: 3-wide rows are padded to 4 bytes; entries beyond biClrUsed give no colour.
    BitmapContent t{3, 2, 8, 4, std::vector<std::uint8_t>(16, 0), {0, 1, 2, 0, 3, 2, 7, 0}};
    for (int e = 0; e < 4; ++e) {
        auto [er, eg, eb] = rgbOf(std::uint8_t(40 + e));
        t.colourTable[4 * e] = std::uint8_t(eb), t.colourTable[4 * e + 1] = std::uint8_t(eg);
        t.colourTable[4 * e + 2] = std::uint8_t(er);
    }
    // Row 0 of the sprite is picture line 0 = stored row 1 = {3, 2, 7}.
    auto eight = buildObject(
        {rowCodedSprite(3, {{test::Run{0, {100, 100, 100}}}, {test::Run{0, {100, 100, 100}}}}, -32, 0)});
    importBitmapIntoSprite(eight, 0, read(bitmapBytes(t)), ProtectedRamps{});
    EXPECT_EQ(runPixel(eight, 0, 0, 0), 43);
    EXPECT_EQ(runPixel(eight, 0, 1, 0), 42);
    EXPECT_EQ(runPixel(eight, 0, 2, 0), 100) << "index 7 is beyond the 4 entries read";
    EXPECT_EQ(runPixel(eight, 0, 0, 1), 40);
    EXPECT_EQ(runPixel(eight, 0, 2, 1), 42);
}

TEST(BitmapImport, WhatTheBitmapDoesNotCoverKeepsItsIndex) {
    auto white = [](int, int) { return std::tuple<int, int, int>{255, 255, 255}; };
    auto sprite = [] { return buildObject({test::solidRowCodedSprite(64, 8, 100, -32, 0)}); };

    // Top-down bitmaps have a negative height: no row lies below it.
    auto bytes = test::bitmap24(64, 8, white);
    storeLe32(&bytes[22], std::uint32_t(-8));
    auto obj = sprite();
    const auto before = pixelsOf(obj, 0);
    importBitmapIntoSprite(obj, 0, read(bytes), ProtectedRamps{});
    EXPECT_EQ(pixelsOf(obj, 0), before);

    // Pixel data cut short: the rows it holds are imported, the rest keep their index.
    bytes = test::bitmap24(64, 8, white);
    bytes.resize(54 + 192 * 3);  // stored rows 0..2 = picture lines 5..7
    obj = sprite();
    importBitmapIntoSprite(obj, 0, read(bytes), ProtectedRamps{});
    EXPECT_EQ(runPixel(obj, 0, 0, 4), 100);
    EXPECT_EQ(runPixel(obj, 0, 0, 5), 129);
    EXPECT_EQ(runPixel(obj, 0, 63, 7), 129);

    // Absurd widths and heights read nothing outside the buffer.
    for (auto [w, h] : {std::pair{INT_MAX, INT_MAX}, std::pair{INT_MIN, 8}, std::pair{64, INT_MIN}}) {
        bytes = test::bitmap24(64, 8, white);
        storeLe32(&bytes[18], std::uint32_t(w));
        storeLe32(&bytes[22], std::uint32_t(h));
        obj = sprite();
        importBitmapIntoSprite(obj, 0, read(bytes), ProtectedRamps{});
    }
}

TEST(BitmapImport, PageImportSkipsProtectedStairsRampsAndRawSprites) {
    std::vector<SpriteSpec> sprites;
    for (int i = 0; i < 73; ++i) {
        if (i == 2)
            sprites.push_back(test::solidRawSprite(64, 4, 100, -32, 0));
        else if (i == 3)
            sprites.push_back(rowCodedSprite(64,
                                             {{test::Run{0, std::vector<std::uint8_t>(32, 15)},
                                               test::Run{32, std::vector<std::uint8_t>(32, 240)}}},
                                             -32, 0));
        else
            sprites.push_back(test::solidRowCodedSprite(64, 4, 100, -32, 0));
    }
    auto obj = buildObject(sprites);
    const auto original = buildObject(sprites);
    auto bmp = read(test::bitmap24(64, 64, [](int, int) {
        return std::tuple<int, int, int>{255, 255, 255};
    }));
    ProtectedRamps ramp0{};
    ramp0[0] = true;
    for (int i : {16, 19, 67, 70}) EXPECT_TRUE(isStairsOrRamp(i)) << i;
    for (int i : {15, 20, 66, 71}) EXPECT_FALSE(isStairsOrRamp(i)) << i;
    ASSERT_TRUE(importBitmapIntoPage(obj, PagePath, bmp, ramp0));
    for (int i = 0; i <= 50; ++i) {
        if (isStairsOrRamp(i) || i == 2 || i == 3) continue;
        EXPECT_EQ(runPixel(obj, unsigned(i), 5, 2), 129) << i;
    }
    for (int i : {16, 17, 18, 19, 2, 51, 60})
        EXPECT_EQ(pixelsOf(obj, unsigned(i)), pixelsOf(original, unsigned(i))) << i;
    // Ramp 0 (index 15) is protected; 240 belongs to no protectable ramp.
    const auto two = pixelsOf(obj, 3);  // row table, run of 32 at column 0, run of 32 at column 32
    EXPECT_EQ(two[2 + 2 + 5], 15);
    EXPECT_EQ(two[2 + 2 + 32 + 2 + 5], 129);

    ASSERT_TRUE(importBitmapIntoPage(obj, PageQueue, bmp, ProtectedRamps{}));
    for (int i : {67, 68, 69, 70})
        EXPECT_EQ(pixelsOf(obj, unsigned(i)), pixelsOf(original, unsigned(i))) << i;
    EXPECT_EQ(runPixel(obj, 66, 0, 0), 129);
}

TEST(BitmapImport, OtherDepthsAreRefusedWithoutChange) {
    auto obj = buildObject(test::standardSprites(80));
    const auto before = pixelsOf(obj, 0);
    for (std::uint16_t bits : {1, 4, 16, 32}) {
        BitmapContent s{8,
                        8,
                        bits,
                        0,
                        std::vector<std::uint8_t>(bits < 24 ? 1024 : 0, 0xFF),
                        std::vector<std::uint8_t>(256, 0xFF)};
        auto bmp = read(bitmapBytes(s));
        auto status = importBitmapIntoPage(obj, PagePath, bmp, ProtectedRamps{});
        ASSERT_FALSE(status);
        EXPECT_EQ(status.error(), "Can only import 8 or 24 bit bitmaps.");
        importBitmapIntoSprite(obj, 0, bmp, ProtectedRamps{});
        EXPECT_EQ(pixelsOf(obj, 0), before);
    }
}

}  // namespace
}  // namespace trellisor
