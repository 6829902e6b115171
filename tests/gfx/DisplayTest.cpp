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

TEST(Display, KindsNamesAndReadiness) {
    HeadlessWindowPort port(24);
    const char* names[] = {"Empty", "Raw", "DIB"};
    for (int kind = 0; kind < 3; ++kind) {
        auto display = createDisplay(kind, &port, 1);
        const char* name = nullptr;
        EXPECT_STREQ(display->typeName(&name), names[kind]);
        EXPECT_STREQ(name, names[kind]);
        EXPECT_EQ(std::tuple(display->kind(), display->memoryImagesOnly(), display->window()),
                  std::tuple(kind, true, kind == 0 ? nullptr : &port));
        EXPECT_FALSE(createDisplay(kind, &port, 2)->memoryImagesOnly());
    }
    EXPECT_EQ(createDisplay(3, &port, 0), nullptr);
    EXPECT_EQ(createDisplay(-1, &port, 0), nullptr);
    auto empty = createDisplay(0, &port, 0);
    EXPECT_FALSE(empty->isReady());
    EXPECT_FALSE(empty->setMode(10, 10, 8, 0));
    EXPECT_EQ(empty->createImage(4, 4, 8, 0), nullptr);
    EXPECT_EQ(empty->screen(), nullptr);
    empty->setBitsPerPixel(16);
    EXPECT_EQ(empty->bitsPerPixel(), 16);
    EXPECT_EQ(createDisplay(2, &port, 0)->bitsPerPixel(), 24);  // the screen's depth
    auto windowless = createDisplay(2, nullptr, 0);
    EXPECT_FALSE(windowless->isReady() || windowless->setMode(10, 10, 8, 0) || windowless->bitsPerPixel());
    EXPECT_TRUE(createDisplay(1, nullptr, 0)->isReady());
}

TEST(Display, RawDisplayTakesItsDepthFromTheFirstImage) {
    auto raw = createDisplay(1, nullptr, 0);
    EXPECT_EQ(raw->bitsPerPixel(), 0);
    EXPECT_EQ(raw->createImage(3, 3, 16, 0)->bitsPerPixel(), 16);
    EXPECT_EQ(raw->bitsPerPixel(), 16);
    EXPECT_EQ(raw->createImage(3, 3, 32, 0)->bitsPerPixel(), 32);  // later images keep the display's depth
    auto second = raw->createImage(3, 3, kDisplayDepth, 0);
    EXPECT_EQ(second->bitsPerPixel(), 16);
    EXPECT_EQ(second->storageKind(), 1);
    // setMode without a window still makes the screen, of the depth asked for.
    ASSERT_TRUE(raw->setMode(20, 10, 8, 0));
    EXPECT_EQ(raw->bitsPerPixel(), 8);
    EXPECT_EQ(raw->screen()->width(), 20);
    EXPECT_EQ(raw->screen()->storageKind(), 1);
    EXPECT_FALSE(raw->setMode(20, 10, 12, 0));  // no such depth: no screen, the depth kept
    EXPECT_EQ(raw->screen(), nullptr);
    EXPECT_EQ(raw->bitsPerPixel(), 8);
}

TEST(Display, DibDisplayModesHeadersAndPresent) {
    for (int depth : {8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        HeadlessWindowPort port(depth);
        std::array<PaletteEntry, 256> system{};
        for (int i = 0; i < 256; ++i)
            system[i] = {std::uint8_t(i), std::uint8_t(i + 1), std::uint8_t(i + 2), 4};
        port.setSystemPalette(system);
        auto display = createDisplay(2, &port, 1);
        auto memory = display->createImage(5, 5, kDisplayDepth, 0);  // flags 1: memory images ...
        EXPECT_EQ(memory->storageKind(), 1);
        EXPECT_EQ(memory->bitsPerPixel(), depth);
        ASSERT_TRUE(display->setMode(357, 260, kDisplayDepth, 0));  // ... but the screen is a DIB image
        EXPECT_EQ(std::pair(port.clientWidth(), port.clientHeight()), std::pair(357, 260));
        Image* screen = display->screen();
        EXPECT_EQ(screen->storageKind(), 2);
        EXPECT_EQ(screen->bitsPerPixel(), depth);
        EXPECT_EQ(screen->pitch(), 360);
        EXPECT_EQ(test::storedBytes(*screen), Bytes(std::size_t(screen->pitchBytes()) * 260, 0));
        // A 40-byte header: width = pitch, negative height (top-down), one plane, the depth;
        // 8 bits add 256 colours (the system's first 255, 255 black), 5-6-5 its three masks.
        const std::uint8_t* h = screen->bitmapInfo();
        Bytes expected = {40, 0, 0, 0, 0x68, 1, 0, 0, 0xFC, 0xFE, 0xFF, 0xFF, 1, 0, std::uint8_t(depth)};
        expected.resize(40);
        if (depth == 8)
            for (int i = 0; i < 256; ++i)
                expected.insert(expected.end(),
                                {std::uint8_t(i < 255 ? i + 2 : 0), std::uint8_t(i < 255 ? i + 1 : 0),
                                 std::uint8_t(i < 255 ? i : 0), 0});
        EXPECT_EQ(Bytes(h, h + expected.size()), expected);
        screen->putPixel(356, 259, 0x1F);
        display->present();
        EXPECT_EQ(port.presentCount(), 1);
        EXPECT_EQ(std::pair(port.lastWidth(), port.lastHeight()), std::pair(360, 260));
        EXPECT_EQ(port.lastPixels(), test::storedBytes(*screen));
        EXPECT_EQ(port.lastHeader(), expected);
        ASSERT_TRUE(display->setMode(100, 50, kDisplayDepth, 0));  // replaces the screen, resizes again
        EXPECT_EQ(port.resizeCount(), 2);
        EXPECT_EQ(display->screen()->width(), 100);
        display->releaseScreen();
        EXPECT_EQ(display->screen(), nullptr);
        display->present();  // nothing to show
        EXPECT_EQ(port.presentCount(), 1);
        EXPECT_EQ(createDisplay(2, &port, 0)->createImage(5, 5, kDisplayDepth, 0)->storageKind(), 2);
    }
    HeadlessWindowPort odd(12);
    EXPECT_FALSE(createDisplay(2, &odd, 0)->setMode(10, 10, kDisplayDepth, 0));
    sixteenBitLayout = 2;
    HeadlessWindowPort port(16);
    auto display = createDisplay(2, &port, 0);
    ASSERT_TRUE(display->setMode(3, 2, 16, 0));
    const std::uint8_t* info = display->screen()->bitmapInfo();
    EXPECT_EQ(display->screen()->layout16(), 2);
    EXPECT_EQ(display->screen()->pitch(), 8);
    EXPECT_EQ((std::vector<std::uint32_t>{loadLe32(info + 16), loadLe32(info + 40), loadLe32(info + 44),
                                          loadLe32(info + 48)}),
              (std::vector<std::uint32_t>{3, 0xF800, 0x07E0, 0x001F}));
    display->present();
    EXPECT_EQ(port.lastHeader().size(), 52u);
    const Bytes header = port.lastHeader();
    for (auto [w, h] : {std::pair{-1, 2}, {2, -1}, {0, 2}}) {  // nothing to copy from sizes like these
        port.showBuffer(header.data(), header.data(), w, h);
        EXPECT_TRUE(port.lastPixels().empty()) << w << " x " << h;
    }
    sixteenBitLayout = 0;
    EXPECT_FALSE(display->setMode(4, 4, 16, 0));
    sixteenBitLayout = 1;
    EXPECT_FALSE(DibImage32(&port, 0, 1).isValid());
}

TEST(Display, LoadersConvertToTheDisplayDepth) {
    test::TempDir dir;
    // Palette entry i = (i, 255 - i, i / 2); pixels 10 and 200.
    const std::string pcx = dir.write("a.pcx", test::makePcx8(2, 1, 2, {10, 200}));
    HeadlessWindowPort port24(24), port8(8), port16(16);
    auto d24 = createDisplay(2, &port24, 1);
    auto image24 = d24->loadImageFile(pcx);
    EXPECT_EQ(image24->bitsPerPixel(), 24);
    EXPECT_EQ(test::pixelsOf(*image24), (std::vector<std::uint32_t>{0x0AF505, 0xC83764}));
    auto image8 = createDisplay(2, &port8, 1)->loadImageFile(pcx);
    EXPECT_EQ(image8->bitsPerPixel(), 8);
    EXPECT_EQ(image8->getPixel(1, 0), 200u);
    ASSERT_NE(image8->palette(), nullptr);
    EXPECT_EQ(image8->palette()->referenceCount, 1);  // the decoded image is gone
    EXPECT_EQ(image8->palette()->entries[200], (PaletteEntry{200, 55, 100, 0}));
    auto d16 = createDisplay(1, &port16, 0);
    d16->setBitsPerPixel(16);
    auto tiff = d16->loadImageFile2(dir.write("a.tif", test::makeTiffOneStrip(1, 1, {255, 128, 64})));
    EXPECT_EQ(tiff->getPixel(0, 0), 0x7E08u);
    const Bytes rgb = {1, 2, 3};
    EXPECT_EQ(d24->loadImageMemory(rgb.data(), 1, 1, 3, 1, 3)->getPixel(0, 0), 0x010203u);
    EXPECT_EQ(d24->loadImageFile(dir.file("missing.pcx")), nullptr);
    EXPECT_EQ(d24->loadImageFile2(pcx), nullptr);
    EXPECT_EQ(createDisplay(0, nullptr, 0)->loadImageFile(pcx), nullptr);
}

}  // namespace
}  // namespace trellisor
