// PCX readers: run-length cases, palettes, 24-bit plane order, the in-memory
// variant, and refusal of headers that do not fit their data.
#include <gtest/gtest.h>

#include <cstdio>

#include "ImageFileBuilders.h"
#include "gfx/ImageFiles.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file from a header and already coded data; 8-bit files get a palette.
Bytes pcxFile(int width, int height, int planes, int bytesPerLine, const Bytes& coded) {
    Bytes file = test::pcxHeader(width, height, planes, bytesPerLine);
    file.reserve(file.size() + coded.size() + 768);
    for (std::uint8_t b : coded) file.push_back(b);
    for (int i = 0; planes == 1 && i < 256; ++i) {
        file.push_back(std::uint8_t(i));
        file.push_back(std::uint8_t(255 - i));
        file.push_back(std::uint8_t(i / 2));
    }
    return file;
}

std::vector<std::uint32_t> rowOf(Image& image, int y) {
    std::vector<std::uint32_t> out;
    for (int x = 0; x < image.width(); ++x) out.push_back(image.getPixel(x, y));
    return out;
}

TEST(PcxReader, RunLengthCases) {
    // C3 07 writes 07 three times; C0 07 writes nothing; 3F is one data byte; a
    // run crosses the end of a scan line.
    auto image =
        readPcxBytes(pcxFile(4, 3, 1, 4, {0xC3, 0x07, 0xC0, 0x07, 0x3F, 0xC6, 0x22, 0x01, 0xC1, 0xC5}));
    ASSERT_TRUE(image) << image.error();
    Image& im = *image.value();
    EXPECT_EQ(im.bitsPerPixel(), 8);
    EXPECT_EQ(rowOf(im, 0), (std::vector<std::uint32_t>{7, 7, 7, 0x3F}));
    EXPECT_EQ(rowOf(im, 1), (std::vector<std::uint32_t>{0x22, 0x22, 0x22, 0x22}));
    EXPECT_EQ(rowOf(im, 2), (std::vector<std::uint32_t>{0x22, 0x22, 1, 0xC5}));
    // The palette is the file's last 768 bytes.
    ASSERT_NE(im.palette(), nullptr);
    EXPECT_TRUE(im.paletteAssigned());
    EXPECT_EQ(im.palette()->referenceCount, 1);
    EXPECT_EQ(im.palette()->entries[7], (PaletteEntry{7, 248, 3, 0}));
    // Data that ends early leaves the remaining pixels 0; a run cut before its value byte stops.
    auto shortData = readPcxBytes(pcxFile(4, 3, 1, 4, {0x05, 0x06, 0xC9}));
    ASSERT_TRUE(shortData) << shortData.error();
    EXPECT_EQ(rowOf(*shortData.value(), 0), (std::vector<std::uint32_t>{5, 6, 0, 0}));
    EXPECT_EQ(rowOf(*shortData.value(), 2), (std::vector<std::uint32_t>{0, 0, 0, 0}));
}

TEST(PcxReader, ScanLinesWiderOrNarrowerThanTheImage) {
    // bytesPerLine 6 for a width of 3: the 3 extra bytes of each line are dropped.
    auto wide = readPcxBytes(pcxFile(3, 2, 1, 6, {1, 2, 3, 9, 9, 9, 4, 5, 6, 9, 9, 9, 8, 8}));
    ASSERT_TRUE(wide) << wide.error();
    EXPECT_EQ(rowOf(*wide.value(), 0), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(rowOf(*wide.value(), 1), (std::vector<std::uint32_t>{4, 5, 6}));
    // bytesPerLine 2 for a width of 3: the last column stays 0.
    auto narrow = readPcxBytes(pcxFile(3, 2, 1, 2, {1, 2, 3, 4}));
    ASSERT_TRUE(narrow) << narrow.error();
    EXPECT_EQ(rowOf(*narrow.value(), 0), (std::vector<std::uint32_t>{1, 2, 0}));
    EXPECT_EQ(rowOf(*narrow.value(), 1), (std::vector<std::uint32_t>{3, 4, 0}));
    // A wide scan line of a 24-bit file.
    auto wide24 = readPcxBytes(pcxFile(1, 1, 3, 2, {10, 99, 20, 99, 30, 99}));
    ASSERT_TRUE(wide24) << wide24.error();
    EXPECT_EQ(wide24.value()->getPixel(0, 0), 0x0A141Eu);
}

TEST(PcxReader, TwentyFourBitPlaneOrder) {
    // Two pixels, two rows: each row is its red plane, then green, then blue.
    Bytes raw = {10, 11, 20, 21, 30, 31, /* row 1 */ 40, 41, 50, 51, 60, 61};
    auto image = readPcxBytes(test::makePcx24(2, 2, 2, raw));
    ASSERT_TRUE(image) << image.error();
    Image& im = *image.value();
    ASSERT_EQ(im.bitsPerPixel(), 24);
    EXPECT_EQ(im.palette(), nullptr);
    const std::uint8_t* p = im.lock(1);
    EXPECT_EQ((Bytes{p[0], p[1], p[2], p[3], p[4], p[5]}), (Bytes{30, 20, 10, 31, 21, 11}));
    im.unlock();
    EXPECT_EQ(im.getPixel(1, 1), 0x29333Du);  // red 41, green 51, blue 61
}

TEST(PcxReader, RefusesWhatDoesNotFit) {
    EXPECT_FALSE(readPcxBytes(Bytes(128, 0)));
    EXPECT_FALSE(readPcxBytes(Bytes(10, 0)));
    EXPECT_FALSE(readPcxBytes(pcxFile(2, 2, 4, 2, {1, 2, 3, 4})));
    EXPECT_EQ(readPcxBytes(pcxFile(2, 2, 4, 2, {1, 2, 3, 4})).error(),
              "PCX with 4 planes is neither 8-bit nor 24-bit");
    // An 8-bit file too short to hold its palette.
    Bytes tooShort = test::pcxHeader(2, 2, 1, 2);
    tooShort.resize(600, 1);
    EXPECT_FALSE(readPcxBytes(tooShort));
    // xmax below xmin, zero scan-line length, absurd sizes, and a header that
    // claims far more pixels than the data could hold: refused before allocating.
    Bytes inverted = pcxFile(2, 2, 1, 2, {1, 2, 3, 4});
    storeLe16(&inverted[8], 0);
    EXPECT_FALSE(readPcxBytes(inverted));
    EXPECT_FALSE(readPcxBytes(pcxFile(2, 2, 1, 0, {1, 2, 3, 4})));
    Bytes huge = pcxFile(2, 2, 3, 2, {1, 2, 3, 4});
    storeLe16(&huge[4], 0);
    storeLe16(&huge[6], 0);
    storeLe16(&huge[8], 65535);
    storeLe16(&huge[10], 65535);
    auto refused = readPcxBytes(huge);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("larger than 16384"), std::string::npos) << refused.error();
    auto claims = readPcxBytes(pcxFile(4000, 4000, 1, 4000, {0xFF, 1}));
    ASSERT_FALSE(claims);
    EXPECT_NE(claims.error().find("cannot hold"), std::string::npos) << claims.error();
}

TEST(PcxReader, MemoryVariantAndFiles) {
    Bytes block = {0xC3, 0x07, 0x3F};
    for (int i = 0; i < 256; ++i) block.insert(block.end(), {std::uint8_t(i), 0, 0});
    auto image = readPcxMemory(block.data(), 2, 2, 1, 2, int(block.size()));
    ASSERT_TRUE(image);
    EXPECT_EQ(rowOf(*image, 0), (std::vector<std::uint32_t>{7, 7}));
    EXPECT_EQ(rowOf(*image, 1), (std::vector<std::uint32_t>{7, 0x3F}));
    EXPECT_EQ(image->palette()->entries[200].red, 200);
    EXPECT_EQ(readPcxMemory(nullptr, 2, 2, 1, 2, 800), nullptr);
    EXPECT_EQ(readPcxMemory(block.data(), 2, 2, 1, 2, 700), nullptr);  // no room for the palette
    EXPECT_EQ(readPcxMemory(block.data(), 2, 2, 2, 2, int(block.size())), nullptr);
    EXPECT_EQ(readPcxMemory(block.data(), -2, 2, 1, 2, int(block.size())), nullptr);
    Bytes rgb = {1, 2, 3};
    auto image24 = readPcxMemory(rgb.data(), 1, 1, 3, 1, 3);
    ASSERT_TRUE(image24);
    EXPECT_EQ(image24->getPixel(0, 0), 0x010203u);

    test::TempDir dir;
    const std::string path = dir.write("grass.pcx", test::makePcx8(3, 1, 4, {9, 8, 7, 0}));
    auto fromFile = readPcxFile(path);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(rowOf(*fromFile, 0), (std::vector<std::uint32_t>{9, 8, 7}));
    EXPECT_EQ(readPcxFile(dir.file("missing.pcx")), nullptr);
    EXPECT_EQ(readPcxFile(dir.write("short.pcx", Bytes(128, 0))), nullptr);

    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 5, SEEK_SET);
    EXPECT_EQ(fileLength(f), long(128 + 4 + 768));
    EXPECT_EQ(std::ftell(f), 5);
    std::fclose(f);
}

}  // namespace
}  // namespace trellisor
