// trellisor-cli watch run as a program: once, and as a short session that takes in a picture
// saved as pixel editors save and ends cleanly on Ctrl+C. OUT is compared with the folder's
// import run in process; the watch's rules are tested in their layers.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <regex>

#include "imageio/SpriteFolder.h"
#include "preview/PreviewIcons.h"
#include "support/CliRunner.h"

namespace trellisor {
namespace {

using namespace test;

// Saves the picture with its top-left pixel red under a temporary name and renames it over the
// old one, as pixel editors save.
void repaintByRename(const TempDir& dir, const std::string& name) {
    QImage image = QImage(QString::fromStdString(dir.file(name))).convertToFormat(QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    ASSERT_TRUE(image.save(QString::fromStdString(dir.file(name + ".part")), "PNG"));
    std::filesystem::rename(dir.file(name + ".part"), dir.file(name));
}

// OUT as the folder's import into IN (the icons following as the editor's do), run in process
// and saved, writes it.
std::vector<std::uint8_t> importedObject(const TempDir& dir, const std::string& in) {
    PathObject obj = loadFile(in);
    auto texts = objectStrings(obj);
    const PathObject before = obj.clone();
    EXPECT_TRUE(importSpriteFolder(obj, dir.file("p"), 0, 167, Matching{}));
    followIcons(before, obj);
    return serializeObjectFile(obj, "OUT.DAT", texts);
}

// "12:01:05 text": the text after the time of day.
bool isLogLine(const std::string& line, const std::string& text) {
    return line.size() >= 9 &&
           std::regex_match(line.substr(0, 9), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9] ")) &&
           line.substr(9) == text;
}

TEST(CliWatch, OnceImportsTheFolderWritesOutAndEnds) {
    TempDir dir;
    const std::string in = writeScene(dir);
    ASSERT_TRUE(exportSpriteFolder(loadFile(in), dir.file("p"), 0, 167, false));
    repaintByRename(dir, "p/055.png");
    const CliRun run = runOk(dir, {"watch", in, "p", "OUT.DAT", "--once"});
    EXPECT_TRUE(isLogLine(run.out, "OUT.DAT written: 1 sprites changed by p\n")) << run.out;
    EXPECT_EQ(dir.read("OUT.DAT"), importedObject(dir, in));
}

TEST(CliWatch, TakesInEachSavedPictureAndEndsCleanlyOnCtrlC) {
    TempDir dir;
    const std::string in = writeScene(dir);
    ASSERT_TRUE(exportSpriteFolder(loadFile(in), dir.file("p"), 0, 167, false));
    const auto untouched = importedObject(dir, in);
    CliSession watch(dir, {"watch", in, "p", "OUT.DAT", "--render", "example-queue", "-o", "q.png"});
    const std::string first = watch.nextLine();
    ASSERT_TRUE(isLogLine(first, "OUT.DAT written: 0 sprites changed by p")) << first;
    EXPECT_EQ(dir.read("OUT.DAT"), untouched);
    repaintByRename(dir, "p/055.png");
    const std::string second = watch.nextLine();
    EXPECT_TRUE(isLogLine(second, "OUT.DAT updated: 055.png")) << second;
    EXPECT_EQ(dir.read("OUT.DAT"), importedObject(dir, in));
    runOk(dir, {"render", "OUT.DAT", "--view", "example-queue", "-o", "r.png"});
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("q.png"))),
              QImage(QString::fromStdString(dir.file("r.png"))))
        << "the view drawn again";
    EXPECT_EQ(watch.stop(SIGINT), 0);
    EXPECT_EQ(dir.read("cli.err"), std::vector<std::uint8_t>{});
    EXPECT_EQ(dir.read("OUT.DAT"), importedObject(dir, in));
}

}  // namespace
}  // namespace trellisor
