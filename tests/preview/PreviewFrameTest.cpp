// The example scenes against their anchors, the element grid, and one whole
// frame (grass, sprites, present) on a headless display.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "preview/ExampleScenes.h"
#include "preview/GamePalette.h"
#include "preview/HeadlessPreview.h"
#include "preview/PreviewFrame.h"
#include "preview/SpriteDrawing.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using test::buildObject;
using test::SpriteSpec;
using Point = std::pair<int, int>;

constexpr std::uint8_t kDot = 100;

// 168 one-pixel raw sprites, all transparent but `visible` (or all, coloured by index, when visible < 0).
PathObject dots(int visible, std::uint8_t supportType = 0, std::uint8_t pathFlags = 0, int count = 168) {
    std::vector<SpriteSpec> sprites;
    for (int i = 0; i < count; ++i) {
        std::uint8_t c = visible < 0 ? std::uint8_t(10 + i % 200) : (i == visible ? kDot : 0);
        sprites.push_back(test::rawSprite(1, 1, {c}));
    }
    return buildObject(sprites, test::twelveStrings(), supportType, pathFlags);
}

std::set<Point> drawnPixels(Image& image) {
    std::set<Point> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.getPixel(x, y) != 0) out.insert({x, y});
    return out;
}

// Where each sprite of a scene is anchored, read off the scene tables' pixel column.
using Anchors = std::map<int, std::set<Point>>;

void expectAnchors(void (*scene)(const PathObject&, Image*), std::uint8_t supportType, std::uint8_t pathFlags,
                   const Anchors& anchors) {
    for (int sprite = 0; sprite < 168; ++sprite) {
        auto screen = createMemoryImage(kPreviewWidth, kPreviewHeight, 32);
        screen->clear(0);
        scene(dots(sprite, supportType, pathFlags), screen.get());
        auto it = anchors.find(sprite);
        EXPECT_EQ(drawnPixels(*screen), it == anchors.end() ? std::set<Point>{} : it->second)
            << "sprite " << sprite << ", support type " << int(supportType) << ", flags " << int(pathFlags);
    }
}

TEST(PreviewFrame, ExamplePathAnchors) {
    const Anchors common = {
        {82, {{227, 35}, {259, 51}}},
        {74, {{195, 35}, {227, 51}}},
        {81, {{163, 67}, {195, 83}}},
        {4, {{259, 19}}},
        {23, {{131, 83}}},
        {29, {{163, 99}}},
        {25, {{131, 115}}},
        {20, {{99, 99}}},
        {71, {{35, 227}}},
    };
    Anchors first = common;
    first.insert({{166, {{227, 35}}},
                  {162, {{227, 35}}},
                  {132, {{195, 51}}},
                  {158, {{195, 35}}},
                  {164, {{163, 67}}},
                  {160, {{163, 67}}}});
    expectAnchors(drawExamplePath, 0, 0, first);

    Anchors second = common;
    second.insert({{127, {{227, 35}}},
                   {144, {{218, 72}, {200, 78}}},
                   {150, {{218, 72}, {200, 78}}},
                   {124, {{195, 35}}},
                   {125, {{163, 67}}},
                   {18, {{227, 35}}},
                   {5, {{195, 35}}},
                   {16, {{163, 67}}}});
    expectAnchors(drawExamplePath, 1, 2, second);
}

TEST(PreviewFrame, ExampleQueueAnchors) {
    const Anchors common = {
        {55, {{99, 67}}},
        {54, {{67, 83}}},
        {61, {{99, 99}, {163, 115}, {227, 163}}},
        {68, {{131, 115}}},
        {70, {{195, 147}}},
        {87, {{99, 67}, {35, 99}, {99, 99}, {67, 115}, {163, 115}, {131, 131}, {227, 163}, {195, 179}}},
        {88, {{99, 67}, {131, 83}, {67, 83}}},
        {94, {{131, 115}, {99, 131}}},
        {93, {{195, 147}, {163, 163}}},
        {103, {{227, 163}}},
        {104, {{227, 163}}},
        {72, {{35, 227}}},
    };
    Anchors first = common;
    first.insert({{161, {{131, 115}}},
                  {165, {{131, 115}}},
                  {144, {{163, 131}}},
                  {158, {{163, 115}}},
                  {163, {{195, 147}}},
                  {167, {{195, 147}}}});
    // The queue scene does not look at the drawing flag.
    expectAnchors(drawExampleQueue, 0, 2, first);

    Anchors second = common;
    second.insert({{126, {{131, 115}}},
                   {144, {{145, 154}, {159, 159}}},
                   {150, {{145, 154}, {159, 159}}},
                   {124, {{163, 115}}},
                   {128, {{195, 147}}}});
    expectAnchors(drawExampleQueue, 1, 0, second);
}

std::uint32_t colourAt(Image& image, int x, int y) { return image.getPixel(x, y); }

std::uint32_t packed(Image& image, std::uint8_t index) {
    RgbQuad q = previewColour(index);
    return image.packColor(q.red, q.green, q.blue);
}

TEST(PreviewFrame, LaterStepsDrawOverEarlierOnes) {
    auto screen = createMemoryImage(kPreviewWidth, kPreviewHeight, 32);
    auto colour = [&](int sprite) { return packed(*screen, std::uint8_t(10 + sprite % 200)); };
    drawExamplePath(dots(-1), screen.get());
    EXPECT_EQ(colourAt(*screen, 227, 35), colour(82));  // over supports 166, 162
    EXPECT_EQ(colourAt(*screen, 195, 35), colour(74));  // over support 158
    EXPECT_EQ(colourAt(*screen, 163, 67), colour(81));  // over supports 164, 160
    drawExamplePath(dots(-1, 0, 2), screen.get());
    EXPECT_EQ(colourAt(*screen, 227, 35), colour(18));  // paths over supports and railings
    EXPECT_EQ(colourAt(*screen, 195, 35), colour(5));
    EXPECT_EQ(colourAt(*screen, 163, 67), colour(16));

    screen->clear(0);
    drawExampleQueue(dots(-1), screen.get());
    EXPECT_EQ(colourAt(*screen, 99, 67), colour(88));
    EXPECT_EQ(colourAt(*screen, 131, 115), colour(94));
    EXPECT_EQ(colourAt(*screen, 195, 147), colour(93));
    EXPECT_EQ(colourAt(*screen, 227, 163), colour(104));
    EXPECT_EQ(colourAt(*screen, 163, 115), colour(87));
}

TEST(PreviewFrame, ElementGridShowsAtMostSeventySprites) {
    auto obj = dots(-1, 0, 0, 200);
    auto screen = createMemoryImage(kPreviewWidth, kPreviewHeight, 32);
    screen->clear(0);
    drawElementGrid(obj, screen.get(), obj.pageFirstSprite(PageSupports), obj.pageLastSprite(PageSupports));
    std::set<Point> expected;
    for (int k = 0; k < 70; ++k) {
        const int column = k % 5, row = 1 + k / 5;
        const Point p{cellX(column, row), cellY(row, 0)};
        expected.insert(p);
        EXPECT_EQ(colourAt(*screen, p.first, p.second), packed(*screen, std::uint8_t(10 + (109 + k) % 200)))
            << k;
    }
    EXPECT_EQ(drawnPixels(*screen), expected);
    EXPECT_TRUE(expected.count({67, 19}) && expected.count({35, 35}) && expected.count({323, 211}) &&
                expected.count({291, 227}));

    // Supports with no sprites past 108 show nothing; a short page stops at its last sprite.
    auto few = dots(-1, 0, 0, 109);
    screen->clear(0);
    drawElementGrid(few, screen.get(), few.pageFirstSprite(PageSupports), few.pageLastSprite(PageSupports));
    EXPECT_TRUE(drawnPixels(*screen).empty());
    drawElementGrid(few, screen.get(), 73, 75);
    EXPECT_EQ(drawnPixels(*screen), (std::set<Point>{{67, 19}, {131, 19}, {195, 19}}));
}

TEST(PreviewFrame, FrameDrawsGrassThenTheModeThenPresents) {
    HeadlessPreview preview(32);
    ASSERT_TRUE(preview.isReady());
    Image* screen = preview.screen();
    EXPECT_TRUE(drawnPixels(*screen).empty()) << "a new screen starts black";

    // Grass covering the left half, with a hole of 0 pixels at (10..19, 10..19).
    auto grass = createMemoryImage(180, 260, 32);
    grass->clear(grass->packColor(0, 128, 0));
    grass->fillRectangle(10, 10, 19, 19, 0);
    screen->clear(screen->packColor(1, 2, 3));  // what the last frame left

    auto obj = dots(-1);
    drawPreviewFrame(obj, preview.display(), grass.get(), PreviewAllQueueElements, PageQueue);
    EXPECT_EQ(colourAt(*screen, 5, 5), screen->packColor(0, 128, 0));
    EXPECT_EQ(colourAt(*screen, 12, 12), screen->packColor(1, 2, 3)) << "grass pixels of 0 are skipped";
    EXPECT_EQ(colourAt(*screen, 300, 5), screen->packColor(1, 2, 3));
    // The grid of the Queue page: sprite 51 in the first cell.
    EXPECT_EQ(colourAt(*screen, 67, 19), packed(*screen, std::uint8_t(10 + 51)));
    EXPECT_EQ(preview.port().presentCount(), 1);
    const auto& shown = preview.port().lastPixels();
    ASSERT_EQ(shown.size(), std::size_t(screen->pitchBytes()) * kPreviewHeight);
    const std::uint8_t* p = screen->lock(0);
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), p));
    screen->unlock();

    // The grid's range comes from the page, not the mode; unknown modes draw nothing but still
    // present. Without grass the last frame is cleared to black first.
    drawPreviewFrame(obj, preview.display(), nullptr, PreviewAllPathElements, PageQueueRailings);
    EXPECT_EQ(colourAt(*screen, 67, 19), packed(*screen, std::uint8_t(10 + 87)));
    EXPECT_EQ(colourAt(*screen, 5, 5), 0u);
    drawPreviewFrame(obj, preview.display(), nullptr, 7, PagePath);
    EXPECT_TRUE(drawnPixels(*screen).empty());
    EXPECT_EQ(preview.port().presentCount(), 3);

    // No object: grass alone.
    PathObject none;
    drawPreviewFrame(none, preview.display(), grass.get(), PreviewExamplePath, PagePath);
    EXPECT_EQ(colourAt(*screen, 5, 5), screen->packColor(0, 128, 0));
    EXPECT_EQ(colourAt(*screen, 259, 19), 0u);
}

TEST(PreviewFrame, HeadlessScreensOfEveryDepth) {
    for (int depth : {8, 16, 24, 32}) {
        HeadlessPreview preview(depth);
        ASSERT_TRUE(preview.isReady()) << depth;
        Image* screen = preview.screen();
        EXPECT_EQ(screen->bitsPerPixel(), depth);
        EXPECT_EQ(screen->width(), kPreviewWidth);
        auto obj = dots(4);
        drawPreviewFrame(obj, preview.display(), nullptr, PreviewExamplePath, PagePath);
        int r = -1, g = -1, b = -1;
        screen->unpackColor(screen->getPixel(259, 19), r, g, b);
        RgbQuad q = previewColour(kDot);
        // 8 bits match the system palette (the game palette) exactly; 16 bits keep 5 bits a channel.
        const int tolerance = depth == 16 ? 7 : 0;
        EXPECT_NEAR(r, q.red, tolerance) << depth;
        EXPECT_NEAR(g, q.green, tolerance) << depth;
        EXPECT_NEAR(b, q.blue, tolerance) << depth;
        screen->unpackColor(screen->getPixel(0, 0), r, g, b);
        EXPECT_EQ(r + g + b, 0) << depth;
    }
}

}  // namespace
}  // namespace trellisor
