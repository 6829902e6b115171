// Sprite folders: what export writes, and every way import refuses a folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <functional>

#include "imageio/PictureFiles.h"
#include "imageio/SpriteFolder.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::dataOf;

TEST(SpriteFolder, ExportWritesTheRangeAndImportReadsOnlyTheRangeAndEntriesGiven) {
    test::TempDir dir;
    PathObject obj = test::buildObject(test::standardSprites());
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
    EXPECT_EQ(count ? count.value() : -1, 0) << (count ? "" : count.error());

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
    EXPECT_EQ(count ? count.value() : -1, 1) << (count ? "" : count.error());
    EXPECT_EQ(std::tuple(obj.m_sprites[5].xOffset, obj.m_sprites[5].yOffset, obj.m_sprites[5].flags),
              std::tuple(std::int16_t(-7), before.yOffset, before.flags));
    EXPECT_EQ(obj.spritePixels(5)[10], 173) << "the red pixel, first in row 0's run";
}

TEST(SpriteFolder, BadInputNamesTheFileAndChangesNothing) {
    auto json = [](const std::string& text) {
        return [text](const test::TempDir& d) { d.writeText("sprites.json", text); };
    };
    std::string nulls = "[";
    for (int i = 0; i < 168; ++i) nulls += "null, ";
    const struct {
        const char* file;  // the file the reason names
        const char* reason;
        std::function<void(const test::TempDir&)> spoil;
    } cases[] = {
        {"sprites.json", "No such file or directory",
         [](const test::TempDir& d) { std::remove(d.file("sprites.json").c_str()); }},
        {"sprites.json", "malformed JSON at byte", json("[{\"path\": ")},
        {"sprites.json", "not an array", json("{}")},
        {"sprites.json", "entry 1 is neither an object nor null", json("[null, 3]")},
        {"sprites.json", "entry 168 is past the object's 168 sprites",
         json(nulls + "{\"path\": \"000.png\"}]")},
        {"sprites.json", "entry 0 has no path", json("[{\"x\": 1}]")},
        {"sprites.json", "entry 0: x is not a whole number", json("[{\"path\": \"000.png\", \"x\": 1.5}]")},
        {"sprites.json", "entry 0: y is not a whole number", json("[{\"path\": \"000.png\", \"y\": 3e9}]")},
        {"001.png", "cannot read the picture",
         [](const test::TempDir& d) { d.writeText("001.png", "not a png"); }},
        {"001.png", "4097 x 1 pixels is larger than 4096",
         [](const test::TempDir& d) {
             ASSERT_TRUE(
                 QImage(4097, 1, QImage::Format_ARGB32).save(QString::fromStdString(d.file("001.png"))));
         }},
        {"001.png", "flags 3 are neither", json("[null, {\"path\": \"001.png\", \"flags\": 3, \"x\": 100}]")},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        PathObject obj = test::buildObject(test::standardSprites());
        ASSERT_TRUE(exportSpriteFolder(obj, dir.path(), 0, 1, false));
        c.spoil(dir);
        const Bytes before = dataOf(obj);
        auto count = importSpriteFolder(obj, dir.path(), 0, 167, Matching{});
        ASSERT_FALSE(count) << c.reason;
        EXPECT_EQ(count.error().rfind(dir.file(c.file) + ": ", 0), 0u) << count.error();
        EXPECT_NE(count.error().find(c.reason), std::string::npos) << count.error();
        EXPECT_EQ(dataOf(obj), before) << c.reason;
    }
}

}  // namespace
}  // namespace trellisor
