// Pictures to QImage and back, and bitmaps of every format for Import Bitmap.
#include <gtest/gtest.h>

#include "imageio/PictureFiles.h"
#include "imageio/PictureImage.h"
#include "support/ImageFileBuilders.h"
#include "support/Pixels.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

TEST(PictureImage, ExportedPicturesComeBackAndOtherPalettesBecomeColours) {
    const Picture indexed{3, 2, 0, 0, true, {0, 12, 230, 255, 1, 99}, {}};
    EXPECT_EQ(pictureToImage(indexed).format(), QImage::Format_Indexed8);
    const Picture back = imageToPicture(pictureToImage(indexed));
    EXPECT_TRUE(back.indexed);
    EXPECT_EQ(back.indices, indexed.indices);
    const Picture rgba{2, 1, 0, 0, false, {}, {Rgba{}, Rgba{10, 20, 30, 200}}};
    const Picture again = imageToPicture(pictureToImage(rgba));
    EXPECT_FALSE(again.indexed);
    EXPECT_EQ(again.colours, rgba.colours);

    // An editor that rewrote the palette in its own order: the colours count, not the indices.
    QImage reordered(2, 1, QImage::Format_Indexed8);
    const Rgba c12 = gameColour(12), c40 = gameColour(40);
    reordered.setColorTable({qRgba(c40.red, c40.green, c40.blue, 255),
                             qRgba(c12.red, c12.green, c12.blue, 255), qRgba(0, 0, 0, 0)});
    reordered.scanLine(0)[0] = 1;
    reordered.scanLine(0)[1] = 2;
    Picture p = imageToPicture(reordered);
    EXPECT_FALSE(p.indexed);
    EXPECT_EQ(p.colours, (std::vector<Rgba>{c12, Rgba{}}));
    QImage grey(1, 1, QImage::Format_Grayscale8);
    grey.scanLine(0)[0] = 77;
    EXPECT_EQ(imageToPicture(grey).colours, std::vector<Rgba>{(Rgba{77, 77, 77, 255})});
}

TEST(PictureImage, ImportBitmapTakesEveryFormat) {
    test::TempDir dir;
    auto colourAt = [](int x, int y) { return std::tuple<int, int, int>{x * 50, 200 - y * 60, 9}; };
    // An uncompressed 24-bit file goes through the bitmap reader: even its headers are as stored.
    const std::string bmp24 = dir.write("a.bmp", test::bitmap24(4, 2, colourAt));
    auto direct = readBitmapFile(bmp24), imported = readImportBitmap(bmp24);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->fileHeader, direct->fileHeader);
    EXPECT_EQ(imported->pixels, direct->pixels);
    // The same colours as PNG.
    ASSERT_TRUE(QImage(QString::fromStdString(bmp24)).save(QString::fromStdString(dir.file("a.png"))));
    auto fromPng = readImportBitmap(dir.file("a.png"));
    ASSERT_TRUE(fromPng);
    EXPECT_EQ(fromPng->infoHeader.biBitCount, 24);
    EXPECT_EQ(fromPng->pixels, direct->pixels);

    // An RLE8 file (what a palette conversion often writes): bottom row 0 0 1 1, top row 1 1 1 1.
    test::BitmapContent rle{4, 2, 8, 2, {0, 0, 255, 0, 255, 0, 0, 0}, {2, 0, 2, 1, 0, 0, 4, 1, 0, 1}};
    auto rleBytes = test::bitmapBytes(rle);
    rleBytes[30] = 1;  // biCompression: RLE8
    auto fromRle = readImportBitmap(dir.write("rle.bmp", rleBytes));
    ASSERT_TRUE(fromRle);
    EXPECT_EQ(fromRle->infoHeader.biBitCount, 24);
    // Bottom-up rows of 12 bytes, blue green red: bottom row red red blue blue, top row all blue.
    EXPECT_EQ(test::fnv1a(fromRle->pixels), 0x4569E40Du);

    // What neither reader takes keeps the bitmap reader's answer.
    auto odd = readImportBitmap(
        dir.write("seven.bmp", test::bitmapBytes({4, 4, 7, 0, std::vector<std::uint8_t>(1024, 0),
                                                  std::vector<std::uint8_t>(32, 0)})));
    ASSERT_TRUE(odd);
    EXPECT_FALSE(isImportableDepth(odd.value()));
    auto cut = readImportBitmap(dir.write("cut.bmp", std::vector<std::uint8_t>(20, 'B')));
    ASSERT_FALSE(cut);
    EXPECT_NE(cut.error().find("shorter"), std::string::npos) << cut.error();
    // Any other picture gets Qt's reader's answer, the side limit included.
    for (int width : {16384, 16385}) {
        QImage wide(width, 1, QImage::Format_RGB32);
        wide.fill(Qt::red);
        ASSERT_TRUE(wide.save(QString::fromStdString(dir.file("wide.png"))));
        auto read = readImportBitmap(dir.file("wide.png"));
        EXPECT_EQ(read ? "" : read.error(),
                  width == 16384 ? "" : "a picture of 16385 x 1 pixels is larger than 16384 on a side");
    }
}

}  // namespace
}  // namespace trellisor
