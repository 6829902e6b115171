// trellisor-cli sprites and import-sprites, run as a program: the folder they share, the
// options reaching the import, and bad input refused with OUT unwritten.
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliTestSupport.h"
#include "imageio/PictureFiles.h"
#include "imageio/SpriteFolder.h"

namespace trellisor {
namespace {

using namespace test::cli;

TEST(CliSprites, SpritesWritesIndexedAndTrueColourImagesWithOffsets) {
    test::TempDir dir;
    // Sprite 0 raw with a transparent pixel, sprite 1 row-coded with an index 0 inside its run.
    auto chunk = test::buildChunk(
        test::twelveStrings(),
        {test::rawSprite(2, 1, {0, 100}, -3, 4), test::rowCodedSprite(4, {{test::Run{1, {0, 129}}}}, 5, -6)});
    dir.write("IN.DAT", test::storedObjectFile(chunk));
    ASSERT_EQ(runCli(dir, {"sprites", dir.file("IN.DAT"), "--out", dir.file("out")}).exitCode, 0);

    QImage raw(QString::fromStdString(dir.file("out/000.png")));
    ASSERT_EQ(raw.format(), QImage::Format_Indexed8);
    ASSERT_EQ(raw.colorTable().size(), 256);
    EXPECT_EQ(qAlpha(raw.colorTable()[0]), 0);
    EXPECT_EQ(raw.colorTable()[129], qRgb(0xEF, 0xEF, 0xFF));
    EXPECT_EQ(raw.colorTable()[255], qRgb(0, 0, 0));
    EXPECT_EQ(raw.pixelIndex(0, 0), 0);
    EXPECT_EQ(raw.pixelIndex(1, 0), 100);
    QImage coded(QString::fromStdString(dir.file("out/001.png")));
    EXPECT_EQ(coded.size(), QSize(4, 1));
    EXPECT_EQ(coded.pixelIndex(2, 0), 129);

    std::ifstream in(dir.file("out/sprites.json"));
    std::stringstream ss;
    ss << in.rdbuf();
    const QJsonArray list = QJsonDocument::fromJson(QByteArray::fromStdString(ss.str())).array();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].toObject()["path"].toString(), "000.png");
    EXPECT_EQ(list[0].toObject()["x"].toInt(), -3);
    EXPECT_EQ(list[0].toObject()["y"].toInt(), 4);
    EXPECT_EQ(list[0].toObject()["flags"].toInt(), 1);
    EXPECT_EQ(list[1].toObject()["x"].toInt(), 5);
    EXPECT_EQ(list[1].toObject()["y"].toInt(), -6);
    EXPECT_EQ(list[1].toObject()["flags"].toInt(), 5);

    ASSERT_EQ(runCli(dir, {"sprites", dir.file("IN.DAT"), "--out", dir.file("rgba"), "--rgba"}).exitCode, 0);
    QImage rgba(QString::fromStdString(dir.file("rgba/001.png")));
    ASSERT_TRUE(rgba.hasAlphaChannel());
    EXPECT_EQ(qAlpha(rgba.pixel(0, 0)), 0) << "no run covers column 0";
    EXPECT_EQ(rgba.pixel(1, 0), qRgba(0, 0, 0, 255)) << "a run's index 0 is opaque black";
    EXPECT_EQ(rgba.pixel(2, 0), qRgba(0xEF, 0xEF, 0xFF, 255));
}

TEST(CliSprites, AnUntouchedFolderGivesTheSameFile) {
    test::TempDir dir;
    writeScene(dir);
    for (const char* format : {"--out", "--rgba"}) {
        std::vector<std::string> args = {"sprites", dir.file("IN.DAT"), "--out", dir.file("pictures")};
        if (std::string(format) == "--rgba") args.push_back(format);
        ASSERT_EQ(runCli(dir, args).exitCode, 0);
        expectSameAsInProcess(dir, {"import-sprites", dir.file("IN.DAT"), dir.file("pictures")}, true,
                              [](PathObject&) {});
        PathObject in = load(dir.file("IN.DAT")), out = load(dir.file("OUT.DAT"));
        EXPECT_TRUE(std::equal(in.m_data.get(), in.m_data.get() + in.m_dataSize, out.m_data.get(),
                               out.m_data.get() + out.m_dataSize))
            << format;
    }
}

TEST(CliSprites, PageDitherAndRampsReachTheImport) {
    test::TempDir dir;
    writeScene(dir);
    ASSERT_EQ(runCli(dir, {"sprites", dir.file("IN.DAT"), "--out", dir.file("p"), "--rgba"}).exitCode, 0);
    // Repaint a path and a queue sprite in one flat colour; only the queue page is imported.
    for (const char* name : {"p/000.png", "p/055.png"}) {
        QImage image(QString::fromStdString(dir.file(name)));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0) image.setPixel(x, y, qRgb(120, 90, 200));
        ASSERT_TRUE(image.save(QString::fromStdString(dir.file(name))));
    }
    Matching matching{Dither::Ordered, {}};
    matching.ramps[3] = matching.ramps[9] = true;
    expectSameAsInProcess(dir,
                          {"import-sprites", dir.file("IN.DAT"), dir.file("p"), "--page", "queue", "--dither",
                           "ordered", "--ramps", "3,9"},
                          false, [&](PathObject& obj) {
                              auto count = importSpriteFolder(obj, dir.file("p"), 51, 70, matching);
                              ASSERT_TRUE(count) << count.error();
                              EXPECT_EQ(count.value(), 1);
                          });
}

TEST(CliSprites, BadInputWritesNothing) {
    test::TempDir dir;
    writeScene(dir);
    ASSERT_EQ(runCli(dir, {"sprites", dir.file("IN.DAT"), "--out", dir.file("p"), "--page", "path"}).exitCode,
              0);
    EXPECT_TRUE(dir.read("p/051.png").empty()) << "--page writes only that page";
    dir.writeText("p/000.png", "not a picture");
    auto import = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = {"import-sprites", dir.file("IN.DAT"), dir.file("p"),
                                         dir.file("OUT.DAT")};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    };
    expectOneLineFailure(import({}), dir.file("p/000.png") + ": cannot read the picture");
    expectOneLineFailure(import({"--dither", "random"}), "--dither");
    expectOneLineFailure(import({"--ramps", "none"}), "--ramps");
    expectOneLineFailure(import({"--page", "paths"}), "unknown page 'paths'");
    EXPECT_TRUE(dir.read("OUT.DAT").empty());
    // The bad picture lies outside the queue page, which imports.
    EXPECT_EQ(import({"--page", "queue"}).exitCode, 0);
}

TEST(CliSprites, ImportBitmapTakesPng) {
    test::TempDir dir;
    writeScene(dir);
    QImage png(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) png.setPixel(x, y, qRgb(x * 4, y * 4, 128));
    ASSERT_TRUE(png.save(QString::fromStdString(dir.file("pic.png"))));
    expectSameAsInProcess(
        dir, {"import-bitmap", dir.file("IN.DAT"), "queue", dir.file("pic.png")}, false,
        [&](PathObject& obj) {
            auto bitmap = readImportBitmap(dir.file("pic.png"));
            ASSERT_TRUE(bitmap);
            ASSERT_TRUE(importBitmapIntoPage(obj, PageQueue, bitmap.value(), ProtectedRamps{}));
        });
    EXPECT_NE(dir.read("OUT.DAT"), dir.read("IN.DAT"));
}

}  // namespace
}  // namespace trellisor
