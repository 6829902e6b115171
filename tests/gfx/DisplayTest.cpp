// Displays of the three kinds: image creation and the depth markers, setMode and the
// window port, present, the DIB headers, and the image loaders.
#include <gtest/gtest.h>

#include "base/Bytes.h"
#include "gfx/DibImage.h"
#include "gfx/Display.h"
#include "support/ImageFileBuilders.h"
#include "support/Pixels.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using test::Bytes;

TEST(Display, KindsRawDepthsDibModesHeadersAndPresent) {
    HeadlessWindowPort port24(24);
    const char* names[] = {"Empty", "Raw", "DIB"};
    for (int kind = 0; kind < 3; ++kind) {
        auto display = createDisplay(kind, &port24, 1);
        const char* name = nullptr;
        EXPECT_STREQ(display->typeName(&name), names[kind]);
        EXPECT_STREQ(name, names[kind]);
        EXPECT_EQ(std::tuple(display->kind(), display->memoryImagesOnly(), display->window()),
                  std::tuple(kind, true, kind == 0 ? nullptr : &port24));
        EXPECT_FALSE(createDisplay(kind, &port24, 2)->memoryImagesOnly());
    }
    EXPECT_FALSE(createDisplay(3, &port24, 0) || createDisplay(-1, &port24, 0));
    auto empty = createDisplay(0, &port24, 0);
    EXPECT_FALSE(empty->isReady() || empty->setMode(10, 10, 8, 0) || empty->createImage(4, 4, 8, 0) ||
                 empty->screen());
    empty->setBitsPerPixel(16);
    EXPECT_EQ(empty->bitsPerPixel(), 16);
    EXPECT_EQ(createDisplay(2, &port24, 0)->bitsPerPixel(), 24);  // the screen's depth
    auto windowless = createDisplay(2, nullptr, 0);
    EXPECT_FALSE(windowless->isReady() || windowless->setMode(10, 10, 8, 0) || windowless->bitsPerPixel());
    // A raw display is ready without a window and takes its depth from its first image.
    auto raw = createDisplay(1, nullptr, 0);
    EXPECT_EQ(std::pair(raw->isReady(), raw->bitsPerPixel()), std::pair(true, 0));
    EXPECT_EQ(raw->createImage(3, 3, 16, 0)->bitsPerPixel(), 16);
    EXPECT_EQ(raw->createImage(3, 3, 32, 0)->bitsPerPixel(), 32);  // later images keep the display's depth
    auto second = raw->createImage(3, 3, kDisplayDepth, 0);
    EXPECT_EQ(std::tuple(raw->bitsPerPixel(), second->bitsPerPixel(), second->storageKind()),
              std::tuple(16, 16, 1));
    ASSERT_TRUE(raw->setMode(20, 10, 8, 0));  // without a window, still a screen of the depth asked for
    EXPECT_EQ(std::tuple(raw->bitsPerPixel(), raw->screen()->width(), raw->screen()->storageKind()),
              std::tuple(8, 20, 1));
    EXPECT_FALSE(raw->setMode(20, 10, 12, 0));  // no such depth: no screen, the depth kept
    EXPECT_EQ(std::pair(raw->screen(), raw->bitsPerPixel()), std::pair(static_cast<Image*>(nullptr), 8));

    // Per depth (16 bits in both layouts) the screen's sizes, its header (as shown and as the image
    // holds it) and the buffer present shows (all 0 but one pixel), as golden hashes. The header:
    // 40 bytes, width = pitch, negative height (top-down), one plane, the depth; 8 bits add 256
    // colours (the system's first 255, 255 black), 5-6-5 its three masks.
    const std::uint32_t hashes[] = {0xA9E0994C, 0xC7DC4B1C, 0x3125B9F8, 0xAC39590C, 0xE6E6C03C};
    const int modes[][2] = {{8, 1}, {16, 1}, {16, 2}, {24, 1}, {32, 1}};  // depth, 16-bit layout
    for (int m = 0; m < 5; ++m) {
        const auto [depth, layout] = modes[m];
        SCOPED_TRACE(depth);
        sixteenBitLayout = layout;
        HeadlessWindowPort port(depth);
        std::array<PaletteEntry, 256> system{};
        for (int i = 0; i < 256; ++i)
            system[i] = {std::uint8_t(i), std::uint8_t(i + 1), std::uint8_t(i + 2), 4};
        port.setSystemPalette(system);
        auto display = createDisplay(2, &port, 1);
        auto memory = display->createImage(5, 5, kDisplayDepth, 0);  // flags 1: memory images ...
        ASSERT_TRUE(display->setMode(357, 260, kDisplayDepth, 0));   // ... but the screen is a DIB image
        Image* screen = display->screen();
        screen->putPixel(356, 259, 0x1F);
        display->present();
        Bytes shown = port.lastHeader();
        shown.insert(shown.end(), screen->bitmapInfo(), screen->bitmapInfo() + shown.size());
        shown.insert(shown.end(), port.lastPixels().begin(), port.lastPixels().end());
        for (int v : {port.lastWidth(), port.lastHeight(), port.presentCount(), screen->bitsPerPixel(),
                      port.clientWidth(), port.clientHeight(), screen->storageKind(), screen->pitch(),
                      memory->storageKind(), memory->bitsPerPixel(),
                      createDisplay(2, &port, 0)->createImage(5, 5, kDisplayDepth, 0)->storageKind()})
            shown.insert(shown.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        EXPECT_EQ(test::fnv1a(shown), hashes[m]);
        ASSERT_TRUE(display->setMode(100, 50, kDisplayDepth, 0));  // replaces the screen, resizes again
        EXPECT_EQ(std::pair(port.resizeCount(), display->screen()->width()), std::pair(2, 100));
        display->releaseScreen();
        display->present();  // nothing to show
        EXPECT_EQ(std::pair(display->screen(), port.presentCount()),
                  std::pair(static_cast<Image*>(nullptr), 1));
        for (auto [w, h] : {std::pair{-1, 2}, {2, -1}, {0, 2}}) {  // nothing to copy from sizes like these
            port.showBuffer(shown.data(), shown.data(), w, h);
            EXPECT_TRUE(port.lastPixels().empty()) << w << " x " << h;
        }
    }
    HeadlessWindowPort odd(12), port(16);
    EXPECT_FALSE(createDisplay(2, &odd, 0)->setMode(10, 10, kDisplayDepth, 0));
    sixteenBitLayout = 0;
    EXPECT_FALSE(createDisplay(2, &port, 0)->setMode(4, 4, 16, 0));
    sixteenBitLayout = 1;
    EXPECT_FALSE(DibImage32(&port, 0, 1).isValid());
}

// Pictures decoded and converted to the display's depth: a PCX whose palette entry i is
// (i, 255 - i, i / 2) with pixels 10 and 200 at 24 and 8 bits, a TIFF at 16, raw data.
TEST(Display, LoadersConvertToTheDisplayDepth) {
    test::TempDir dir;
    const std::string pcx = dir.write("a.pcx", test::makePcx8(2, 1, 2, {10, 200}));
    HeadlessWindowPort port24(24), port8(8), port16(16);
    auto d24 = createDisplay(2, &port24, 1), d16 = createDisplay(1, &port16, 0);
    d16->setBitsPerPixel(16);
    const Bytes rgb = {1, 2, 3};
    auto image8 = createDisplay(2, &port8, 1)->loadImageFile(pcx);
    EXPECT_EQ(image8->palette()->referenceCount, 1);  // the decoded image is gone
    const std::unique_ptr<Image> images[] = {
        d24->loadImageFile(pcx), std::move(image8),
        d16->loadImageFile2(dir.write("a.tif", test::makeTiffOneStrip(1, 1, {255, 128, 64}))),
        d24->loadImageMemory(rgb.data(), 1, 1, 3, 1, 3)};
    Bytes log;
    for (const auto& image : images) {
        const Bytes picture = test::pictureBytes(*image);
        log.insert(log.end(), picture.begin(), picture.end());
    }
    EXPECT_EQ(test::fnv1a(log), 0x320E2F80);
    EXPECT_FALSE(d24->loadImageFile(dir.file("missing.pcx")) || d24->loadImageFile2(pcx) ||
                 createDisplay(0, nullptr, 0)->loadImageFile(pcx));
}

}  // namespace
}  // namespace trellisor
