// Sprites as pictures, the game palette test, and colour matching with each dithering.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "preview/BitmapImport.h"
#include "preview/GamePalette.h"
#include "sprites/ColourMatching.h"
#include "support/ObjectBuilder.h"
#include "support/Pixels.h"

namespace trellisor {
namespace {

TEST(SpritePicture, ShowsWhatExportWritesAndJudgesPalettesOnTheIndicesUsed) {
    PathObject obj = test::buildObject({test::rowCodedSprite(3, {{test::Run{1, {0, 129, 5}}}}, 4, -5),
                                        test::SpriteSpec{SpriteHeader{0, 0, 0, 1, 1, 1, 0}, {}}});
    const Picture indexed = spritePicture(obj, 0, false), rgba = spritePicture(obj, 0, true);
    EXPECT_EQ(indexed.indices, (std::vector<std::uint8_t>{0, 0, 129})) << "a run's 0 and column 3 drop out";
    EXPECT_EQ(rgba.colours, (std::vector<Rgba>{{}, {0, 0, 0, 255}, gameColour(129)})) << "as the game draws";
    EXPECT_EQ(std::tie(indexed.width, indexed.height, indexed.xOffset, indexed.yOffset),
              std::tuple(3, 1, 4, -5));
    EXPECT_EQ(spritePicture(obj, 2, false).pixelCount(), 0u) << "no such sprite";
    const Picture empty = spritePicture(obj, 1, false);
    EXPECT_EQ(std::tie(empty.width, empty.height, empty.indices),
              std::tuple(1, 1, std::vector<std::uint8_t>{0}));

    std::vector<Rgba> game;
    for (int i = 0; i < 256; ++i) game.push_back(gameColour(std::uint8_t(i)));
    const struct {
        const char* what;
        std::function<void(std::vector<Rgba>&)> change;
        bool expected;
    } cases[] = {{"the exported table", [](auto&) {}, true},
                 {"index 0 is transparent whatever its entry", [](auto& t) { t[0].red = 9; }, true},
                 {"an unused entry may differ", [](auto& t) { t[13] = {}; }, true},
                 {"a used entry of another colour", [](auto& t) { t[200].red ^= 1; }, false},
                 {"a used entry not opaque", [](auto& t) { t[12].alpha = 254; }, false},
                 {"index 1 counts like any other", [](auto& t) { t[1].green = 1; }, false},
                 {"a table that ends before a used index", [](auto& t) { t.resize(200); }, false}};
    for (const auto& c : cases) {
        auto table = game;
        c.change(table);
        EXPECT_EQ(usesGamePalette(table, std::vector<std::uint8_t>{0, 1, 12, 200}), c.expected) << c.what;
    }
}

// A picture of one colour, with a transparent pixel every fifth column.
Picture flat(Rgba colour, int size = 32) {
    Picture p{size, size, 3, -2, false, {}, std::vector<Rgba>(std::size_t(size * size), colour)};
    for (std::size_t i = 0; i < p.colours.size(); i += 5) p.colours[i].alpha = 0;
    return p;
}

// A colour between palette colours index and index + 1, weighing the first `weight` times.
Rgba between(int index, int weight = 1) {
    const RgbQuad a = previewColour(std::uint8_t(index)), b = previewColour(std::uint8_t(index + 1));
    auto mix = [&](int x, int y) { return std::uint8_t((weight * x + y) / (weight + 1)); };
    return {mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue), 255};
}

TEST(ColourMatching, EveryDitherOnGradientsFlatAreasAndThinLines) {
    std::vector<Picture> pictures = {flat({200, 40, 90, 255})};
    for (std::size_t i = 0; i < pictures[0].colours.size(); ++i) {  // every green, in two neighbouring reds
        pictures[0].colours[i].green = std::uint8_t(i % 256);
        pictures[0].colours[i].red = std::uint8_t(200 + i / 256 % 2);
    }
    // Halfway between neighbouring shades of a ramp, and a colour between ramps.
    for (Rgba c : {between(14), between(100), between(190), Rgba{170, 140, 60, 255}})
        pictures.push_back(flat(c));
    // Thin lines: each pixel's only opaque neighbour lies below (a diagonal, or column 0).
    for (int slope : {1, 0}) {
        Picture& line = pictures.emplace_back(Picture{64, 64, 0, 0, false, {}, std::vector<Rgba>(64 * 64)});
        for (int i = 0; i < 64; ++i) line.colours[std::size_t(i * 64 + i * slope)] = between(40);
    }
    // An opaque flat area, and the same drawn one pixel right and one up (the ordered pattern
    // follows the screen).
    Picture& here = pictures.emplace_back(flat(between(100, 3)));
    for (Rgba& colour : here.colours) colour.alpha = 255;
    Picture moved = here;
    moved.xOffset += 1, moved.yOffset -= 1;
    pictures.push_back(moved);

    std::array<bool, kRampCount> some{};
    some[3] = some[12] = true;
    test::Bytes all;
    for (const Picture& p : pictures)
        for (Dither dither : {Dither::None, Dither::Diffusion, Dither::Ordered})
            for (const auto& ramps : {Matching::allRamps(), some}) {
                const auto out = matchPicture(p, Matching{dither, ramps});
                ASSERT_EQ(out.size(), p.colours.size());
                all.insert(all.end(), out.begin(), out.end());
            }
    // FNV-1a over every matched picture; refresh from the printed value.
    EXPECT_EQ(test::fnv1a(all), 0x8D127EFCu);

    for (Dither dither : {Dither::None, Dither::Diffusion, Dither::Ordered}) {
        // Opaque from alpha 128; indexed pictures keep their indices; data that do not match give nothing.
        const Picture edge{
            2, 1, 0, 0, false, {}, {Rgba{255, 0, 0, kOpaqueAlpha - 1}, Rgba{255, 0, 0, kOpaqueAlpha}}};
        EXPECT_EQ(matchPicture(edge, {dither, Matching::allRamps()}), (std::vector<std::uint8_t>{0, 173}));
        const Picture indexed{2, 1, 0, 0, true, {230, 0}, {}};
        EXPECT_EQ(matchPicture(indexed, {dither, {}}), indexed.indices) << "even with no ramp allowed";
        EXPECT_TRUE(matchPicture(Picture{-1, -1, 0, 0, true, {5}, {}}, {dither, {}}).empty());
    }
}

}  // namespace
}  // namespace trellisor
