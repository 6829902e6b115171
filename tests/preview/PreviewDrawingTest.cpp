// Sprites drawn into buffers, the icons the rebuild draws, and whole preview frames.
#include <gtest/gtest.h>

#include "GamePictures.h"
#include "preview/HeadlessPreview.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"
#include "preview/SpriteDrawing.h"
#include "support/Pictures.h"
#include "support/Pixels.h"
#include "support/SceneObject.h"

namespace trellisor {
namespace {

using namespace test;

// The 8 x 6 buffer after drawing sprite index of obj at x, y over 238.
Bytes drawn(const PathObject& obj, unsigned index, int x, int y) {
    Bytes buffer(48, 238);
    drawSpriteToBuffer(obj, buffer.data(), 8, 6, index, x, y);
    return buffer;
}

// tests/data/preview/drawing/formats-and-edges.png: raw (0 transparent) at 2, 1 with offsets 1, 2;
// row-coded (0 drawn, gaps between runs kept) at 1, 0 with offsets -1, 0; a 4 x 4 block centred
// on each corner and past each edge (clipped, never wrapped); no such sprite; no object.
TEST(SpriteDrawing, RawZeroIsTransparentRowCodedZeroIsDrawnAndEdgesClip) {
    const auto obj = buildObject({rawSprite(3, 2, {11, 0, 12, 13, 14, 0}, 1, 2),
                                  rowCodedSprite(6, {{{0, {20, 0}}, {4, {21}}}, {{1, {22}}}}, -1, 0),
                                  solidRawSprite(4, 4, 9, -2, -2)});
    std::vector<Bytes> cells = {drawn(obj, 0, 2, 1), drawn(obj, 1, 1, 0)};
    for (auto [x, y] : {std::pair{0, 0}, {8, 0}, {0, 6}, {8, 6}, {9, 3}, {-1, 3}, {4, -1}, {4, 7}})
        cells.push_back(drawn(obj, 2, x, y));
    cells.push_back(drawn(obj, 3, 3, 3));
    cells.push_back(drawn(PathObject{}, 0, 3, 3));
    EXPECT_TRUE(matchesReference(gamePicture(8, 6, cells), "preview/drawing/formats-and-edges"));
    drawSpriteToBuffer(obj, nullptr, 8, 6, 0, 0, 0);
    drawSprite(obj, nullptr, 0, 3, 3);
    auto image = createMemoryImage(8, 6, 32);
    image->clear(5);
    drawSprite(obj, image.get(), 2, 8, 6);  // clipped at the far edges on a screen too
    const RgbQuad nine = previewColour(9);
    EXPECT_EQ(image->getPixel(7, 5), image->packColor(nine.red, nine.green, nine.blue));
    EXPECT_EQ(image->getPixel(0, 5), 5u);
}

// tests/data/preview/drawing/malformed.png: row offsets past the end or negative, a run longer
// than its bytes, raw bytes short of width x height, an unknown format, a huge size, no rows:
// each drawn at 0, 0 as far as its bytes go.
TEST(SpriteDrawing, MalformedSpritesStayInsideTheirBytes) {
    SpriteSpec badOffsets = rowCodedSprite(4, {{{0, {30}}}, {{0, {31}}}, {{0, {32}}}});
    storeLe16(&badOffsets.pixels[2], 0x7000);
    storeLe16(&badOffsets.pixels[4], 0xFFF0);
    SpriteSpec longRun = rowCodedSprite(4, {{{1, {40, 41}}}});
    longRun.pixels[2] = 0x80 | 100;
    SpriteSpec shortRaw = rawSprite(4, 4, {50, 51, 52, 53, 54});
    shortRaw.pixels.resize(5);
    SpriteSpec other = solidRawSprite(2, 2, 60), huge = solidRawSprite(2, 2, 70),
               flat = solidRawSprite(2, 2, 80);
    other.header.flags = 2;
    huge.header.width = huge.header.height = 32767;
    flat.header.height = 0;
    const auto obj = buildObject({badOffsets, longRun, shortRaw, other, huge, flat});
    std::vector<Bytes> cells;
    for (unsigned i = 0; i < 6; ++i) cells.push_back(drawn(obj, i, 0, 0));
    EXPECT_TRUE(matchesReference(gamePicture(8, 6, cells), "preview/drawing/malformed"));
}

TEST(PreviewIcons, IconsTheRebuildCannotMakeAreLeftAlone) {
    auto sprites = standardSprites(168);
    sprites[PathIconSprite] = solidRawSprite(kIconWidth, kIconHeight, 77, 1, 1);
    for (int count : {72, 73}) {  // fewer than 73 sprites: no rebuild at all
        auto obj = buildObject(std::vector(sprites.begin(), sprites.begin() + count));
        composePreviewIcons(obj);
        EXPECT_EQ(pixelsOf(obj, PathIconSprite) == Bytes(1530, 77), count == 72) << count;
    }
    // A row-coded icon, and one whose data are shorter than width x height.
    sprites[PathIconSprite] = solidRowCodedSprite(kIconWidth, kIconHeight, 77);
    sprites[QueueIconSprite] = solidRawSprite(kIconWidth, kIconHeight, 78, 1, 1);
    sprites[QueueIconSprite].pixels.resize(100);
    auto odd = buildObject(sprites);
    const Bytes pathBefore = pixelsOf(odd, PathIconSprite);
    composePreviewIcons(odd);
    EXPECT_EQ(std::pair(pixelsOf(odd, PathIconSprite), pixelsOf(odd, QueueIconSprite)),
              std::pair(pathBefore, Bytes(100, 78)));
    EXPECT_EQ(iconOrigin(odd, PathIconSprite), IconOrigin::HandDrawn) << "never replaced, so kept";
    // Another size is rebuilt at its size; the queue overlay keeps its own 45 x 34 geometry.
    sprites[QueueIconSprite] = solidRawSprite(60, 8, 0, 1, 1);
    auto wide = buildObject(sprites);
    composePreviewIcons(wide);
    Bytes icon(480, 0);  // the sprites drawn with it all fall outside 8 rows
    for (std::size_t y = 0; y < 8; ++y) std::copy_n(&queueIconOverlay[y * 45], 45, &icon[y * 60]);
    EXPECT_EQ(pixelsOf(wide, QueueIconSprite), icon);
    PathObject none;
    composePreviewIcons(none);
    EXPECT_FALSE(none.isLoaded());
}

// The scene object's icons as generated: tests/data/preview/icons.png (path icon left).
TEST(PreviewIcons, GeneratedIconsFollowTheSpritesHandDrawnOnesAndReplacedOnesAreKept) {
    PathObject obj = buildObject(sceneSprites());  // blank icons: drawn by hand
    EXPECT_EQ(handDrawnIconsNote(obj), "icons: hand-drawn, kept");
    composePreviewIcons(obj);
    EXPECT_TRUE(matchesReference(
        gamePicture(kIconWidth, kIconHeight, {pixelsOf(obj, PathIconSprite), pixelsOf(obj, QueueIconSprite)}),
        "preview/icons"));
    EXPECT_EQ(std::pair(iconOrigin(obj, PathIconSprite), handDrawnIconsNote(obj)),
              std::pair(IconOrigin::Generated, std::string()));
    obj.spritePixels(QueueIconSprite)[700] ^= 1;
    EXPECT_EQ(handDrawnIconsNote(obj), "queue icon: hand-drawn, kept");
    // A support sprite both icons show changes: the path icon follows, the queue icon stays.
    PathObject edited = obj.clone();
    std::ranges::fill(edited.spritePixels(158), std::uint8_t(40));
    followIcons(obj, edited);
    PathObject composed = edited.clone();
    composePreviewIcons(composed);
    EXPECT_EQ(pixelsOf(edited, PathIconSprite), pixelsOf(composed, PathIconSprite));
    EXPECT_EQ(pixelsOf(edited, QueueIconSprite), pixelsOf(obj, QueueIconSprite));
    // An edit that replaces the path icon itself (an imported 071.png) is not drawn over.
    PathObject imported = edited.clone();
    std::ranges::fill(imported.spritePixels(5), std::uint8_t(90));
    std::ranges::fill(imported.spritePixels(PathIconSprite), std::uint8_t(200));
    followIcons(edited, imported);
    EXPECT_EQ(pixelsOf(imported, PathIconSprite), Bytes(1530, 200));
}

// 360 x 260 grass in the green ramp, with a hole of 0 (transparent) pixels.
std::unique_ptr<Image> grass() {
    auto image = std::make_unique<MemoryImage8>(kPreviewWidth, kPreviewHeight);
    image->setPalette(new Palette);
    for (int i = 0; i < kPreviewPaletteSize; ++i)
        image->palette()->entries[i] = {previewPalette[i].red, previewPalette[i].green,
                                        previewPalette[i].blue, 0};
    for (int y = 0; y < kPreviewHeight; ++y)
        for (int x = 0; x < kPreviewWidth; ++x) image->putPixel(x, y, 70 + (x * 7 + y * 3) % 12);
    image->fillRectangle(300, 200, 339, 239, 0);
    return image;
}

struct View {
    const char* name;
    std::uint8_t supportType, pathFlags;
    int mode, page;
    bool grass = true, object = true;
};
// A failing view is listed by its name.
void PrintTo(const View& view, std::ostream* os) { *os << view.name; }
// s2: the second support set (support type 1); over: paths drawn over supports (flags 2). Without
// grass the last frame is cleared to black; unknown modes (7) draw nothing but still clear and
// present; without an object the grass alone, its 0 pixels keeping the last frame.
const View kViews[] = {
    {"example-path", 0, 0, PreviewExamplePath, PagePath},
    {"example-path-s2-over", 1, 2, PreviewExamplePath, PagePath},
    {"example-queue", 0, 2, PreviewExampleQueue, PageQueue},
    {"example-queue-s2", 1, 0, PreviewExampleQueue, PageQueue},
    {"path-grid", 0, 0, PreviewAllPathElements, PagePath},
    {"railing-grid", 0, 0, PreviewAllRailingElements, PagePathRailings},
    {"queue-grid", 0, 0, PreviewAllQueueElements, PageQueue},
    {"queue-railing-grid", 0, 0, PreviewAllQueueRailings, PageQueueRailings},
    {"support-grid", 0, 0, PreviewAllSupportElements, PageSupports},
    {"path-grid-without-grass", 0, 0, PreviewAllPathElements, PagePath, false},
    {"unknown-mode", 0, 0, 7, PagePath, false},
    {"no-object", 0, 0, PreviewExamplePath, PagePath, true, false},
};

class PreviewFrameTest : public ::testing::TestWithParam<View> {};

// Each view at each screen depth is compared with tests/data/preview/VIEW-DEPTH.png.
TEST_P(PreviewFrameTest, MatchesItsPictureAtEveryDepth) {
    const View& view = GetParam();
    const auto grassImage = grass();
    PathObject obj;
    if (view.object) {
        obj = buildObject(sceneSprites(), twelveStrings(), view.supportType, view.pathFlags);
        composePreviewIcons(obj);
    }
    for (int depth : {8, 16, 24, 32}) {
        SCOPED_TRACE(std::to_string(depth) + " bits");
        HeadlessPreview preview(depth);
        ASSERT_TRUE(preview.isReady());
        preview.screen()->clear(3);  // what the last frame left
        drawPreviewFrame(obj, preview.display(), view.grass ? grassImage.get() : nullptr, view.mode,
                         view.page);
        EXPECT_EQ(preview.port().presentCount(), 1);
        EXPECT_EQ(preview.port().lastPixels(), storedBytes(*preview.screen())) << "shown as drawn";
        EXPECT_TRUE(matchesReference(pictureOf(*preview.screen()),
                                     "preview/" + std::string(view.name) + "-" + std::to_string(depth)));
    }
}

INSTANTIATE_TEST_SUITE_P(Views, PreviewFrameTest, ::testing::ValuesIn(kViews),
                         [](const auto& view) { return caseName(view.param.name); });

TEST(PreviewFrame, StartsBlackAndShowsEightBitsThroughTheGamePalette) {
    HeadlessPreview preview(8);
    ASSERT_TRUE(preview.isReady());
    EXPECT_EQ(storedBytes(*preview.screen()), Bytes(kPreviewWidth * kPreviewHeight, 0));
    drawPreviewFrame(PathObject{}, preview.display(), nullptr, PreviewExamplePath, PagePath);
    const auto& header = preview.port().lastHeader();  // 255 is black
    const RgbQuad entry100{header[40 + 4 * 100], header[41 + 4 * 100], header[42 + 4 * 100], 0};
    EXPECT_EQ(entry100, previewPalette[100]);
    EXPECT_EQ(std::vector(header.end() - 4, header.end()), Bytes(4, 0));
}

}  // namespace
}  // namespace trellisor
