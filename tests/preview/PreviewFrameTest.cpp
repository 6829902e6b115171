// Whole preview frames, pinned by pictures: for the scene object (each sprite in a
// ramp of its own index) over a patterned grass, every view of the preview at every
// screen depth, hashed (FNV-1a over the bytes shown). The hashes were generated once
// from the reviewed pictures of this code; any pixel that moves changes one.
#include <gtest/gtest.h>

#include "preview/GamePalette.h"
#include "preview/HeadlessPreview.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"
#include "support/Pixels.h"
#include "support/SceneObject.h"

namespace trellisor {
namespace {

// 360 x 260 grass in the green ramp, with a hole of 0 (transparent) pixels.
std::unique_ptr<Image> grass() {
    auto image = std::make_unique<MemoryImage8>(kPreviewWidth, kPreviewHeight);
    auto* palette = new Palette;
    for (int i = 0; i < kPreviewPaletteSize; ++i)
        palette->entries[i] = {previewPalette[i].red, previewPalette[i].green, previewPalette[i].blue, 0};
    image->setPalette(palette);
    for (int y = 0; y < kPreviewHeight; ++y)
        for (int x = 0; x < kPreviewWidth; ++x) image->putPixel(x, y, 70 + (x * 7 + y * 3) % 12);
    image->fillRectangle(300, 200, 339, 239, 0);
    return image;
}

PathObject scene(std::uint8_t supportType, std::uint8_t pathFlags) {
    PathObject obj = test::buildObject(test::sceneSprites(), test::twelveStrings(), supportType, pathFlags);
    composePreviewIcons(obj);
    return obj;
}

struct View {
    const char* name;
    std::uint8_t supportType, pathFlags;
    int mode, page;
    std::uint32_t hash[4];  // at 8, 16, 24 and 32 bits
};
// s2: the second support set (support type 1); over: paths drawn over supports (flags 2).
// clang-format off
const View kViews[] = {
    {"example path", 0, 0, PreviewExamplePath, PagePath, {0x3AA7846B, 0xD1BB3FB6, 0x64B0A2A9, 0xEEB1E4B9}},
    {"example path s2 over", 1, 2, PreviewExamplePath, PagePath, {0xBCE82325, 0xFE5612A6, 0x8669D1DD, 0xB4A2D9F5}},
    {"example queue", 0, 2, PreviewExampleQueue, PageQueue, {0xB6BAE03F, 0xB84346A1, 0xA3711B1E, 0xBCB7EAE8}},
    {"example queue s2", 1, 0, PreviewExampleQueue, PageQueue, {0x9CB6ABDC, 0xF904AB37, 0x927CF396, 0xB695219C}},
    {"path grid", 0, 0, PreviewAllPathElements, PagePath, {0x55A235EC, 0xC267E96C, 0xE6D89F6D, 0xA79444DD}},
    {"railing grid", 0, 0, PreviewAllRailingElements, PagePathRailings, {0x9D518444, 0x8C80DA32, 0xA0E348D6, 0x337C9094}},
    {"queue grid", 0, 0, PreviewAllQueueElements, PageQueue, {0xC779138C, 0x3CE59702, 0x307FA801, 0x2AFB3145}},
    {"queue railing grid", 0, 0, PreviewAllQueueRailings, PageQueueRailings, {0x900EA8C1, 0x3B4B8290, 0x07BE3447, 0xDB49736B}},
    {"support grid", 0, 0, PreviewAllSupportElements, PageSupports, {0xF234ECB5, 0x76F7E042, 0x4D61CC15, 0xDFFF831D}},
};
// clang-format on

TEST(PreviewFrame, EveryViewAtEveryDepthMatchesItsPicture) {
    const auto grassImage = grass();
    for (const View& view : kViews) {
        const PathObject obj = scene(view.supportType, view.pathFlags);
        for (int d = 0; d < 4; ++d) {
            HeadlessPreview preview(8 * (d + 1));
            ASSERT_TRUE(preview.isReady());
            drawPreviewFrame(obj, preview.display(), grassImage.get(), view.mode, view.page);
            EXPECT_EQ(preview.port().presentCount(), 1);
            const auto& shown = preview.port().lastPixels();
            EXPECT_EQ(shown, test::storedBytes(*preview.screen()));
            EXPECT_EQ(test::fnv1a(shown), view.hash[d]) << view.name << " at " << 8 * (d + 1) << " bits";
            if (d == 0) {  // the 8-bit frame is shown through the game palette, 255 black
                const auto& header = preview.port().lastHeader();
                const RgbQuad entry100{header[40 + 4 * 100], header[41 + 4 * 100], header[42 + 4 * 100], 0};
                EXPECT_EQ(entry100, previewPalette[100]);
                EXPECT_EQ(std::vector(header.end() - 4, header.end()), std::vector<std::uint8_t>(4, 0));
            }
        }
    }
}

TEST(PreviewFrame, GrassOrBlackUnderEveryFrameAndEveryFrameIsShown) {
    HeadlessPreview preview(32);
    Image* screen = preview.screen();
    const std::vector<std::uint32_t> black(360 * 260, 0);
    EXPECT_EQ(test::pixelsOf(*screen), black) << "a new screen starts black";
    screen->clear(0x010203);  // what the last frame left
    const PathObject obj = scene(0, 0);
    // Without grass the last frame is cleared to black first, so views never pile up.
    drawPreviewFrame(obj, preview.display(), nullptr, PreviewAllPathElements, PagePath);
    EXPECT_EQ(std::pair(screen->getPixel(0, 0) == 0, screen->getPixel(67, 19) == 0), std::pair(true, false));
    screen->clear(0x010203);
    // Unknown modes draw nothing but still clear and present.
    drawPreviewFrame(obj, preview.display(), nullptr, 7, PagePath);
    EXPECT_EQ(test::pixelsOf(*screen), black);
    screen->clear(0x010203);
    // No object: the grass alone, its 0 pixels keeping what was there.
    drawPreviewFrame(PathObject{}, preview.display(), grass().get(), PreviewExamplePath, PagePath);
    const RgbQuad green = previewPalette[70 + (259 * 7 + 19 * 3) % 12];
    EXPECT_EQ(std::pair(screen->getPixel(310, 210), screen->getPixel(259, 19)),
              std::pair(0x010203u, screen->packColor(green.red, green.green, green.blue)));
    EXPECT_EQ(preview.port().presentCount(), 3);
}

}  // namespace
}  // namespace trellisor
