// A page's colours: ramps, the colour operations, bitmap import and the palette files.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <random>

#include "GamePictures.h"
#include "preview/BitmapImport.h"
#include "preview/ColourOperations.h"
#include "preview/GamePalette.h"
#include "preview/PaletteFiles.h"
#include "support/ImageFileBuilders.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using namespace test;
using Bytes = std::vector<std::uint8_t>;

TEST(ColourRamps, ProtectionCoversWholeRampsAndParsesOnlyValidLists) {
    ProtectedRamps marks{};
    marks[0] = marks[17] = true;
    for (int c = 0; c < 256; ++c)  // ramp 0 from index 0 to 21, ramp 17 from 214 to 225
        EXPECT_EQ(isColourProtected(marks, std::uint8_t(c)), c <= 21 || (c >= 214 && c <= 225)) << c;
    for (int ramp : {-1, 18, 19}) EXPECT_FALSE(isRampProtected(ProtectedRamps{true, true, true}, ramp));
    EXPECT_TRUE(parseProtectedRamps("all", marks) && std::count(marks.begin(), marks.end(), true) == 18);
    EXPECT_TRUE(parseProtectedRamps(nullptr, marks) && std::count(marks.begin(), marks.end(), true) == 0);
    EXPECT_TRUE(parseProtectedRamps("0,05,17", marks));
    EXPECT_EQ(marks, (ProtectedRamps{true, false, false, false, false, true, false, false, false, false,
                                     false, false, false, false, false, false, false, true}));
    for (const char* bad : {"18", "-1", "1,,2", "1,", ",1", "x", "100", "ALL", "1, 2"})
        EXPECT_FALSE(parseProtectedRamps(bad, marks) || !marks[5]) << bad;  // refused, the marks as they were
}

// Sprite 0 raw, sprite 1 of another format, sprite 2 row-coded (rows of 16), all these indices.
PathObject objectWith(const Bytes& indices) {
    std::vector<std::vector<Run>> rows;
    for (auto row = indices.begin(); row != indices.end(); row += 16)
        rows.push_back({{0, Bytes(row, row + 16)}});
    SpriteSpec raw = rawSprite(16, int(indices.size()) / 16, indices), other = raw;
    other.header.flags = 3;
    return buildObject({raw, other, rowCodedSprite(16, rows)});
}

// The operations on every index, the raw sprite left of the row-coded one (where 0 is drawn), compared
// with tests/data/preview/colours/NAME.png.
TEST(ColourOperations, EveryIndexOfRawAndRowCodedSpritesMatchesItsPicture) {
    Bytes every(256);
    std::iota(every.begin(), every.end(), 0);
    using Apply = void (*)(PathObject&);
    const std::pair<const char*, Apply> cases[] = {
        {"brighter-ramp-2-protected",
         [](PathObject& o) {
             for (unsigned i : {0u, 1u, 2u}) adjustSpriteBrightness(o, i, +1, {false, false, true});
         }},
        {"darker",
         [](PathObject& o) {
             for (unsigned i : {0u, 1u, 2u}) adjustSpriteBrightness(o, i, -1, {});
         }},
        {"recoloured-to-ramp-18",
         [](PathObject& o) {
             for (unsigned i : {0u, 1u, 2u}) recolourSprite(o, i, 18, {});
         }},
        {"page-recoloured-to-ramp-4-ramp-1-protected",
         [](PathObject& o) {
             recolourPage(o, PagePath, 4, {false, true});
         }},
    };
    for (const auto& [name, apply] : cases) {
        SCOPED_TRACE(name);
        PathObject obj = objectWith(every);
        apply(obj);
        const auto picture = gamePicture(16, 16, {pixelsOf(obj, 0), runPixelsOf(obj, 2)});
        EXPECT_TRUE(matchesReference(picture, std::string("preview/colours/") + name));
        EXPECT_EQ(pixelsOf(obj, 1), every) << "other formats are never touched";
    }
    PathObject page = buildObject(standardSprites()), empty;
    recolourPage(page, PagePath, 4, {});
    recolourPage(empty, PagePath, 4, {});
    EXPECT_EQ(rampOfColour(runPixelsOf(page, 50).front()), 4) << "the page's last sprite";
    for (auto [x, ramp] : {std::pair{-3, 0}, {14, 0}, {15, 1}, {269, 17}, {270, 18}, {400, 18}})
        EXPECT_EQ(rampOfStripClick(x), ramp) << x;
}

TEST(ColourOperations, PageBrightnessStepsUntilItsCounterReachesTwelve) {
    PathObject obj = buildObject(standardSprites(168));
    const PathObject original = buildObject(standardSprites(168));
    int path = 0, queue = 0;
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(stepPageBrightness(obj, PagePath, path, +1, {}));
    const Bytes atLimit = pixelsOf(obj, 3);
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, path, +1, {}));
    EXPECT_TRUE(stepPageBrightness(obj, PageQueue, queue, -1, {}));  // another page, its own counter
    EXPECT_EQ(std::tuple(path, queue, pixelsOf(obj, 3)), std::tuple(12, -1, atLimit));
    for (unsigned i : {0u, 50u, 51u, 70u, 71u})
        EXPECT_EQ(pixelsOf(obj, i) == pixelsOf(original, i), i == 71) << i;
    for (int i = 0; i < 24; ++i) EXPECT_TRUE(stepPageBrightness(obj, PagePath, path, -1, {}));
    PathObject empty;
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, path, -1, {}));
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, path, 0, {}));
    EXPECT_FALSE(stepPageBrightness(empty, PagePath, queue, +1, {}));
    EXPECT_EQ(std::pair(path, queue), std::pair(-12, -1));
}

TEST(ColourOperations, SparklesFollowTheGenerator) {
    const Bytes plain(4096, 100);
    PathObject obj = objectWith(plain), guarded = objectWith(plain);
    std::srand(1234);
    addSparkles(obj, PagePath, {});
    // Replay: one number per pixel of the row-coded sprite, a second one per sparkle; raw sprites get none.
    std::srand(1234);
    Bytes expected = plain;
    for (auto& c : expected)
        if (std::rand() % 100 == 42) c = std::uint8_t(231 + std::rand() % 10);
    EXPECT_NE(expected, plain);
    EXPECT_EQ(std::pair(runPixelsOf(obj, 2), pixelsOf(obj, 0)), std::pair(expected, plain));
    ProtectedRamps protect{};  // protected pixels draw no numbers
    protect[rampOfColour(100)] = true;
    std::srand(99);
    addSparkles(guarded, PagePath, protect);
    const int next = std::rand();
    std::srand(99);
    EXPECT_EQ(std::pair(next, runPixelsOf(guarded, 2)), std::pair(std::rand(), plain));
    PathObject empty;
    addSparkles(empty, PagePath, {});
}

TEST(PaletteFiles, EachFormatHoldsItsHeaderThenEveryColourAndItsExtension) {
    // The game's 255 colours, then black for 255: tests/data/preview/palette/FORMAT.hex.
    const std::string gimp = gimpPaletteText(), jasc = jascPaletteText();
    const Bytes adobe = adobeColourTable();
    EXPECT_TRUE(matchesReferenceBytes(Bytes(gimp.begin(), gimp.end()), "preview/palette/gimp"));
    EXPECT_TRUE(matchesReferenceBytes(Bytes(jasc.begin(), jasc.end()), "preview/palette/jasc"));
    EXPECT_TRUE(matchesReferenceBytes(adobe, "preview/palette/adobe"));
    EXPECT_EQ(Bytes(adobe.end() - 7, adobe.end()), (Bytes{0, 0, 0, 1, 0, 0, 0}))
        << "black 255, the count 256 and the transparent index 0, big-endian";
    // clang-format off
    for (auto [index, name] : {std::pair{9, "index 9"}, {10, "index 10, ramp 0 shade 0"},
                               {57, "index 57, ramp 3 shade 11"}, {225, "index 225, ramp 17 shade 11"},
                               {226, "index 226"}, {254, "index 254"}, {255, "index 255, no colour"}})
        EXPECT_EQ(paletteColourName(index), name);
    using enum PaletteFileFormat;
    const std::pair<const char*, std::optional<PaletteFileFormat>> cases[] = {
        {"game.gpl", Gimp}, {"a/b/GAME.ACT", Adobe}, {"x.Pal", Jasc}, {"swatch.png", Png},
        {"x.bmp", std::nullopt}, {"gpl", std::nullopt}, {"x.gpl.txt", std::nullopt}};
    // clang-format on
    for (const auto& [path, format] : cases) EXPECT_EQ(paletteFileFormatOf(path), format) << path;
}

ImportedBitmap read(const Bytes& bytes) {
    auto r = readBitmapBytes(bytes);
    EXPECT_TRUE(r) << r.error();
    return r ? r.value() : ImportedBitmap{};
}

std::tuple<int, int, int> rgbOf(std::uint8_t index) {
    return {previewPalette[index].red, previewPalette[index].green, previewPalette[index].blue};
}

// Red across, green down, at blues 0, 85, 170 and 255, from every ramp and then from ramps 0-8:
// tests/data/preview/bitmap/nearest-colours.png. Each ramp colour is itself; without ramps, 0.
TEST(BitmapImport, MatchesTheNearestColourOfTheAllowedRamps) {
    std::array<bool, kRampCount> firstHalf{};
    std::fill_n(firstHalf.begin(), 9, true);
    std::vector<Bytes> cells(8);
    for (int cell = 0; cell < 8; ++cell)
        for (int g = 0; g < 256; g += 5)
            for (int r = 0; r < 256; r += 5) {
                const int b = cell % 4 * 85;
                cells[std::size_t(cell)].push_back(
                    cell < 4 ? matchPaletteColour(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b))
                             : matchPaletteColour(r, g, b, firstHalf));
            }
    EXPECT_TRUE(matchesReference(gamePicture(52, 52, cells), "preview/bitmap/nearest-colours"));
    for (int i = 10; i <= 225; ++i) {
        const RgbQuad c = previewPalette[std::size_t(i)];
        EXPECT_EQ(matchPaletteColour(c.red, c.green, c.blue), i);
    }
    EXPECT_EQ(matchPaletteColour(255, 255, 255, std::array<bool, kRampCount>{}), 0);
}

TEST(BitmapImport, ReaderTakesTablesAndRefusesWhatItCannotRead) {
    const Bytes whole = bitmapBytes({5, 2, 24, 0, {}, Bytes(32, 7)});  // 5 pixels: 16-byte rows, no table
    ImportedBitmap bmp = read(whole);
    EXPECT_EQ(std::tuple(bmp.rowStride, bmp.pixels.size(), bmp.colourCount, bmp.infoHeader.biWidth,
                         bmp.infoHeader.biHeight, bmp.infoHeader.biBitCount),
              std::tuple(16, 32u, 0u, 5, 2, 24));
    EXPECT_EQ(Bytes(bmp.fileHeader.begin(), bmp.fileHeader.end()), Bytes(whole.begin(), whole.begin() + 14));
    BitmapContent full{3, 1, 8, 0, Bytes(1024, 0), {1, 2, 3, 0}};  // biClrUsed 0: 256 entries
    full.colourTable[4 * 255] = 0xEE;
    bmp = read(bitmapBytes(full));
    EXPECT_EQ(std::tuple(bmp.colourCount, bmp.colourTable[255].blue, bmp.rowStride, bmp.pixels),
              std::tuple(256u, 0xEE, 4, Bytes{1, 2, 3, 0}));
    bmp = read(bitmapBytes({3, 1, 8, 2, {1, 2, 3, 0, 4, 5, 6, 0}, {9, 9, 9, 9}}));
    EXPECT_EQ(std::tuple(bmp.colourCount, bmp.colourTable[1].red, bmp.pixels.size()), std::tuple(2u, 6, 4u));
    EXPECT_EQ(read(Bytes(whole.begin(), whole.begin() + 54)).pixels.size(), 0u);
    // Rows of red, green, blue, top row first, make the bitmap that a file of those pixels reads as.
    const Bytes rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const auto colourAt = [](int x, int y) {
        return std::tuple{9 * y + 3 * x + 1, 9 * y + 3 * x + 2, 9 * y + 3 * x + 3};
    };
    const ImportedBitmap rows = bitmapFromRgbRows(3, 2, rgb), file = read(bitmap24(3, 2, colourAt));
    EXPECT_EQ(std::tuple(rows.rowStride, rows.pixels, rows.infoHeader.biWidth, rows.infoHeader.biBitCount),
              std::tuple(file.rowStride, file.pixels, 3, 24));

    const std::pair<Bytes, std::string> refused[] = {
        {Bytes(whole.begin(), whole.begin() + 53),
         "bitmap of 53 bytes is shorter than its 54 bytes of headers"},
        {bitmapBytes({3, 1, 8, 257, Bytes(1028, 0), {}}),
         "bitmap colour table of 257 entries is larger than 256"},
        {bitmapBytes({3, 1, 8, 0xFFFFFFFFu, {}, {}}),
         "bitmap colour table of 4294967295 entries is larger than 256"},
        {bitmapBytes({3, 1, 4, 16, Bytes(63, 0), {}}),
         "bitmap file ends inside its colour table of 16 entries"},
    };
    for (const auto& [bytes, reason] : refused) EXPECT_EQ(readBitmapBytes(bytes).error(), reason);
    EXPECT_TRUE(readBitmapBytes(bitmapBytes({3, 1, 8, 256, Bytes(1024, 0), {}})));

    TempDir dir;
    EXPECT_EQ(readBitmapFile(dir.file("missing.bmp")).error(), "No such file or directory");
    EXPECT_EQ(readBitmapFile(dir.write("a.bmp", whole))->pixels.size(), 32u);
}

// A tile anchored 32 pixels right of its left edge sees bitmap column x at its column
// x + xOffset + 32, picture line r + yOffset at its row r (stored bottom-up); what lies outside
// the bitmap or its data keeps its index (100). tests/data/preview/bitmap/import-NAME.png.
TEST(BitmapImport, EachPixelTakesTheBitmapColourUnderIt) {
    const auto gradient = [](int x, int y) { return rgbOf(std::uint8_t(10 + (x + 7 * y) % 216)); };
    const auto white = [](int, int) { return std::tuple{255, 255, 255}; };
    Bytes narrow = bitmap24(30, 63, gradient);
    narrow.insert(narrow.end(), 96, 0xFF);                                    // a row too many of data
    BitmapContent eight{3, 2, 8, 4, Bytes(16, 0), {0, 1, 2, 0, 3, 4, 3, 0}};  // index 4: past the table
    std::memcpy(eight.colourTable.data(), &previewPalette[40], 16);           // both blue, green, red, 0
    Bytes cut = bitmap24(64, 8, white);
    cut.resize(54 + 192 * 3 + 3);  // stored rows 0..2 = picture lines 5..7, and one pixel more
    const struct {
        const char* name;
        SpriteSpec sprite;
        Bytes bitmap;
    } cases[] = {
        {"gradient", solidRowCodedSprite(64, 10, 100, -32, 5), bitmap24(64, 64, gradient)},
        {"narrow-and-above", solidRowCodedSprite(40, 6, 100, -28, -3), narrow},
        {"eight-bits", solidRowCodedSprite(3, 2, 100, -32, 0), bitmapBytes(eight)},
        {"data-cut-short", solidRowCodedSprite(64, 8, 100, -32, 0), cut},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto obj = buildObject({c.sprite});
        importBitmapIntoSprite(obj, 0, read(c.bitmap), {});
        EXPECT_TRUE(matchesReference(
            gamePicture(c.sprite.header.width, c.sprite.header.height, {runPixelsOf(obj, 0)}),
            std::string("preview/bitmap/import-") + c.name));
    }
    // Top-down (negative height) and sizes past any file: nothing.
    Bytes topDown = bitmap24(64, 8, white);
    for (auto [w, h] : {std::pair{64, -8}, {INT_MAX, INT_MAX}, {INT_MIN, 8}, {64, INT_MIN}}) {
        storeLe32(&topDown[18], std::uint32_t(w));
        storeLe32(&topDown[22], std::uint32_t(h));
        auto untouched = buildObject({solidRowCodedSprite(64, 8, 100, -32, 0)});
        importBitmapIntoSprite(untouched, 0, read(topDown), {});
        EXPECT_EQ(runPixelsOf(untouched, 0), Bytes(512, 100)) << w << " x " << h;
    }
}

TEST(BitmapImport, PagesSkipProtectedStairsRampsAndRawSprites) {
    std::vector<SpriteSpec> sprites;
    for (int i = 0; i < 73; ++i) sprites.push_back(solidRowCodedSprite(64, 2, 100, -32, 0));
    sprites[2] = solidRawSprite(64, 2, 100, -32, 0);
    sprites[3] = rowCodedSprite(64, {{{0, Bytes(32, 15)}, {32, Bytes(32, 240)}}}, -32, 0);
    const auto original = buildObject(sprites);
    auto obj = buildObject(sprites);
    const auto bmp = read(bitmap24(64, 64, [](int, int) { return std::tuple{255, 255, 255}; }));
    ASSERT_TRUE(importBitmapIntoPage(obj, PagePath, bmp, ProtectedRamps{true}));
    ASSERT_TRUE(importBitmapIntoPage(obj, PageQueue, bmp, {}));
    for (int i = 0; i < 73; ++i) {
        const bool kept = (i >= 16 && i <= 19) || (i >= 67 && i <= 72) || i == 2;
        EXPECT_EQ(isStairsOrRamp(i), (i >= 16 && i <= 19) || (i >= 67 && i <= 70)) << i;
        if (i == 3) continue;
        EXPECT_EQ(pixelsOf(obj, unsigned(i)) == pixelsOf(original, unsigned(i)), kept) << i;
    }
    const Bytes two = pixelsOf(obj, 3);  // ramp 0 protected; 240 in no ramp
    EXPECT_EQ(std::pair(two[2 + 2 + 5], two[2 + 2 + 32 + 2 + 5]),
              std::pair(std::uint8_t(15), std::uint8_t(129)));

    for (std::uint16_t bits : {1, 4, 16, 32}) {
        const auto other =
            read(bitmapBytes({8, 8, bits, 0, Bytes(bits < 24 ? 1024 : 0, 0x10), Bytes(256, 0x10)}));
        EXPECT_EQ(importBitmapIntoPage(obj, PageQueue, other, {}).error(),
                  "Can only import 8 or 24 bit bitmaps.");
        importBitmapIntoSprite(obj, 60, other, {});
    }
    EXPECT_EQ(pixelsOf(obj, 60).at(6), 129);
    PathObject none;
    EXPECT_TRUE(importBitmapIntoPage(none, PagePath, bmp, {}));
}

}  // namespace
}  // namespace trellisor
