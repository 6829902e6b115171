// trellisor-cli watch run as a program: a session that takes in a picture saved as pixel editors
// save and ends cleanly on Ctrl+C, one whose folder goes away, then once. OUT is compared with the folder's
// import run in process; the watch's rules are tested in their layers.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <regex>
#include <thread>

#include "imageio/SpriteFolder.h"
#include "preview/PreviewIcons.h"
#include "support/CliRunner.h"

namespace trellisor {
namespace {

using namespace test;

// OUT as the folder's import into IN (the icons following as the editor's do) writes it.
std::vector<std::uint8_t> importedObject(const TempDir& dir, const std::string& in) {
    PathObject obj = loadFile(in);
    const PathObject before = obj.clone();
    EXPECT_TRUE(importSpriteFolder(obj, dir.file("p"), 0, 167, Matching{}));
    followIcons(before, obj);
    return serializeObjectFile(obj, "OUT.DAT", objectStrings(before));
}

// "12:01:05 text": the text after the time of day.
bool isLogLine(const std::string& line, const std::string& text) {
    return std::regex_match(line.substr(0, 9), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9] ")) &&
           line.substr(9) == text;
}

TEST(CliWatch, TakesInEachSavedPictureAndEndsOnCtrlCWhenTheFolderGoesOrAfterOneImport) {
    TempDir dir;
    const std::string in = writeScene(dir);
    ASSERT_TRUE(exportSpriteFolder(loadFile(in), dir.file("p"), 0, 167, false));
    const auto untouched = importedObject(dir, in);
    CliSession watch(dir, {"watch", in, "p", "OUT.DAT", "--render", "example-queue", "-o", "q.png"});
    const std::string first = watch.nextLine();
    ASSERT_TRUE(isLogLine(first, "OUT.DAT written: 0 sprites changed by p")) << first;
    EXPECT_EQ(dir.read("OUT.DAT"), untouched);
    // A while later (no look at the files is due), the picture saved with its top-left pixel red
    // under a temporary name renamed over the old one: the folder's events tell the watch.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    QImage image =
        QImage(QString::fromStdString(dir.file("p/055.png"))).convertToFormat(QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    ASSERT_TRUE(image.save(QString::fromStdString(dir.file("p/055.part")), "PNG"));
    std::filesystem::rename(dir.file("p/055.part"), dir.file("p/055.png"));
    const std::string second = watch.nextLine();
    EXPECT_TRUE(isLogLine(second, "OUT.DAT updated: 055.png")) << second;
    EXPECT_EQ(dir.read("OUT.DAT"), importedObject(dir, in));
    runOk(dir, {"render", "OUT.DAT", "--view", "example-queue", "-o", "r.png"});
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("q.png"))),
              QImage(QString::fromStdString(dir.file("r.png"))))
        << "the view drawn again";
    EXPECT_EQ(watch.stop(SIGINT), 0);
    EXPECT_EQ(dir.read("cli.err"), std::vector<std::uint8_t>{});

    // A folder that goes away ends the watch with OUT as it was.
    CliSession gone(dir, {"watch", in, "p", "OUT.DAT"});
    gone.nextLine();
    std::filesystem::rename(dir.file("p"), dir.file("q"));
    const std::string last = gone.nextLine();
    EXPECT_TRUE(isLogLine(last, "p is gone (deleted or renamed): stopped; OUT.DAT stays as it was")) << last;
    EXPECT_EQ(gone.stop(0), 1);
    std::filesystem::rename(dir.file("q"), dir.file("p"));

    std::remove(dir.file("OUT.DAT").c_str());
    const std::string once = runOk(dir, {"watch", in, "p", "OUT.DAT", "--once"}).out;
    EXPECT_TRUE(isLogLine(once, "OUT.DAT written: 1 sprites changed by p\n")) << once;
    EXPECT_EQ(dir.read("OUT.DAT"), importedObject(dir, in));
}

}  // namespace
}  // namespace trellisor
