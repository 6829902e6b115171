// What lies at a pixel of a frame or a sprite, as the Viewer and pick say it; gallery cells.
#include <gtest/gtest.h>

#include "GamePictures.h"
#include "preview/ExampleScenes.h"
#include "preview/HeadlessPreview.h"
#include "preview/PixelFacts.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"
#include "preview/SpriteDrawing.h"
#include "preview/SpriteFacts.h"
#include "support/Pixels.h"
#include "support/SceneObject.h"

namespace trellisor {
namespace {

using namespace test;

PixelOwner sprite(unsigned index, std::uint8_t c) { return {PixelSource::Sprite, index, c}; }

// The owners row by row, a sprite's number or '.' for none, rows separated by |.
std::string ownerMap(const FrameOwners& owners) {
    std::string map;
    for (int y = 0; y < owners.height(); ++y, map += '|')
        for (int x = 0; x < owners.width(); ++x) {
            const PixelOwner o = owners.at(x, y);
            map += o.source == PixelSource::Sprite ? char('0' + o.sprite) : '.';
        }
    return map;
}

TEST(FrameOwners, TheLastSpriteDrawnOwnsAPixelAndPixelsOutsideAreDropped) {
    // 0 covers 0..3 x 0..3, 1 covers 2..4 x 2..4 over it, 2 runs from 4, 4 past the right edge.
    const auto obj = buildObject({solidRawSprite(4, 4, 20), solidRawSprite(3, 3, 30, -1, -1),
                                  rowCodedSprite(5, {{{0, {0, 41, 42, 43, 44}}}}, -2, 0)});
    auto screen = createMemoryImage(8, 6, 32);
    FrameOwners owners;
    owners.reset(8, 6);
    owners.recordPixel(1, 1, 9);  // before any draw: not recorded
    drawSprite(obj, screen.get(), 0, 0, 0, &owners);
    drawSprite(obj, screen.get(), 1, 3, 3, &owners);
    drawSprite(obj, screen.get(), 2, 6, 4, &owners);
    drawSprite(obj, screen.get(), 3, 1, 1, &owners);  // no such sprite: not drawn, not recorded
    EXPECT_EQ(ownerMap(owners), "0000....|0000....|00111...|00111...|..112222|........|");
    EXPECT_EQ(
        std::tuple(owners.at(3, 1), owners.at(4, 4), owners.at(7, 4), owners.at(-1, 0), owners.at(0, 6)),
        std::tuple(sprite(0, 20), sprite(2, 0), sprite(2, 43), PixelOwner{}, PixelOwner{}));
    EXPECT_EQ(owners.draws(), (std::vector<SpriteDraw>{{0, 0, 0}, {1, 3, 3}, {2, 6, 4}}));
    // A new frame forgets the last one, also once its frame numbers have run out and start again.
    for (int frame = 2; frame < 600; ++frame) {
        owners.reset(8, 6);
        if (owners.at(2, 2) != PixelOwner{} || !owners.draws().empty()) {
            ADD_FAILURE() << "frame " << frame << " still holds the first frame's sprites";
            break;
        }
    }
    owners.reset(-3, 0);  // no size below 0
    EXPECT_EQ(std::pair(owners.width(), owners.height()), std::pair(0, 0));
}

// 300 x 200 grass of index 80 with a 10 x 10 hole of 0 at 20, 20.
std::unique_ptr<Image> holedGrass() {
    auto grass = createMemoryImage(300, 200, 8);
    grass->clear(80);
    grass->fillRectangle(20, 20, 29, 29, 0);
    return grass;
}

TEST(FrameOwners, AFrameRecordsItsSpritesAndGrassWithoutChangingAPixel) {
    PathObject obj = buildObject(sceneSprites());
    composePreviewIcons(obj);
    const auto grass = holedGrass();
    HeadlessPreview plain(32), recorded(32);
    FrameOwners owners;
    drawPreviewFrame(obj, plain.display(), grass.get(), PreviewExamplePath, PagePath);
    drawPreviewFrame(obj, recorded.display(), grass.get(), PreviewExamplePath, PagePath, &owners);
    EXPECT_EQ(storedBytes(*recorded.screen()), storedBytes(*plain.screen()));
    ASSERT_EQ(std::pair(owners.width(), owners.height()), std::pair(kPreviewWidth, kPreviewHeight));
    // Every sprite pixel shows its index's colour; grass and holes as the grass left them.
    int sprites = 0;
    for (int y = 0; y < kPreviewHeight; ++y)
        for (int x = 0; x < kPreviewWidth; ++x) {
            const ScenePixel p = scenePixel(owners, x, y, shownColour(*recorded.screen(), x, y));
            const bool inGrass = x < 300 && y < 200 && !(x >= 20 && x < 30 && y >= 20 && y < 30);
            if (p.source == PixelSource::Sprite) {
                ++sprites;
                ASSERT_EQ(p.shown, previewColour(p.colour->index)) << x << ", " << y;
            } else {
                ASSERT_EQ(p.source, inGrass ? PixelSource::Grass : PixelSource::Background) << x << ", " << y;
            }
        }
    EXPECT_GT(sprites, 5000);
    EXPECT_EQ(owners.draws().size(), 18u);  // steps 8-17 and 21-28 of the example path
    // An element grid records its cells' sprites; an empty object only the grass.
    drawPreviewFrame(obj, recorded.display(), nullptr, PreviewAllQueueElements, PageQueue, &owners);
    EXPECT_EQ(owners.at(cellX(0, 1), cellY(1, 0)), sprite(51, *spritePixelAt(obj, 51, 32, 16)));
    drawPreviewFrame(PathObject{}, recorded.display(), grass.get(), PreviewExamplePath, PagePath, &owners);
    EXPECT_EQ(std::pair(owners.at(5, 5).source, owners.draws().size()), std::pair(PixelSource::Grass, 0ul));
}

TEST(PixelFacts, ColoursAndScenePixelsAreSaidWithRampShadeAndTheColourShown) {
    for (const auto& [index, text] : {std::pair<int, const char*>{0, "index 0, ramp 0 (greys), #000000"},
                                      {10, "index 10, ramp 0 (greys), shade 0, #172323"},
                                      {21, "index 21, ramp 0 (greys), shade 11, #eff3f3"},
                                      {134, "index 134, ramp 10 (blues), shade 4, #1b53cb"},
                                      {225, "index 225, ramp 17 (beiges), shade 11, #fff3df"},
                                      {229, "index 229, special, #ffff00"},
                                      {255, "index 255, special, #000000"}})
        EXPECT_EQ(describeColour(colourFacts(std::uint8_t(index))), text);
    EXPECT_EQ(std::string(rampName(18)), "special colours");
    // A scene pixel names its sprite and page, or grass or background.
    const PathObject obj = buildObject(standardSprites());
    ScenePixel p;
    p.x = 163, p.y = 67, p.source = PixelSource::Sprite, p.sprite = 82, p.colour = colourFacts(98);
    p.shown = previewColour(98);
    EXPECT_EQ(describeScenePixel(obj, p),
              "x 163, y 67: sprite 82, Path Railings; index 98, ramp 7 (bright greens), shade 4, #278f07");
    p.sprite = 71;
    EXPECT_EQ(describeScenePixel(obj, p).substr(0, 26), "x 163, y 67: sprite 71, ic");
    p.source = PixelSource::Grass, p.shown = {40, 140, 60, 0};
    EXPECT_EQ(describeScenePixel(obj, p), "x 163, y 67: grass, #3c8c28");
    p.source = PixelSource::Background;
    EXPECT_EQ(describeScenePixel(obj, p), "x 163, y 67: background, #3c8c28");
}

TEST(SpriteFacts, PagesSizesOffsetsFormatsBytesAndFileNames) {
    const PathObject obj = buildObject(standardSprites());
    const std::pair<unsigned, std::optional<int>> pages[] = {{0, PagePath},       {50, PagePath},
                                                             {51, PageQueue},     {71, std::nullopt},
                                                             {167, PageSupports}, {168, std::nullopt}};
    for (const auto& [index, page] : pages) EXPECT_EQ(pageOfSprite(obj, index), page) << index;
    const SpriteFacts queue = *spriteFacts(obj, 55), icon = *spriteFacts(obj, 71);
    EXPECT_EQ(std::tuple(queue.page, queue.icon, queue.width, queue.height, queue.xOffset, queue.yOffset),
              std::tuple(std::optional<int>(PageQueue), false, 8, 4, -4, -2));
    EXPECT_EQ(std::tuple(queue.byteCount, spriteFormatName(queue.flags), queue.fileName),
              std::tuple(std::uint32_t(pixelsOf(obj, 55).size()), std::string("row-coded"),
                         std::string("055.png")));
    EXPECT_EQ(std::tuple(icon.icon, spriteFormatName(icon.flags), icon.byteCount),
              std::tuple(true, std::string("raw"), std::uint32_t(1530)));
    EXPECT_EQ(spriteFormatName(2), "unknown (flags 2)");
    EXPECT_FALSE(spriteFacts(obj, 168));
}

TEST(SpriteFacts, SpritesShowTheirDrawnPixelsAroundTheirAnchor) {
    // Raw 0 is transparent, a row-coded 0 is drawn; offsets place the box around the anchor.
    const auto obj = buildObject(
        {rawSprite(2, 2, {0, 11, 12, 0}, -1, -2), rowCodedSprite(3, {{test::Run{1, {0, 13}}}}, 1, 0)});
    EXPECT_EQ(
        std::tuple(spritePixelAt(obj, 0, 0, 0), spritePixelAt(obj, 0, 1, 0), spritePixelAt(obj, 1, 1, 0)),
        std::tuple(std::nullopt, std::optional<std::uint8_t>(11), std::optional<std::uint8_t>(0)));
    EXPECT_EQ(describeSpritePixel(obj, 0, 0, 1),
              "sprite 0, x 0, y 1: index 12, ramp 0 (greys), shade 2, #2f4343");
    EXPECT_EQ(describeSpritePixel(obj, 0, 0, 0), "sprite 0, x 0, y 0: transparent");
    EXPECT_EQ(spritePixelAt(obj, 2, 0, 0), std::nullopt) << "no such sprite";
    const SpriteBox both = uniteBoxes(spriteBox(obj, 0), spriteBox(obj, 1));
    EXPECT_EQ(both, (SpriteBox{-1, -2, 5, 3}));
    const auto colour = gameColours();
    std::vector<std::uint32_t> first(15, 0), second(15, 0);
    first[1] = colour[11], first[5] = colour[12];
    second[13] = colour[0], second[14] = colour[13];
    EXPECT_EQ(spriteColours(obj, 0, both), first);
    EXPECT_EQ(spriteColours(obj, 1, both), second);
    EXPECT_EQ(uniteBoxes(SpriteBox{}, spriteBox(obj, 1)), spriteBox(obj, 1));
    // A damaged header's size is shown cut to 1024 a side, two boxes together to 2048.
    auto huge = solidRawSprite(2, 2, 9);
    huge.header.width = huge.header.height = 32767;
    EXPECT_EQ(spriteBox(buildObject({huge}), 0), (SpriteBox{0, 0, 1024, 1024}));
    EXPECT_EQ(uniteBoxes({-2000, 0, 1, 1}, {2000, 5, 1, 1}), (SpriteBox{-2000, 0, 2048, 6}));
    // A run past the sprite's width shows no more than the box, and never in the next row.
    const auto wide = buildObject({rowCodedSprite(2, {{test::Run{1, {40, 41, 42}}}, {test::Run{1, {43}}}})});
    const std::vector<std::uint32_t> cut = {0, colour[40], 0, colour[43]};
    EXPECT_EQ(spriteColours(wide, 0, spriteBox(wide, 0)), cut);
}

TEST(SpriteFacts, GalleriesHoldThePagesSpritesThenTheIconsWithGapsMarked) {
    auto sprites = standardSprites(111);
    sprites[3].header.flags = 2;  // never drawn
    sprites[4] = solidRawSprite(0, 4, 9);
    const PathObject obj = buildObject(sprites);
    const auto path = galleryCells(obj, PagePath);
    ASSERT_EQ(path.size(), 53u);
    EXPECT_EQ(
        std::vector(path.begin() + 2, path.begin() + 6),
        (std::vector<GalleryCell>{{2, true, false}, {3, false, false}, {4, false, false}, {5, true, false}}));
    EXPECT_EQ(galleryCells(obj, PageSupports),
              (std::vector<GalleryCell>{
                  {109, true, false}, {110, true, false}, {71, true, true}, {72, true, true}}));
    EXPECT_EQ(galleryCells(obj, std::nullopt).size(), 111u);
    EXPECT_TRUE(galleryCells(obj, PageStringTable).empty());
}

TEST(PixelFacts, DifferencesAreMarkedAndTheRestDimmed) {
    std::vector<std::uint32_t> after = {0xFF808080u, 0xFF102030u, 0xFF404040u};
    const std::vector<std::uint32_t> before = {0xFF808080u, 0xFF102031u};
    EXPECT_EQ(markDifferences(after, before), 2u);  // the third has nothing to compare with
    EXPECT_EQ(after, (std::vector<std::uint32_t>{0xFF202020u, kDifferenceColour, kDifferenceColour}));
}

}  // namespace
}  // namespace trellisor
