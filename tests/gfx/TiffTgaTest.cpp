// The TIFF reader (strips in the value field or at an offset, refusals) and
// the TGA writer's bytes.
#include <gtest/gtest.h>

#include "ImageFileBuilders.h"
#include "gfx/ImageFiles.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::TiffEntry;

TEST(TiffReader, OneStripInTheValueField) {
    const Bytes rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, /* row 1 */ 1, 2, 3, 4, 5, 6, 7, 8, 9};
    auto image = readTiffBytes(test::makeTiffOneStrip(3, 2, rgb));
    ASSERT_TRUE(image) << image.error();
    Image& im = *image.value();
    ASSERT_EQ(im.bitsPerPixel(), 24);
    EXPECT_EQ(im.width(), 3);
    EXPECT_EQ(im.height(), 2);
    const std::uint8_t* p = im.lock(1);
    EXPECT_EQ((Bytes{p[0], p[1], p[2]}), (Bytes{30, 20, 10}));  // stored blue, green, red
    im.unlock();
    EXPECT_EQ(im.getPixel(2, 0), 0x46505Au);
    EXPECT_EQ(im.getPixel(0, 1), 0x010203u);
    EXPECT_EQ(im.getPixel(2, 1), 0x070809u);
}

TEST(TiffReader, SeveralStripsAtOffsets) {
    // Three strips of one row each, stored in reverse order; arrays of LONG
    // offsets and SHORT counts at offsets; a second pair of SHORT offsets in the value field too.
    const int width = 2;
    Bytes pixels = {/* row 2 */ 9, 9, 9, 8, 8, 8, /* row 1 */ 5, 5, 5, 6, 6, 6,
                    /* row 0 */ 1, 2, 3, 4, 5, 6};
    Bytes extra;
    ByteWriter w(extra);
    const std::uint32_t offsetsAt = 8 + 18, countsAt = offsetsAt + 12;
    w.u32(8 + 12);
    w.u32(8 + 6);
    w.u32(8 + 0);
    w.u16(6);
    w.u16(6);
    w.u16(6);
    auto file = test::makeTiff(pixels, extra,
                               {{256, 3, 1, width},
                                {257, 4, 1, 3},
                                {259, 3, 1, 1},
                                {277, 3, 1, 3},
                                {273, 4, 3, offsetsAt},
                                {279, 3, 3, countsAt},
                                {999, 3, 1, 0}});
    auto image = readTiffBytes(file);
    ASSERT_TRUE(image) << image.error();
    EXPECT_EQ(image.value()->getPixel(0, 0), 0x010203u);
    EXPECT_EQ(image.value()->getPixel(1, 1), 0x060606u);
    EXPECT_EQ(image.value()->getPixel(1, 2), 0x080808u);
    // Two SHORT offsets in the value field: low half, then high half.
    auto pair = test::makeTiff(pixels, {},
                               {{256, 3, 1, 2},
                                {257, 3, 1, 2},
                                {259, 3, 1, 1},
                                {277, 3, 1, 3},
                                {273, 3, 2, (20u << 16) | 14u},
                                {279, 3, 2, (6u << 16) | 6u}});
    auto two = readTiffBytes(pair);
    ASSERT_TRUE(two) << two.error();
    EXPECT_EQ(two.value()->getPixel(0, 0), 0x050505u);
    EXPECT_EQ(two.value()->getPixel(0, 1), 0x010203u);
    // A strip longer than the image stops at its last row; one pointing past the file leaves zeros.
    auto longStrip = test::makeTiff(
        pixels, {},
        {{256, 3, 1, 2}, {257, 3, 1, 1}, {259, 3, 1, 1}, {277, 3, 1, 3}, {273, 4, 1, 8}, {279, 4, 1, 18}});
    auto clipped = readTiffBytes(longStrip);
    ASSERT_TRUE(clipped) << clipped.error();
    EXPECT_EQ(clipped.value()->getPixel(1, 0), 0x080808u);
    auto outside = test::makeTiff(pixels, {},
                                  {{256, 3, 1, 2},
                                   {257, 3, 1, 2},
                                   {259, 3, 1, 1},
                                   {277, 3, 1, 3},
                                   {273, 4, 1, 1000000},
                                   {279, 4, 1, 12}});
    auto empty = readTiffBytes(outside);
    ASSERT_TRUE(empty) << empty.error();
    EXPECT_EQ(empty.value()->getPixel(1, 1), 0u);
}

TEST(TiffReader, Refusals) {
    const Bytes rgb(12, 7);
    Bytes bigEndian = test::makeTiffOneStrip(2, 2, rgb);
    bigEndian[0] = bigEndian[1] = 'M';
    EXPECT_FALSE(readTiffBytes(bigEndian));
    Bytes not42 = test::makeTiffOneStrip(2, 2, rgb);
    not42[2] = 43;
    EXPECT_FALSE(readTiffBytes(not42));
    EXPECT_FALSE(readTiffBytes(Bytes{'I', 'I', 42}));
    auto with = [&](std::vector<TiffEntry> entries) {
        return readTiffBytes(test::makeTiff(rgb, {}, entries));
    };
    const TiffEntry strip = {273, 4, 1, 8}, count = {279, 4, 1, 12};
    EXPECT_FALSE(
        with({{256, 3, 1, 2}, {257, 3, 1, 2}, {259, 3, 1, 5}, {277, 3, 1, 3}, strip, count}));  // compressed
    EXPECT_FALSE(with({{256, 3, 1, 2}, {257, 3, 1, 2}, {259, 3, 1, 1}, {277, 3, 1, 4}, strip, count}));
    EXPECT_FALSE(with({{256, 3, 1, 0}, {257, 3, 1, 2}, {259, 3, 1, 1}, {277, 3, 1, 3}, strip, count}));
    // More pixels than an uncompressed file of this size can hold, and arrays past the end.
    EXPECT_FALSE(
        with({{256, 4, 1, 10000}, {257, 4, 1, 10000}, {259, 3, 1, 1}, {277, 3, 1, 3}, strip, count}));
    auto past = with(
        {{256, 3, 1, 2}, {257, 3, 1, 2}, {259, 3, 1, 1}, {277, 3, 1, 3}, {273, 4, 0x40000000, 8}, count});
    ASSERT_FALSE(past);
    EXPECT_NE(past.error().find("past the end"), std::string::npos);
    Bytes badDirectory = test::makeTiffOneStrip(2, 2, rgb);
    storeLe32(&badDirectory[4], 0xFFFFFFF0u);
    EXPECT_FALSE(readTiffBytes(badDirectory));
    test::TempDir dir;
    auto fromFile = readTiffFile(dir.write("a.tif", test::makeTiffOneStrip(2, 2, rgb)));
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->getPixel(1, 1), 0x070707u);
    EXPECT_EQ(readTiffFile(dir.file("none.tif")), nullptr);
}

TEST(TgaWriter, WritesHeaderAndBlueGreenRedRows) {
    auto image = createMemoryImage(2, 1, 16);
    image->putPixel(0, 0, 0x7C00);  // red in 5-5-5
    image->putPixel(1, 0, 0x001F);  // blue
    test::TempDir dir;
    ASSERT_TRUE(writeTgaFile(image.get(), dir.file("out.tga")));
    const Bytes bytes = dir.read("out.tga");
    ASSERT_EQ(bytes.size(), 18u + 6u);
    Bytes header(18, 0);
    header[2] = 2;
    header[12] = 2;
    header[14] = 1;
    header[16] = 24;
    header[17] = 0x20;
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 18), header);
    EXPECT_EQ(Bytes(bytes.begin() + 18, bytes.end()), (Bytes{0, 0, 248, 248, 0, 0}));
    // Rows from the top, through the palette for 8-bit images.
    auto indexed = createMemoryImage(1, 2, 8);
    auto* palette = new Palette();
    palette->entries[4] = {1, 2, 3, 0};
    indexed->setPalette(palette);
    indexed->putPixel(0, 1, 4);
    auto encoded = encodeTga(*indexed);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(Bytes(encoded.value().begin() + 18, encoded.value().end()), (Bytes{0, 0, 0, 3, 2, 1}));
    EXPECT_FALSE(writeTgaFile(image.get(), dir.file("no/such/folder/out.tga")));
    EXPECT_FALSE(writeTgaFile(nullptr, dir.file("x.tga")));
}

}  // namespace
}  // namespace trellisor
