// Sprite folders: what export writes, and every way import refuses a folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
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

QJsonArray jsonIn(const test::TempDir& dir) {
    const Bytes text = dir.read("sprites.json");
    return QJsonDocument::fromJson(
               QByteArray(reinterpret_cast<const char*>(text.data()), qsizetype(text.size())))
        .array();
}

TEST(SpriteFolder, ExportWritesTheRangeAndImportReadsOnlyTheRangeAndEntriesGiven) {
    test::TempDir dir;
    PathObject obj = test::buildObject(test::standardSprites());
    obj.m_sprites[70].xOffset = -3, obj.m_sprites[70].yOffset = 4;
    ASSERT_TRUE(exportSpriteFolder(obj, dir.path(), 51, 70, false));
    QJsonArray list = jsonIn(dir);
    ASSERT_EQ(list.size(), 71);
    EXPECT_TRUE(list[50].isNull());
    EXPECT_TRUE(dir.read("050.png").empty());
    EXPECT_EQ(list[70].toObject(), (QJsonObject{{"path", "070.png"}, {"x", -3}, {"y", 4}, {"flags", 5}}));
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("070.png"))).size(), QSize(8, 4));
    // Untouched, nothing changes; null entries and missing trailing ones leave those sprites alone.
    auto count = importSpriteFolder(obj, dir.path(), 0, 167, Matching{});
    ASSERT_TRUE(count) << count.error();
    EXPECT_EQ(count.value(), 0);

    // A changed picture in range; a missing one outside it is not read; missing fields keep the sprite's.
    ASSERT_TRUE(exportSpriteFolder(obj, dir.path(), 0, 9, true));
    QImage changed(QString::fromStdString(dir.file("005.png")));
    changed.setPixel(0, 0, qRgba(255, 0, 0, 255));
    ASSERT_TRUE(changed.save(QString::fromStdString(dir.file("005.png"))));
    std::remove(dir.file("009.png").c_str());
    list = jsonIn(dir);
    list[5] = QJsonObject{{"path", "005.png"}, {"x", -7}};
    ASSERT_TRUE(writeJsonFile(dir.file("sprites.json"), list));
    const SpriteHeader before = obj.m_sprites[5];
    count = importSpriteFolder(obj, dir.path(), 5, 5, Matching{});
    ASSERT_TRUE(count) << count.error();
    EXPECT_EQ(count.value(), 1);
    EXPECT_EQ(std::tuple(obj.m_sprites[5].xOffset, obj.m_sprites[5].yOffset, obj.m_sprites[5].flags),
              std::tuple(std::int16_t(-7), before.yOffset, before.flags));
    EXPECT_EQ(obj.spritePixels(5)[10], 173) << "the red pixel, first in row 0's run";
}

TEST(SpriteFolder, BadInputNamesTheFileAndChangesNothing) {
    auto json = [](const char* text) {
        return [text](const test::TempDir& d) { d.writeText("sprites.json", text); };
    };
    auto picture = [](int w, int h) {
        return [w, h](const test::TempDir& d) {
            ASSERT_TRUE(QImage(w, h, QImage::Format_ARGB32).save(QString::fromStdString(d.file("001.png"))));
        };
    };
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
         [](const test::TempDir& d) {
             QJsonArray list;
             for (int i = 0; i < 168; ++i) list.append(QJsonValue::Null);
             list.append(QJsonObject{{"path", "000.png"}});
             ASSERT_TRUE(writeJsonFile(d.file("sprites.json"), list));
         }},
        {"sprites.json", "entry 0 has no path", json("[{\"x\": 1}]")},
        {"sprites.json", "entry 0: x is not a whole number", json("[{\"path\": \"000.png\", \"x\": 1.5}]")},
        {"sprites.json", "entry 0: y is not a whole number", json("[{\"path\": \"000.png\", \"y\": 3e9}]")},
        {"001.png", "cannot read the picture",
         [](const test::TempDir& d) { d.writeText("001.png", "not a png"); }},
        {"001.png", "4097 x 1 pixels is larger than 4096", picture(4097, 1)},
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
