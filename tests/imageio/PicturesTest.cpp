// Pictures to QImage and back, files for Import Bitmap, and sprite folders written and read.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <filesystem>

#include "imageio/PictureFiles.h"
#include "imageio/PictureImage.h"
#include "imageio/QuietMessages.h"
#include "imageio/SpriteFolder.h"
#include "support/FileSizeLimit.h"
#include "support/ImageFileBuilders.h"
#include "support/Refusals.h"
#include "support/StandardObject.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using test::said;

TEST(PictureImage, ConvertsBothWaysAndAnotherPaletteOrderGivesColours) {
    const Picture indexed{3, 2, 0, 0, true, {0, 12, 230, 255, 1, 99}, {}};
    const Picture back = imageToPicture(pictureToImage(indexed));
    EXPECT_EQ(std::pair(back.indexed, back.indices), std::pair(true, indexed.indices));
    const Picture rgba{2, 1, 0, 0, false, {}, {Rgba{}, Rgba{10, 20, 30, 200}}};
    const Picture again = imageToPicture(pictureToImage(rgba));
    EXPECT_EQ(std::pair(again.indexed, again.colours), std::pair(false, rgba.colours));
    // An editor that rewrote the palette in its own order: the colours count, not the indices.
    QImage reordered(2, 1, QImage::Format_Indexed8);
    const Rgba c12 = gameColour(12), c40 = gameColour(40);
    reordered.setColorTable({qRgba(c40.red, c40.green, c40.blue, 255),
                             qRgba(c12.red, c12.green, c12.blue, 255), qRgba(0, 0, 0, 0)});
    reordered.setPixel(0, 0, 1);
    reordered.setPixel(1, 0, 2);
    const Picture p = imageToPicture(reordered);
    EXPECT_EQ(std::pair(p.indexed, p.colours), std::pair(false, std::vector<Rgba>{c12, Rgba{}}));
    // Scaled, each pixel becomes n x n; no side may pass the sheet limit, and n is at least 1.
    QImage two(2, 1, QImage::Format_RGB32);
    two.setPixel(0, 0, 0xFF102030), two.setPixel(1, 0, 0xFF405060);
    const QImage big = scaledImage(two, 3).value();
    EXPECT_EQ(std::tuple(big.size(), big.pixel(2, 2), big.pixel(3, 0)),
              std::tuple(QSize(6, 3), 0xFF102030u, 0xFF405060u));
    EXPECT_FALSE(scaledImage(two, 0));
    const QImage wide(16384, 1, QImage::Format_RGB32);
    EXPECT_EQ(scaledImage(wide, 1).value().width(), 16384);
    EXPECT_EQ(scaledImage(wide, 2).error(),
              "a picture of 16384 x 1 at scale 2 would pass 16384 pixels on a side");
}

TEST(PictureFiles, ImportReadsBitmapsOfEveryFormatAndOtherPictures) {
    test::TempDir dir;
    auto colourAt = [](int x, int y) { return std::tuple<int, int, int>{x * 50, 200 - y * 60, 9}; };
    // An uncompressed 24-bit file goes through the bitmap reader: even its headers are as stored.
    const std::string bmp24 = dir.write("a.bmp", test::bitmap24(5, 2, colourAt));
    auto direct = readBitmapFile(bmp24), imported = readImportBitmap(bmp24);
    ASSERT_TRUE(imported);
    EXPECT_TRUE(imported->fileHeader == direct->fileHeader && imported->pixels == direct->pixels);
    // The same colours as PNG: the bitmap the file would give.
    ASSERT_TRUE(QImage(QString::fromStdString(bmp24)).save(QString::fromStdString(dir.file("a.png"))));
    auto fromPng = readImportBitmap(dir.file("a.png"));
    ASSERT_TRUE(fromPng);
    auto fields = [](const ImportedBitmap& m) {
        return std::tuple(m.pixels, m.rowStride, m.infoHeader.biWidth, m.infoHeader.biHeight,
                          m.infoHeader.biBitCount, m.fileHeader[0], m.fileHeader[1]);
    };
    EXPECT_EQ(fields(fromPng.value()), fields(direct.value()));
    // An RLE8 file (what a palette conversion often writes), colour 0 red, 1 blue: bottom row
    // 0 0 1 1, top row 1 1 1 1, as 24-bit rows of 12 bytes, bottom-up, blue green red.
    test::BitmapContent rle{4, 2, 8, 2, {0, 0, 255, 0, 255, 0, 0, 0}, {2, 0, 2, 1, 0, 0, 4, 1, 0, 1}};
    auto rleBytes = test::bitmapBytes(rle);
    rleBytes[30] = 1;  // biCompression: RLE8
    auto fromRle = readImportBitmap(dir.write("rle.bmp", rleBytes));
    ASSERT_TRUE(fromRle);
    std::vector<std::uint8_t> rows;
    for (bool blue : {false, false, true, true, true, true, true, true})
        rows.insert(rows.end(), {std::uint8_t(blue ? 255 : 0), 0, std::uint8_t(blue ? 0 : 255)});
    EXPECT_EQ(std::pair(int(fromRle->infoHeader.biBitCount), fromRle->pixels), std::pair(24, rows));
    // What neither reader takes keeps the bitmap reader's answer.
    auto odd = readImportBitmap(
        dir.write("seven.bmp", test::bitmapBytes({4, 4, 7, 0, std::vector<std::uint8_t>(1024, 0),
                                                  std::vector<std::uint8_t>(32, 0)})));
    EXPECT_TRUE(odd && !isImportableDepth(odd.value()));
    auto cut = readImportBitmap(dir.write("cut.bmp", std::vector<std::uint8_t>(20, 'B')));
    EXPECT_THAT(cut, test::RefusedSaying("shorter"));
    // Any other picture gets Qt's reader's answer, the side limit included.
    for (int width : {16384, 16385}) {
        QImage wide(width, 1, QImage::Format_RGB32);
        wide.fill(Qt::red);
        ASSERT_TRUE(wide.save(QString::fromStdString(dir.file("wide.png"))));
        auto read = readImportBitmap(dir.file("wide.png"));
        EXPECT_EQ(read.error(),
                  width == 16384 ? "" : "a picture of 16385 x 1 pixels is larger than 16384 on a side");
    }
}

TEST(SpriteFolder, ExportWritesTheRangeAndImportReadsOnlyTheRangeAndEntriesGiven) {
    test::TempDir dir;
    PathObject obj = test::standardObject();
    obj.m_sprites[70].xOffset = -3, obj.m_sprites[70].yOffset = 4;
    ASSERT_TRUE(exportSpriteFolder(obj, dir.path(), 3, 70, false));
    QJsonArray list = readJsonFile(dir.file("sprites.json"), 1 << 20).value().array();
    ASSERT_EQ(list.size(), 71);
    EXPECT_TRUE(list[2].isNull() && dir.read("002.png").empty());
    EXPECT_EQ(list[70].toObject(), (QJsonObject{{"path", "070.png"}, {"x", -3}, {"y", 4}, {"flags", 5}}));
    const QImage last(QString::fromStdString(dir.file("070.png")));
    EXPECT_EQ(std::pair(last.size(), last.format()), std::pair(QSize(8, 4), QImage::Format_Indexed8));
    // Untouched, nothing changes; null entries and missing trailing ones leave those sprites alone.
    auto count = importSpriteFolder(obj, dir.path(), 0, 167, Matching{});
    EXPECT_EQ(said(count), "0");

    // A changed picture in range; a missing one outside it is not read; missing fields keep the sprite's.
    const QString five = QString::fromStdString(dir.file("005.png"));
    QImage changed = QImage(five).convertToFormat(QImage::Format_ARGB32);
    changed.setPixel(0, 0, qRgba(255, 0, 0, 255));
    ASSERT_TRUE(changed.save(five));
    std::remove(dir.file("009.png").c_str());
    list[5] = QJsonObject{{"path", "005.png"}, {"x", -7}};
    ASSERT_TRUE(writeJsonFile(dir.file("sprites.json"), list));
    const SpriteHeader before = obj.m_sprites[5];
    count = importSpriteFolder(obj, dir.path(), 5, 5, Matching{});
    EXPECT_EQ(said(count), "1");
    EXPECT_EQ(std::tuple(obj.m_sprites[5].xOffset, obj.m_sprites[5].yOffset, obj.m_sprites[5].flags),
              std::tuple(std::int16_t(-7), before.yOffset, before.flags));
    EXPECT_EQ(obj.spritePixels(5)[10], 173) << "the red pixel, first in row 0's run";
}

TEST(SpriteFolder, BadInputNamesTheFileAndChangesNothing) {
    std::string nulls = "[";
    for (int i = 0; i < 168; ++i) nulls += "null, ";
    const struct {
        const char* file;  // the file the reason names
        const char* reason;
        std::string json;  // the new sprites.json, if any
        void (*spoil)(const test::TempDir&) = nullptr;
    } cases[] = {
        {"sprites.json", "No such file or directory", "",
         [](const test::TempDir& d) { std::remove(d.file("sprites.json").c_str()); }},
        {"sprites.json", "malformed JSON at byte", "[{\"path\": "},
        {"sprites.json", "not an array", "{}"},
        {"sprites.json", "entry 1 is neither an object nor null", "[null, 3]"},
        {"sprites.json", "entry 168 is past the object's 168 sprites", nulls + "{\"path\": \"000.png\"}]"},
        {"sprites.json", "entry 0 has no path", "[{\"x\": 1}]"},
        {"sprites.json", "entry 0: x is not a whole number", "[{\"path\": \"000.png\", \"x\": 1.5}]"},
        {"sprites.json", "entry 0: y is not a whole number", "[{\"path\": \"000.png\", \"y\": 3e9}]"},
        {"001.png", "cannot read the picture", "",
         [](const test::TempDir& d) { d.writeText("001.png", "not a png"); }},
        {"001.png", "4097 x 1 pixels is larger than 4096", "",
         [](const test::TempDir& d) {
             QImage(4097, 1, QImage::Format_ARGB32).save(QString::fromStdString(d.file("001.png")));
         }},
        {"001.png", "flags 3 are neither", "[null, {\"path\": \"001.png\", \"flags\": 3, \"x\": 100}]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        test::TempDir dir;
        PathObject obj = test::standardObject();
        ASSERT_TRUE(exportSpriteFolder(obj, dir.path(), 0, 1, false));
        if (!c.json.empty()) dir.writeText("sprites.json", c.json);
        if (c.spoil) c.spoil(dir);
        const auto before = test::dataOf(obj);
        auto count = importSpriteFolder(obj, dir.path(), 0, 167, Matching{});
        EXPECT_THAT(count, test::RefusedWith(dir.file(c.file) + ": "));
        EXPECT_THAT(count, test::RefusedSaying(c.reason));
        EXPECT_EQ(test::dataOf(obj), before);
    }
}

TEST(QuietMessages, OnlyOurOwnAndFatalMessagesArePrinted) {
    for (const auto& [category, type, printed] : {std::tuple{"qt.gui.imageio", QtWarningMsg, false},
                                                  {"trellisorx", QtWarningMsg, false},
                                                  {"trellisor.save", QtWarningMsg, true},
                                                  {"qt.qpa.xcb", QtFatalMsg, true}})
        EXPECT_EQ(isPrintedMessage(category, type), printed) << category;
}

TEST(SpriteFolder, AnExportFailingHalfWayLeavesTheFolderAsItWas) {
    namespace fs = std::filesystem;
    const PathObject obj = test::standardObject();
    const struct {
        const char* name;
        const char* reason;
        rlim_t sizeLimit;  // 0: none
        bool blocked;      // a folder named 003.png
        bool made = true;  // the folder was exported before; else it is new, named with a '/' last
    } cases[] = {{"full disk", "File too large", 4096, false},
                 {"in the way", "003.png is in the way", 0, true},
                 {"a new folder", "File too large", 4096, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir root;
        const std::string dir = root.file(c.made ? "sprites" : "sprites/");
        ASSERT_TRUE(!c.made || exportSpriteFolder(obj, dir, 0, 1, false));
        if (c.blocked) fs::create_directory(dir + "/003.png");
        auto listing = [&] {
            std::vector<std::pair<std::string, std::uint64_t>> files;
            for (const auto& e : fs::recursive_directory_iterator(root.path()))
                files.emplace_back(e.path().string(), e.is_regular_file() ? e.file_size() : 0);
            std::sort(files.begin(), files.end());
            return files;
        };
        const auto before = listing();
        auto written = [&] {
            std::optional<test::FileSizeLimit> limit;
            if (c.sizeLimit) limit.emplace(c.sizeLimit);
            return exportSpriteFolder(obj, dir, 0, 167, false);
        }();
        EXPECT_THAT(written, test::RefusedSaying(c.reason));
        EXPECT_EQ(listing(), before);
    }
    // A file of a linked folder is replaced whole or not at all, and no temporary file stays.
    test::TempDir dir;
    dir.writeText("055.png", "old");
    {
        test::FileSizeLimit limit(4);
        EXPECT_EQ(replaceFolderFile(dir.file("055.png"), "more than four").error(), "File too large");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(dir.read("055.png"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

TEST(SpriteFolder, ImportOfAPageTheFolderLacksNamesThePagesItHolds) {
    test::TempDir dir;
    PathObject obj = test::standardObject();
    ASSERT_TRUE(exportSpriteFolder(obj, dir.path(), 0, 50, false));
    auto queue = importSpriteFolder(obj, dir.path(), 51, 70, Matching{});
    EXPECT_EQ(queue.error(), dir.file("sprites.json") +
                                 ": this folder holds Path sprites (000\u2013050), not Queue sprites");
    ASSERT_TRUE(exportSpriteFolder(obj, dir.path(), 71, 86, false));
    auto some = importSpriteFolder(obj, dir.path(), 87, 100, Matching{});
    EXPECT_EQ(some.error(),
              dir.file("sprites.json") +
                  ": this folder holds Path Railings sprites (073\u2013086) and icons (071\u2013072), not "
                  "sprites 087\u2013100");
}

}  // namespace
}  // namespace trellisor
