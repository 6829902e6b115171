// Ramp arithmetic and protection, the colour operations over raw and row-coded sprites
// (brightness steps, recolouring, the strip, sparkles), and the palette files' exact bytes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "preview/ColourOperations.h"
#include "preview/GamePalette.h"
#include "preview/PaletteFiles.h"
#include "support/ObjectBuilder.h"
#include "support/Pixels.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ColourRamps, RampShadeRecolourAndProtection) {
    ProtectedRamps marks{};
    marks[0] = marks[17] = true;
    for (int c = 0; c < 256; ++c) {  // (c - 10) / 12 and its remainder, truncating toward zero
        const auto u = std::uint8_t(c);
        EXPECT_EQ(std::pair(rampOfColour(u), shadeOfColour(u)),
                  c < 10 ? std::pair(0, c - 10) : std::pair((c - 10) / 12, (c - 10) % 12));
        EXPECT_EQ(recolourIndex(u, 20), (250 + shadeOfColour(u)) & 0xFF) << c;
        EXPECT_EQ(isColourProtected(marks, u), c <= 21 || (c >= 214 && c <= 225)) << c;
    }
    for (int ramp : {-1, 18, 19}) EXPECT_FALSE(isRampProtected(ProtectedRamps{true, true, true}, ramp));
    EXPECT_TRUE(parseProtectedRamps("all", marks) && std::count(marks.begin(), marks.end(), true) == 18);
    EXPECT_TRUE(parseProtectedRamps(nullptr, marks) && std::count(marks.begin(), marks.end(), true) == 0);
    EXPECT_TRUE(parseProtectedRamps("0,05,17", marks));
    EXPECT_EQ(marks, (ProtectedRamps{true, false, false, false, false, true, false, false, false, false,
                                     false, false, false, false, false, false, false, true}));
    for (const char* bad : {"18", "-1", "1,,2", "1,", ",1", "x", "100", "ALL", "1, 2"})
        EXPECT_FALSE(parseProtectedRamps(bad, marks) || !marks[5]) << bad;  // refused, the marks as they were
}

// Sprite 0 raw, sprite 1 row-coded (rows of at most 100), sprite 2 of another format, all these indices.
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
    // 21 is ramp 0's lightest; a raw 0 is transparent, a run's 0 is drawn; 255's successor is another ramp.
    const Bytes in = {21, 22, 10, 1, 0, 255, 15, 237, 226, 249, 250, 9, 34};
    PathObject up = objectWith(in), down = objectWith(in);
    for (unsigned i = 0; i < 3; ++i)  // ramp 2 (34) protected on the way up
        adjustSpriteBrightness(up, i, +1, {false, false, true}), adjustSpriteBrightness(down, i, -1, {});
    const Bytes upRaw = {21, 23, 11, 2, 0, 255, 16, 237, 227, 249, 251, 10, 34};
    const Bytes downRaw = {20, 22, 9, 0, 0, 254, 14, 236, 226, 248, 250, 8, 34};
    Bytes upRun = upRaw;
    upRun[4] = 1;
    EXPECT_EQ(std::tuple(test::pixelsOf(up, 0), test::runPixelsOf(up, 1), test::pixelsOf(down, 0),
                         test::runPixelsOf(down, 1)),
              std::tuple(upRaw, upRun, downRaw, downRaw));
    EXPECT_EQ(test::pixelsOf(up, 2), in) << "other formats are never touched";

    PathObject obj = test::buildObject(test::standardSprites(168));
    const PathObject original = test::buildObject(test::standardSprites(168));
    int path = 0, queue = 0;
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(stepPageBrightness(obj, PagePath, path, +1, {}));
    const Bytes atLimit = test::pixelsOf(obj, 3);
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, path, +1, {}));   // the counter stops at +12
    EXPECT_TRUE(stepPageBrightness(obj, PageQueue, queue, -1, {}));  // another page, its own counter
    EXPECT_EQ(std::tuple(path, queue, test::pixelsOf(obj, 3)), std::tuple(12, -1, atLimit));
    for (unsigned i : {0u, 50u, 51u, 70u, 71u})
        EXPECT_EQ(test::pixelsOf(obj, i) == test::pixelsOf(original, i), i == 71) << i;
    for (int i = 0; i < 24; ++i) EXPECT_TRUE(stepPageBrightness(obj, PagePath, path, -1, {}));
    PathObject empty;
    EXPECT_FALSE(stepPageBrightness(obj, PagePath, path, -1, {}) ||
                 stepPageBrightness(obj, PagePath, path, 0, {}) ||
                 stepPageBrightness(empty, PagePath, queue, +1, {}));
    EXPECT_EQ(std::pair(path, queue), std::pair(-12, -1));
}

TEST(ColourOperations, RecolourMovesEveryUnprotectedShadeAndTheStripPicksTheRamp) {
    const Bytes in = {0, 5, 10, 21, 22, 100, 225, 230};
    PathObject one = objectWith(in), page = objectWith(in);
    recolourSprite(one, 0, 18, {});
    EXPECT_EQ(test::pixelsOf(one, 0),
              (Bytes{0, 221, 226, 237, 226, 232, 237, 230}));  // a raw 0 stays transparent
    recolourPage(page, PagePath, 4, {false, true});
    EXPECT_EQ(test::runPixelsOf(page, 1), (Bytes{48, 53, 58, 69, 22, 64, 69, 62}));  // ramp 1 (22) protected
    EXPECT_EQ(test::pixelsOf(page, 2), in);
    PathObject empty;
    recolourPage(empty, PagePath, 4, {});
    for (auto [x, ramp] : {std::pair{-3, 0}, {14, 0}, {15, 1}, {269, 17}, {270, 18}, {400, 18}})
        EXPECT_EQ(rampOfStripClick(x), ramp) << x;
}

TEST(ColourOperations, SparklesFollowTheGenerator) {
    const Bytes plain(3000, 100);
    PathObject obj = objectWith(plain), guarded = objectWith(plain);
    std::srand(1234);
    addSparkles(obj, PagePath, {});
    // Replay: one number per pixel of the row-coded sprite, a second one per sparkle; raw sprites get none.
    std::srand(1234);
    Bytes expected = plain;
    for (auto& c : expected)
        if (std::rand() % 100 == 42) c = std::uint8_t(231 + std::rand() % 10);
    EXPECT_NE(expected, plain);
    EXPECT_EQ(std::pair(test::runPixelsOf(obj, 1), test::pixelsOf(obj, 0)), std::pair(expected, plain));
    ProtectedRamps protect{};  // protected pixels draw no numbers
    protect[rampOfColour(100)] = true;
    std::srand(99);
    addSparkles(guarded, PagePath, protect);
    const int next = std::rand();
    std::srand(99);
    EXPECT_EQ(std::pair(next, test::runPixelsOf(guarded, 1)), std::pair(std::rand(), plain));
    PathObject empty;
    addSparkles(empty, PagePath, {});
}

TEST(PaletteFiles, EachFormatHoldsItsHeaderThenEveryColourAndItsExtension) {
    // The game's 255 colours, then black for 255. Golden FNV-1a hashes of the whole files, taken
    // once from reviewed files: print test::fnv1a of each to refresh.
    const std::string gimp = gimpPaletteText(), jasc = jascPaletteText();
    const std::string gimpHead =
        "GIMP Palette\nName: Trellisor game palette\nColumns: 16\n#\n  0   0   0\tindex 0\n";
    const std::string jascHead = "JASC-PAL\r\n0100\r\n256\r\n0 0 0\r\n";
    const Bytes adobe = adobeColourTable();
    EXPECT_EQ(std::pair(gimp.substr(0, gimpHead.size()), jasc.substr(0, jascHead.size())),
              std::pair(gimpHead, jascHead));
    EXPECT_EQ(Bytes(adobe.end() - 7, adobe.end()), (Bytes{0, 0, 0, 1, 0, 0, 0}))
        << "black 255, the count 256 and the transparent index 0, big-endian";
    auto hash = [](const std::string& t) {
        return test::fnv1a({reinterpret_cast<const std::uint8_t*>(t.data()), t.size()});
    };
    EXPECT_EQ(std::tuple(hash(gimp), hash(jasc), test::fnv1a(adobe)),
              std::tuple(0x0C2DED55u, 0x0D4063B3u, 0x70D7F175u));
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

}  // namespace
}  // namespace trellisor
