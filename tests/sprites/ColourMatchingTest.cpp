// Sprites as pictures, the game palette test, and colour matching with each dither.
#include <gtest/gtest.h>

#include "SpriteSamples.h"
#include "preview/GamePalette.h"
#include "sprites/ColourMatching.h"

namespace trellisor {
namespace {

TEST(SpritePicture, ShowsWhatExportWritesAndJudgesPalettesOnTheIndicesUsed) {
    PathObject obj = test::buildObject({test::rowCodedSprite(3, {{test::Run{1, {0, 129, 5}}}}, 4, -5),
                                        test::SpriteSpec{SpriteHeader{0, 0, 0, 1, 1, 1, 0}, {}}});
    const Picture indexed = spritePicture(obj, 0, false), rgba = spritePicture(obj, 0, true);
    EXPECT_EQ(indexed.indices, (std::vector<std::uint8_t>{0, 0, 129})) << "a run's 0 and column 3 drop out";
    EXPECT_EQ(rgba.colours, (std::vector<Rgba>{{}, {0, 0, 0, 255}, gameColour(129)})) << "as the game draws";
    EXPECT_EQ(std::pair(indexed.xOffset, indexed.yOffset), std::pair(4, -5));
    EXPECT_EQ(spritePicture(obj, 2, false).pixelCount(), 0u) << "no such sprite";
    EXPECT_EQ(spritePicture(obj, 1, false).indices, std::vector<std::uint8_t>{0}) << "an empty sprite: 1 x 1";

    std::vector<Rgba> game;
    for (int i = 0; i < 256; ++i) game.push_back(gameColour(std::uint8_t(i)));
    auto uses = [&](std::size_t at, std::uint8_t Rgba::*field, std::size_t size = 256) {
        auto table = game;
        table[at].*field ^= 1;
        table.resize(size);
        return usesGamePalette(table, std::vector<std::uint8_t>{0, 1, 12, 200});
    };
    // Index 0 and unused entries may differ; the used ones must be the game's opaque colours.
    EXPECT_TRUE(uses(0, &Rgba::red) && uses(13, &Rgba::blue));
    EXPECT_FALSE(uses(200, &Rgba::red) || uses(12, &Rgba::alpha) || uses(1, &Rgba::green) ||
                 uses(13, &Rgba::red, 200));
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

// A picture matched with no dither, diffusion and ordered dither (top to bottom), each with all
// ramps and then with ramps 3 and 12 only, a transparent line under each.
::testing::AssertionResult matchesEveryWay(const Picture& p, const std::string& name) {
    std::array<bool, kRampCount> some{};
    some[3] = some[12] = true;
    std::vector<std::uint8_t> sheet;
    for (Dither dither : {Dither::None, Dither::Diffusion, Dither::Ordered})
        for (const auto& ramps : {Matching::allRamps(), some}) {
            const auto out = matchPicture(p, Matching{dither, ramps});
            EXPECT_EQ(out.size(), p.colours.size()) << name;
            sheet.insert(sheet.end(), out.begin(), out.end());
            sheet.resize(sheet.size() + std::size_t(p.width));
        }
    return test::matchesReference(test::gamePicture(p.width, 6 * (p.height + 1), sheet),
                                  "sprites/matching/" + name);
}

TEST(ColourMatching, EveryDitherOnGradientsFlatAreasAndThinLines) {
    Picture gradient = flat({200, 40, 90, 255});
    for (std::size_t i = 0; i < gradient.colours.size(); ++i) {  // every green, in two neighbouring reds
        gradient.colours[i].green = std::uint8_t(i % 256);
        gradient.colours[i].red = std::uint8_t(200 + i / 256 % 2);
    }
    std::vector<std::pair<std::string, Picture>> pictures = {{"gradient", gradient}};
    // Halfway between neighbouring shades of a ramp, and between ramps.
    for (int index : {14, 100, 190})
        pictures.push_back({"between-" + std::to_string(index), flat(between(index))});
    pictures.push_back({"between-ramps", flat({170, 140, 60, 255})});
    // Thin lines: each pixel's only opaque neighbour lies below (a diagonal, or column 0).
    for (int slope : {1, 0}) {
        Picture line{64, 64, 0, 0, false, {}, std::vector<Rgba>(64 * 64)};
        for (int i = 0; i < 64; ++i) line.colours[std::size_t(i * 64 + i * slope)] = between(40);
        pictures.push_back({slope ? "diagonal" : "column-0", line});
    }
    pictures.push_back(
        {"opaque-from-alpha-128",
         Picture{2, 1, 0, 0, false, {}, {Rgba{255, 0, 0, kOpaqueAlpha - 1}, Rgba{255, 0, 0, kOpaqueAlpha}}}});
    // An opaque area, and the same one pixel right and up: the ordered pattern follows the screen.
    Picture here = flat(between(100, 3));
    for (Rgba& colour : here.colours) colour.alpha = 255;
    Picture moved = here;
    moved.xOffset += 1, moved.yOffset -= 1;
    pictures.push_back({"opaque", here});
    pictures.push_back({"opaque-moved", moved});

    for (const auto& [name, p] : pictures) EXPECT_TRUE(matchesEveryWay(p, name));

    // Indexed pictures keep their indices; data that do not match give nothing.
    const Picture indexed{2, 1, 0, 0, true, {230, 0}, {}};
    EXPECT_EQ(matchPicture(indexed, {Dither::Ordered, {}}), indexed.indices) << "even with no ramp allowed";
    EXPECT_TRUE(matchPicture(Picture{-1, -1, 0, 0, true, {5}, {}}, {}).empty());
}

}  // namespace
}  // namespace trellisor
