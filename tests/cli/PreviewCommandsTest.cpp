// The preview and colour commands of trellisor-cli, run as a program on objects
// the tests build; each result is checked against the same operation in process.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "CliTestSupport.h"
#include "object/ObjectFile.h"
#include "preview/BitmapBuilder.h"
#include "preview/BitmapImport.h"
#include "preview/ColourOperations.h"
#include "preview/GamePalette.h"
#include "preview/HeadlessPreview.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"
#include "support/SceneObject.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

using namespace test::cli;

TEST(CliPreview, IconsRebuildsBothIconsAndSaves) {
    test::TempDir dir;
    writeScene(dir, 1, 2);
    expectSameAsInProcess(dir, {"icons", dir.file("IN.DAT")}, false, [](PathObject&) {});
    PathObject out = load(dir.file("OUT.DAT"));
    auto [start, end] = out.spriteSpan(QueueIconSprite);
    EXPECT_GT(std::count_if(out.m_data.get() + start, out.m_data.get() + end, [](auto c) { return c != 0; }),
              200);
    expectOneLineFailure(runCli(dir, {"icons", dir.file("missing.DAT"), dir.file("OUT.DAT")}), "missing.DAT");
}

// The PNG against a headless frame drawn in process, pixel for pixel.
void expectRender(const test::TempDir& dir, const std::string& view, int mode, int page, int depth,
                  Image* grass) {
    const std::string png = dir.file(view + std::to_string(depth) + ".png");
    std::vector<std::string> args = {"render", dir.file("IN.DAT"), "--view", view, "-o", png};
    if (depth != 32) args.insert(args.end(), {"--depth", std::to_string(depth)});
    CliRun r = runCli(dir, args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.width(), 360);
    ASSERT_EQ(image.height(), 260);

    PathObject obj = load(dir.file("IN.DAT"));
    composePreviewIcons(obj);
    HeadlessPreview preview(depth);
    drawPreviewFrame(obj, preview.display(), grass, mode, page);
    Image* screen = preview.screen();
    int differing = 0, coloured = 0;
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 360; ++x) {
            int red = 0, green = 0, blue = 0;
            screen->unpackColor(screen->getPixel(x, y), red, green, blue);
            const QRgb got = image.pixel(x, y);
            differing += got != qRgb(red, green, blue);
            coloured += (red | green | blue) != 0;
        }
    EXPECT_EQ(differing, 0) << view << " at " << depth;
    EXPECT_GT(coloured, 500) << view << " at " << depth;
}

TEST(CliPreview, RenderDrawsTheEditorsFrameAtEveryDepth) {
    test::TempDir dir;
    writeScene(dir);
    for (int depth : {8, 16, 24, 32})
        expectRender(dir, "example-path", PreviewExamplePath, PagePath, depth, nullptr);
    expectRender(dir, "example-queue", PreviewExampleQueue, PageQueue, 32, nullptr);
    expectRender(dir, "path-railings", PreviewAllRailingElements, PagePathRailings, 32, nullptr);
    expectRender(dir, "queue", PreviewAllQueueElements, PageQueue, 24, nullptr);
    expectRender(dir, "queue-railings", PreviewAllQueueRailings, PageQueueRailings, 16, nullptr);
    expectRender(dir, "supports", PreviewAllSupportElements, PageSupports, 32, nullptr);

    expectOneLineFailure(
        runCli(dir, {"render", dir.file("IN.DAT"), "--view", "sideways", "-o", dir.file("x.png")}),
        "unknown view");
    expectOneLineFailure(runCli(dir, {"render", dir.file("IN.DAT"), "--view", "path", "--depth", "15", "-o",
                                      dir.file("x.png")}),
                         "--depth");
    expectOneLineFailure(runCli(dir, {"render", dir.file("IN.DAT"), "--view", "path"}), "-o");
}

TEST(CliPreview, RenderFindsGrassInTheWorkingFolder) {
    test::TempDir dir;
    writeScene(dir);
    // Grass of two greens in a checker, index 0 nowhere.
    std::vector<std::uint8_t> palette(768, 0);
    palette[3 * 1 + 1] = 120, palette[3 * 2 + 1] = 160;
    std::vector<std::uint8_t> indices(360 * 260);
    for (int i = 0; i < 360 * 260; ++i) indices[i] = std::uint8_t(1 + ((i % 360) / 8 + (i / 360) / 8) % 2);
    const auto grassBytes = test::pcx8(360, 260, indices, palette);
    dir.write("GRASS.PCX", grassBytes);  // found whatever the case of its name

    HeadlessPreview reference(32);
    auto grass = reference.display().loadImageFile(dir.write("own.pcx", grassBytes));
    ASSERT_TRUE(grass);
    expectRender(dir, "example-queue", PreviewExampleQueue, PageQueue, 32, grass.get());
    QImage image(QString::fromStdString(dir.file("example-queue32.png")));
    EXPECT_EQ(image.pixel(359, 0), qRgb(0, 120, 0));

    CliRun r = runCli(dir, {"render", dir.file("IN.DAT"), "--view", "path", "--grass", dir.file("own.pcx"),
                            "-o", dir.file("g.png")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    expectOneLineFailure(runCli(dir, {"render", dir.file("IN.DAT"), "--view", "path", "--grass",
                                      dir.file("none.pcx"), "-o", dir.file("g.png")}),
                         "none.pcx");
}

TEST(CliPreview, BrightnessPressesTheButtonsUpToTheLimit) {
    test::TempDir dir;
    writeScene(dir);
    ProtectedRamps ramp17{};
    ramp17[17] = true;
    auto steps = [&](int page, int n, const ProtectedRamps& marks) {
        return [=](PathObject& obj) {
            int counter = 0;
            for (int i = 0; i < std::abs(n); ++i)
                stepPageBrightness(obj, page, counter, n < 0 ? -1 : 1, marks);
        };
    };
    expectSameAsInProcess(dir, {"brightness", dir.file("IN.DAT"), "queue", "20"}, false,
                          steps(PageQueue, 12, ProtectedRamps{}));
    expectSameAsInProcess(dir, {"brightness", dir.file("IN.DAT"), "path", "-3", "--protect", "17"}, true,
                          steps(PagePath, -3, ramp17));
    expectOneLineFailure(runCli(dir, {"brightness", dir.file("IN.DAT"), "path", "x", dir.file("OUT.DAT")}),
                         "STEPS");
    expectOneLineFailure(runCli(dir, {"brightness", dir.file("IN.DAT"), "tiles", "1", dir.file("OUT.DAT")}),
                         "tiles");
    expectOneLineFailure(
        runCli(dir, {"brightness", dir.file("IN.DAT"), "path", "1", dir.file("OUT.DAT"), "--protect", "18"}),
        "--protect");
}

TEST(CliPreview, RecolourAndSparklesMatchTheEditor) {
    test::TempDir dir;
    writeScene(dir);
    expectSameAsInProcess(dir, {"recolour", dir.file("IN.DAT"), "path", "18"}, false,
                          [](PathObject& obj) { recolourPage(obj, PagePath, 18, ProtectedRamps{}); });
    ProtectedRamps all;
    all.fill(true);
    expectSameAsInProcess(dir, {"recolour", dir.file("IN.DAT"), "supports", "4", "--protect", "all"}, false,
                          [&](PathObject& obj) { recolourPage(obj, PageSupports, 4, all); });
    expectOneLineFailure(runCli(dir, {"recolour", dir.file("IN.DAT"), "path", "19", dir.file("OUT.DAT")}),
                         "RAMP");

    expectSameAsInProcess(dir, {"sparkles", dir.file("IN.DAT"), "path", "--seed", "5"}, false,
                          [](PathObject& obj) {
                              std::srand(5);
                              addSparkles(obj, PagePath, ProtectedRamps{});
                          });
    PathObject out = load(dir.file("OUT.DAT"));
    auto [s, e] = out.spriteSpan(0);
    EXPECT_GT(std::count_if(out.m_data.get() + s, out.m_data.get() + e,
                            [](auto c) { return c >= 231 && c <= 240; }),
              0);
}

TEST(CliPreview, ImportBitmapRepaintsOrRefuses) {
    test::TempDir dir;
    writeScene(dir);
    const std::string bmp = dir.write("pic.bmp", test::bitmap24(64, 64, [](int x, int y) {
                                          return std::tuple<int, int, int>{x * 4, y * 4, 128};
                                      }));
    expectSameAsInProcess(
        dir, {"import-bitmap", dir.file("IN.DAT"), "queue", bmp}, false, [&](PathObject& obj) {
            auto bitmap = readBitmapFile(bmp);
            ASSERT_TRUE(bitmap);
            ASSERT_TRUE(importBitmapIntoPage(obj, PageQueue, bitmap.value(), ProtectedRamps{}));
        });
    EXPECT_NE(dir.read("OUT.DAT"), dir.read("IN.DAT"));

    std::remove(dir.file("OUT.DAT").c_str());
    // A depth neither the bitmap reader nor Qt takes.
    test::BitmapContent seven{
        4, 4, 7, 0, std::vector<std::uint8_t>(1024, 0), std::vector<std::uint8_t>(32, 0)};
    const std::string bad = dir.write("bad.bmp", test::bitmapBytes(seven));
    expectOneLineFailure(runCli(dir, {"import-bitmap", dir.file("IN.DAT"), "path", bad, dir.file("OUT.DAT")}),
                         "Can only import 8 or 24 bit bitmaps.");
    const std::string cut = dir.write("cut.bmp", Bytes(20, 'B'));
    expectOneLineFailure(runCli(dir, {"import-bitmap", dir.file("IN.DAT"), "path", cut, dir.file("OUT.DAT")}),
                         "shorter");
    EXPECT_TRUE(dir.read("OUT.DAT").empty()) << "nothing is written on a refusal";
}

}  // namespace
}  // namespace trellisor
