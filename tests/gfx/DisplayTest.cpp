// Displays of the three kinds: image creation and the depth markers, setMode
// and the window port, present, DIB headers, and the image loaders.
#include <gtest/gtest.h>

#include "ImageFileBuilders.h"
#include "base/Bytes.h"
#include "gfx/DibImage.h"
#include "gfx/Display.h"
#include "gfx/ImageFiles.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Header {
    std::uint32_t size;
    std::int32_t width, height;
    std::uint16_t planes, bitCount;
    std::uint32_t compression;
};

Header headerOf(const Image& image) {
    const std::uint8_t* h = image.bitmapInfo();
    return {loadLe32(h),
            std::int32_t(loadLe32(h + 4)),
            std::int32_t(loadLe32(h + 8)),
            loadLe16(h + 12),
            loadLe16(h + 14),
            loadLe32(h + 16)};
}

TEST(Display, KindsNamesAndCreation) {
    HeadlessWindowPort port(24);
    const char* expectedNames[] = {"Empty", "Raw", "DIB"};
    for (int kind = 0; kind < 3; ++kind) {
        auto display = createDisplay(kind, &port, 1);
        ASSERT_TRUE(display);
        EXPECT_EQ(display->kind(), kind);
        EXPECT_TRUE(display->memoryImagesOnly());
        const char* name = nullptr;
        display->typeName(&name);
        EXPECT_STREQ(name, expectedNames[kind]);
        EXPECT_EQ(display->query(), 0);
    }
    EXPECT_EQ(createDisplay(3, &port, 0), nullptr);
    EXPECT_EQ(createDisplay(-1, &port, 0), nullptr);
    auto empty = createDisplay(0, &port, 0);
    EXPECT_FALSE(empty->isReady());
    EXPECT_FALSE(empty->setMode(10, 10, 8, 0));
    EXPECT_EQ(empty->createImage(4, 4, 8, 0), nullptr);
    EXPECT_EQ(empty->screen(), nullptr);
    // A kind-2 display reads the screen depth; one without a window is not ready.
    EXPECT_EQ(createDisplay(2, &port, 0)->bitsPerPixel(), 24);
    EXPECT_FALSE(createDisplay(2, nullptr, 0)->isReady());
    EXPECT_TRUE(createDisplay(1, nullptr, 0)->isReady());
}

TEST(Display, RawDisplayTakesItsDepthFromTheFirstImage) {
    auto raw = createDisplay(1, nullptr, 0);
    EXPECT_EQ(raw->bitsPerPixel(), 0);
    auto first = raw->createImage(3, 3, 16, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(raw->bitsPerPixel(), 16);
    auto second = raw->createImage(3, 3, kDisplayDepth, 0);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->bitsPerPixel(), 16);
    EXPECT_EQ(second->storageKind(), 1);
    raw->setBitsPerPixel(32);
    EXPECT_EQ(raw->createImage(1, 1, kDisplayDepth, 0)->bitsPerPixel(), 32);
    // setMode without a window still makes the screen; the destructor leaves it to releaseScreen.
    ASSERT_TRUE(raw->setMode(20, 10, 8, 0));
    EXPECT_EQ(raw->bitsPerPixel(), 8);
    EXPECT_EQ(raw->screen()->storageKind(), 1);
    EXPECT_FALSE(raw->setMode(20, 10, 12, 0));  // no such depth
    EXPECT_EQ(raw->screen(), nullptr);
    EXPECT_EQ(raw->bitsPerPixel(), 8);
}

TEST(Display, DibDisplayModesAndPresent) {
    for (int depth : {8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        HeadlessWindowPort port(depth);
        std::array<PaletteEntry, 256> system{};
        for (int i = 0; i < 256; ++i)
            system[i] = {std::uint8_t(i), std::uint8_t(i + 1), std::uint8_t(i + 2), 4};
        port.setSystemPalette(system);
        auto display = createDisplay(2, &port, 1);
        // flags 1: ordinary images are memory images of the screen depth ...
        auto memory = display->createImage(5, 5, kDisplayDepth, 0);
        ASSERT_TRUE(memory);
        EXPECT_EQ(memory->storageKind(), 1);
        EXPECT_EQ(memory->bitsPerPixel(), depth);
        // ... while the screen is a DIB image.
        ASSERT_TRUE(display->setMode(357, 260, kDisplayDepth, 0));
        EXPECT_EQ(port.clientWidth(), 357);
        EXPECT_EQ(port.clientHeight(), 260);
        Image* screen = display->screen();
        ASSERT_TRUE(screen && screen->isValid());
        EXPECT_EQ(screen->storageKind(), 2);
        EXPECT_EQ(screen->bitsPerPixel(), depth);
        EXPECT_EQ(screen->pitch(), 360);
        EXPECT_EQ(screen->pitchBytes(), 360 * screen->bytesPerPixel());
        const Header h = headerOf(*screen);
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, 360);
        EXPECT_EQ(h.height, -260);
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.bitCount, depth);
        EXPECT_EQ(h.compression, 0u);
        if (depth == 8) {
            const std::uint8_t* table = screen->bitmapInfo() + 40;
            EXPECT_EQ((Bytes{table[40], table[41], table[42], table[43]}), (Bytes{12, 11, 10, 0}));
            EXPECT_EQ((Bytes{table[1020], table[1021], table[1022], table[1023]}), (Bytes{0, 0, 0, 0}));
        }
        screen->clear(0);
        screen->putPixel(356, 259, 0x1F);
        display->present();
        EXPECT_EQ(port.presentCount(), 1);
        EXPECT_EQ(port.lastWidth(), 360);
        EXPECT_EQ(port.lastHeight(), 260);
        ASSERT_EQ(port.lastPixels().size(), std::size_t(360 * 260 * screen->bytesPerPixel()));
        EXPECT_EQ(port.lastPixels()[std::size_t(259 * screen->pitchBytes() + 356 * screen->bytesPerPixel())],
                  0x1F);
        EXPECT_EQ(Bytes(port.lastHeader().begin(), port.lastHeader().begin() + 40),
                  Bytes(screen->bitmapInfo(), screen->bitmapInfo() + 40));
        // A second setMode replaces the screen and resizes again.
        ASSERT_TRUE(display->setMode(100, 50, kDisplayDepth, 0));
        EXPECT_EQ(port.resizeCount(), 2);
        EXPECT_EQ(display->screen()->width(), 100);
        display->releaseScreen();
        EXPECT_EQ(display->screen(), nullptr);
        display->present();  // nothing to show
        EXPECT_EQ(port.presentCount(), 1);
    }
    HeadlessWindowPort odd(12);
    auto display = createDisplay(2, &odd, 0);
    EXPECT_FALSE(display->setMode(10, 10, kDisplayDepth, 0));
    EXPECT_EQ(display->bitsPerPixel(), 12);
    EXPECT_FALSE(createDisplay(2, nullptr, 0)->setMode(10, 10, 8, 0));
}

TEST(Display, DibHeadersOfEachFormat) {
    HeadlessWindowPort port(16);
    DibImage565 i565(&port, 3, 2);
    ASSERT_TRUE(i565.isValid());
    EXPECT_EQ(i565.layout16(), 2);
    EXPECT_EQ(i565.pitch(), 8);
    EXPECT_EQ(headerOf(i565).compression, 3u);
    EXPECT_EQ(loadLe32(i565.bitmapInfo() + 40), 0xF800u);
    EXPECT_EQ(loadLe32(i565.bitmapInfo() + 44), 0x07E0u);
    EXPECT_EQ(loadLe32(i565.bitmapInfo() + 48), 0x001Fu);
    // The 5-6-5 DIB image has the copies but not the 5-6-5 blends.
    EXPECT_NE(i565.routine(RoutineOpaqueCopy), nullptr);
    EXPECT_NE(i565.routine(RoutineTransparentCopy), nullptr);
    EXPECT_EQ(i565.routine(RoutineBlend), nullptr);
    DibImage555 i555(&port, 9, 1);
    EXPECT_EQ(i555.layout16(), 1);
    EXPECT_EQ(i555.pitch(), 16);
    EXPECT_EQ(headerOf(i555).bitCount, 16);
    DibImage24 i24(&port, 1, 1);
    EXPECT_EQ(i24.pitchBytes(), 24);
    EXPECT_EQ(headerOf(i24).bitCount, 24);
    DibImage32 bad(&port, 0, 1);
    EXPECT_FALSE(bad.isValid());
    sixteenBitLayout = 2;
    auto display = createDisplay(2, &port, 0);
    ASSERT_TRUE(display->setMode(4, 4, 16, 0));
    EXPECT_EQ(display->screen()->layout16(), 2);
    display->releaseScreen();
    sixteenBitLayout = 0;
    EXPECT_FALSE(display->setMode(4, 4, 16, 0));
    sixteenBitLayout = 1;
}

TEST(Display, LoadersConvertToTheDisplayDepth) {
    test::TempDir dir;
    // Palette entry i = (i, 255 - i, i / 2); pixels 10 and 200.
    const std::string pcx = dir.write("a.pcx", test::makePcx8(2, 1, 2, {10, 200}));
    HeadlessWindowPort port24(24);
    auto d24 = createDisplay(2, &port24, 1);
    auto image24 = d24->loadImageFile(pcx);
    ASSERT_TRUE(image24);
    EXPECT_EQ(image24->bitsPerPixel(), 24);
    EXPECT_EQ(image24->getPixel(0, 0), 0x0AF505u);
    EXPECT_EQ(image24->getPixel(1, 0), 0xC83764u);
    HeadlessWindowPort port8(8);
    auto d8 = createDisplay(2, &port8, 1);
    auto image8 = d8->loadImageFile(pcx);
    ASSERT_TRUE(image8);
    EXPECT_EQ(image8->bitsPerPixel(), 8);
    EXPECT_EQ(image8->getPixel(1, 0), 200u);
    ASSERT_NE(image8->palette(), nullptr);
    EXPECT_EQ(image8->palette()->referenceCount, 1);  // the decoded image is gone
    EXPECT_EQ(image8->palette()->entries[200], (PaletteEntry{200, 55, 100, 0}));
    HeadlessWindowPort port16(16);
    auto d16 = createDisplay(1, &port16, 0);
    d16->setBitsPerPixel(16);
    auto tiff = d16->loadImageFile2(dir.write("a.tif", test::makeTiffOneStrip(1, 1, {255, 128, 64})));
    ASSERT_TRUE(tiff);
    EXPECT_EQ(tiff->getPixel(0, 0), 0x7E08u);
    Bytes rgb = {1, 2, 3};
    auto memory = d24->loadImageMemory(rgb.data(), 1, 1, 3, 1, 3);
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory->getPixel(0, 0), 0x010203u);
    EXPECT_EQ(d24->loadImageFile(dir.file("missing.pcx")), nullptr);
    EXPECT_EQ(createDisplay(0, nullptr, 0)->loadImageFile(pcx), nullptr);
}

}  // namespace
}  // namespace trellisor
