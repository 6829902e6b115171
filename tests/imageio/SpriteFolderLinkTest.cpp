// A linked sprite folder: starting, updates from the folder and writing back to it.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <filesystem>

#include "imageio/PictureFiles.h"
#include "imageio/SpriteFolderLink.h"
#include "support/Refusals.h"
#include "support/StandardObject.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using namespace std::chrono_literals;
using test::said;
using Names = std::vector<std::string>;

// Saves a picture with its top-left pixel in another colour, as a pixel editor would.
void repaint(const std::string& path, QRgb colour) {
    QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull()) << path;
    image.setPixel(0, 0, colour);
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
}

// Sets one field of one entry of the folder's sprites.json.
void setEntry(const std::string& dir, int index, const char* key, int value) {
    QJsonArray list = readJsonFile(dir + "/sprites.json", 1 << 20).value().array();
    QJsonObject entry = list[index].toObject();
    entry[key] = value;
    list[index] = entry;
    ASSERT_TRUE(writeJsonFile(dir + "/sprites.json", list));
}

// An object and a link to the folder s, not yet started.
class SpriteFolderLinkTest : public ::testing::Test {
protected:
    test::TempDir root;
    PathObject obj = test::standardObject();
    const PathObject original = obj.clone();
    const std::string dir = root.file("s");
    SpriteFolderLink link{dir};
};

TEST_F(SpriteFolderLinkTest, StartsByFillingAnEmptyFolderOrTakingASpriteFolderAsItIs) {
    auto started = link.start(obj);
    ASSERT_TRUE(started) << started.error();
    EXPECT_EQ(std::pair(started->exported, started->count), std::pair(true, 168));
    ASSERT_TRUE(exportSpriteFolder(obj, root.file("own"), 0, 167, false));
    for (const char* name : {"/sprites.json", "/000.png", "/167.png"})
        EXPECT_EQ(root.read("s" + std::string(name)), root.read("own" + std::string(name))) << name;

    repaint(dir + "/055.png", qRgb(255, 0, 0));
    started = SpriteFolderLink(dir).start(obj);
    ASSERT_TRUE(started) << started.error();
    EXPECT_EQ(std::pair(started->exported, started->count), std::pair(false, 1));
    EXPECT_NE(test::pixelsOf(obj, 55), test::pixelsOf(original, 55));

    std::filesystem::create_directory(root.file("other"));
    root.writeText("other/notes.txt", "");
    auto refused = SpriteFolderLink(root.file("other")).start(obj);
    EXPECT_EQ(refused.error(), root.file("other") +
                                   " holds files but no sprites.json: link an empty folder or a folder of "
                                   "exported sprites");
}

TEST_F(SpriteFolderLinkTest, AnUpdateTakesInOnlyChangedPicturesAndEntriesAndAFailedOneNothing) {
    ASSERT_TRUE(link.start(obj));
    // The editor changed sprite 9 meanwhile; the pixel editor saved 005.png and 006.png, and
    // sprites.json moved sprite 7; the update names 005.png and sprites.json.
    obj.spritePixels(9).back() = 200;
    const auto nine = test::pixelsOf(obj, 9);
    repaint(dir + "/005.png", qRgb(255, 0, 0));
    repaint(dir + "/006.png", qRgb(255, 0, 0));
    setEntry(dir, 7, "x", 5);
    auto count = link.update(obj, {"005.png", "sprites.json"});
    EXPECT_EQ(said(count), "2");
    EXPECT_EQ(obj.m_sprites[7].xOffset, 5);
    EXPECT_NE(test::pixelsOf(obj, 5), test::pixelsOf(original, 5));
    EXPECT_EQ(test::pixelsOf(obj, 6), test::pixelsOf(original, 6)) << "not named: not read";
    EXPECT_EQ(test::pixelsOf(obj, 9), nine) << "the editor's change stays";

    // A picture that cannot be read: nothing changes, and the next update still sees sprite 8 moved.
    root.writeText("s/005.png", "half a picture");
    setEntry(dir, 8, "x", 6);
    const auto before = test::dataOf(obj);
    EXPECT_FALSE(link.update(obj, {"005.png", "sprites.json"}));
    EXPECT_EQ(test::dataOf(obj), before);
    ASSERT_TRUE(exportSpriteFolder(original, root.file("fix"), 5, 5, false));
    std::filesystem::copy_file(root.file("fix/005.png"), dir + "/005.png",
                               std::filesystem::copy_options::overwrite_existing);
    count = link.update(obj, {"005.png", "sprites.json"});
    EXPECT_EQ(said(count), "2");
    EXPECT_EQ(std::pair(test::pixelsOf(obj, 5), obj.m_sprites[8].xOffset),
              std::pair(test::pixelsOf(original, 5), std::int16_t(6)));
}

TEST_F(SpriteFolderLinkTest, WriteBackWritesWhatChangedWithoutAnEchoAndKeepsOutsideSaves) {
    ASSERT_TRUE(link.start(obj));
    obj.spritePixels(5).back() = 200;
    obj.m_sprites[6].xOffset = 3;
    auto written = link.writeBack(obj);
    EXPECT_EQ(said(written), "2");
    const QByteArray five = spritePng(obj, 5, false).value();
    EXPECT_EQ(root.read("s/005.png"), std::vector<std::uint8_t>(five.begin(), five.end()));
    EXPECT_EQ(readJsonFile(dir + "/sprites.json", 1 << 20).value().array()[6].toObject()["x"], 3);
    // The watch hears of our writes and finds nothing to take in.
    for (const char* name : {"005.png", "sprites.json"}) link.watch().touched(name, 0ms);
    EXPECT_FALSE(link.watch().poll(1s, [](const Names& changed) {
        ADD_FAILURE() << changed.front();
        return Status::ok();
    }));
    EXPECT_EQ(link.writeBack(obj).value(), 0);

    // A sprite more, in a folder that holds every sprite: its picture and entry are added.
    PathObject more = test::standardObject(169);
    written = link.writeBack(more);
    EXPECT_EQ(said(written), "3") << "005.png, 168.png and sprites.json";
    EXPECT_EQ(readJsonFile(dir + "/sprites.json", 1 << 20).value().array().size(), 169);

    // A save in the pixel editor that is not taken in yet is not written over.
    repaint(dir + "/010.png", qRgb(0, 0, 255));
    const auto theirs = root.read("s/010.png");
    link.watch().touched("010.png", 2s);
    more.spritePixels(10).back() = 200;
    EXPECT_EQ(link.writeBack(more).value(), 0);
    EXPECT_EQ(root.read("s/010.png"), theirs);
}

}  // namespace
}  // namespace trellisor
