// Sprites as pictures, the game palette test, and colour matching with each dithering.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "preview/BitmapImport.h"
#include "preview/GamePalette.h"
#include "sprites/ColourMatching.h"
#include "support/ObjectBuilder.h"

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
    } cases[] = {
        {"the exported table", [](auto&) {}, true},
        {"index 0 is transparent whatever its entry", [](auto& t) { t[0].red = 9; }, true},
        {"an unused entry may differ", [](auto& t) { t[13] = {}; }, true},
        {"a used entry of another colour", [](auto& t) { t[200].red ^= 1; }, false},
        {"a used entry not opaque", [](auto& t) { t[12].alpha = 254; }, false},
        {"index 1 counts like any other", [](auto& t) { t[1].green = 1; }, false},
        {"a table that ends before a used index", [](auto& t) { t.resize(200); }, false},
    };
    for (const auto& c : cases) {
        auto table = game;
        c.change(table);
        EXPECT_EQ(usesGamePalette(table, std::vector<std::uint8_t>{0, 1, 12, 200}), c.expected) << c.what;
    }
}

// A flat picture of one colour, with a transparent pixel every fifth column.
Picture flat(Rgba colour, int size = 32) {
    Picture p{size, size, 3, -2, false, {}, std::vector<Rgba>(std::size_t(size * size), colour)};
    for (std::size_t i = 0; i < p.colours.size(); i += 5) p.colours[i].alpha = 0;
    return p;
}

// How far the mean colour of the opaque pixels' indices lies from target (summed over channels).
double meanDistance(const std::vector<std::uint8_t>& indices, const RgbQuad& target) {
    double red = 0, green = 0, blue = 0, n = 0;
    for (std::uint8_t c : indices) {
        if (c == 0) continue;
        const RgbQuad q = previewColour(c);
        red += q.red, green += q.green, blue += q.blue, ++n;
    }
    return std::abs(red / n - target.red) + std::abs(green / n - target.green) +
           std::abs(blue / n - target.blue);
}

TEST(ColourMatching, EveryDitherGivesAllowedColoursAndKeepsTransparency) {
    std::array<bool, kRampCount> some{};
    some[3] = some[12] = true;
    for (Dither dither : {Dither::None, Dither::Diffusion, Dither::Ordered}) {
        for (const auto& ramps : {Matching::allRamps(), some}) {
            Picture p = flat({200, 40, 90, 255});
            for (std::size_t i = 0; i < p.colours.size(); ++i) {  // every green, in two neighbouring reds
                p.colours[i].green = std::uint8_t(i % 256);
                p.colours[i].red = std::uint8_t(200 + i / 256 % 2);
            }
            const auto out = matchPicture(p, Matching{dither, ramps});
            ASSERT_EQ(out.size(), p.colours.size());
            for (std::size_t i = 0; i < out.size(); ++i) {
                const Rgba& c = p.colours[i];
                if (c.alpha < kOpaqueAlpha) {
                    EXPECT_EQ(out[i], 0);
                } else {
                    ASSERT_GE(out[i], kFirstRampIndex);
                    EXPECT_TRUE(ramps[std::size_t(rampOfColour(out[i]))]) << int(out[i]);
                    if (dither == Dither::None) {
                        EXPECT_EQ(out[i], matchPaletteColour(c.red, c.green, c.blue, ramps));
                    }
                }
            }
        }
        // Opaque from alpha 128; indexed pictures keep their indices; data that do not match give nothing.
        const Picture edge{
            2, 1, 0, 0, false, {}, {Rgba{255, 0, 0, kOpaqueAlpha - 1}, Rgba{255, 0, 0, kOpaqueAlpha}}};
        EXPECT_EQ(matchPicture(edge, {dither, Matching::allRamps()}), (std::vector<std::uint8_t>{0, 173}));
        const Picture indexed{2, 1, 0, 0, true, {230, 0}, {}};
        EXPECT_EQ(matchPicture(indexed, {dither, {}}), indexed.indices) << "even with no ramp allowed";
        EXPECT_TRUE(matchPicture(Picture{-1, -1, 0, 0, true, {5}, {}}, {dither, {}}).empty());
    }
}

TEST(ColourMatching, DitheredFlatAreasKeepTheirMeanColour) {
    // Halfway between two neighbouring shades of a ramp, and a colour between ramps.
    auto halfway = [](int index) {
        const RgbQuad a = previewColour(std::uint8_t(index)), b = previewColour(std::uint8_t(index + 1));
        return RgbQuad{std::uint8_t((a.blue + b.blue) / 2), std::uint8_t((a.green + b.green) / 2),
                       std::uint8_t((a.red + b.red) / 2), 0};
    };
    for (const RgbQuad target : {halfway(14), halfway(100), halfway(190), RgbQuad{60, 140, 170, 0}}) {
        const Picture p = flat({target.red, target.green, target.blue, 255});
        const auto plain = matchPicture(p, Matching{});
        const std::uint8_t nearest = plain[1];
        // A shade: the smaller step from the nearest colour to a neighbour in its ramp.
        int shade = 9999;
        for (int other : {nearest - 1, nearest + 1}) {
            const RgbQuad q = previewColour(std::uint8_t(other));
            if (rampOfColour(std::uint8_t(other)) == rampOfColour(nearest))
                shade = std::min(shade, colourDistance(previewColour(nearest), q.red, q.green, q.blue));
        }
        auto mean = [&](Dither d) {
            return meanDistance(matchPicture(p, {d, Matching::allRamps()}), target);
        };
        EXPECT_LT(mean(Dither::Diffusion), 2.0) << "near index " << int(nearest);
        // The ordered pattern moves all channels alike, so colours off a ramp stay further off.
        EXPECT_LT(mean(Dither::Ordered), std::min(meanDistance(plain, target), shade / 2.0))
            << "near index " << int(nearest);
    }
}

TEST(ColourMatching, DiffusionFollowsThinShapesAndTheOrderedPatternTheOrigin) {
    // Thin lines: each pixel's only opaque neighbour lies below (a diagonal, or column 0), which
    // the plain weights give a small share of the error. All of it must go there.
    const RgbQuad a = previewColour(40), b = previewColour(41);
    const Rgba target{std::uint8_t((a.red + b.red) / 2), std::uint8_t((a.green + b.green) / 2),
                      std::uint8_t((a.blue + b.blue) / 2), 255};
    for (int slope : {1, 0}) {
        Picture line{64, 64, 0, 0, false, {}, std::vector<Rgba>(64 * 64)};
        for (int i = 0; i < 64; ++i) line.colours[std::size_t(i * 64 + i * slope)] = target;
        const auto out = matchPicture(line, Matching{Dither::Diffusion, Matching::allRamps()});
        const auto lighter = std::count(out.begin(), out.end(), 41);
        EXPECT_GT(lighter, 20) << slope;
        EXPECT_LT(lighter, 44) << slope;
    }

    // The same flat area drawn one pixel further right shows the same pattern on screen.
    const RgbQuad c = previewColour(100), d = previewColour(101);
    Picture p = flat({std::uint8_t((3 * c.red + d.red) / 4), std::uint8_t((3 * c.green + d.green) / 4),
                      std::uint8_t((3 * c.blue + d.blue) / 4), 255});
    for (Rgba& colour : p.colours) colour.alpha = 255;
    const Matching ordered{Dither::Ordered, Matching::allRamps()};
    const auto here = matchPicture(p, ordered);
    p.xOffset += 1;  // one pixel right and one up: pixel (x, y) now lies where (x + 1, y - 1) was
    p.yOffset -= 1;
    const auto moved = matchPicture(p, ordered);
    EXPECT_NE(here, moved);
    for (int y = 1; y < p.height; ++y)
        for (int x = 0; x + 1 < p.width; ++x)
            ASSERT_EQ(moved[std::size_t(y * p.width + x)], here[std::size_t((y - 1) * p.width + x + 1)])
                << x << "," << y;
}

}  // namespace
}  // namespace trellisor
