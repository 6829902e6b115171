// The linked sprite folder in the editor: Link fills an empty folder, a picture saved there comes
// in as one "Update from Folder" step that Ctrl+Z takes back in the folder too, failures and the
// end of the link are said on the status line, and Load unlinks. The link's rules are tested in
// their layers; here, the wiring.
#include <QImage>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "EditorFixture.h"
#include "app/LinkedFolder.h"
#include "imageio/SpriteFolder.h"
#include "object/ObjectFile.h"
#include "preview/PreviewIcons.h"

namespace trellisor::test {
namespace {

using LinkedFolderTest = EditorFixture;

TEST_F(LinkedFolderTest, SavedPicturesComeInAsStepsAndChangesGoBackOut) {
    MainDialog& d = open();
    PathObject source = buildObject(standardSprites(), twelveStrings());
    composePreviewIcons(source);  // generated icons, which follow the sprites
    load(put("SRC.DAT", serializeObjectFile(source, "SRC.DAT", objectStrings(source))));
    const std::string folder = m_dir.file("sprites");
    m_ui.folderAnswers = {QString::fromStdString(folder)};
    menuAction("Link Sprite Folder\u2026")->trigger();
    const QString here = QFileInfo(dir()).fileName(), linked = "linked to " + here + "/sprites \u2014 ";
    EXPECT_TRUE(d.statusLine().startsWith(linked + "exported ")) << d.statusLine().toStdString();
    EXPECT_TRUE(d.statusLine().endsWith(", 168 sprites"));
    EXPECT_FALSE(d.m_document.history().canUndo()) << "the export changed nothing";

    // A picture saved under a temporary name and renamed over the old one, as pixel editors save.
    const PathObject before = d.m_object.clone();
    const auto oldPicture = m_dir.read("sprites/055.png");
    const QString picture = QString::fromStdString(folder + "/055.png");
    QImage image = QImage(picture).convertToFormat(QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    ASSERT_TRUE(image.save(picture + ".part", "PNG"));
    std::filesystem::rename(folder + "/055.png.part", folder + "/055.png");
    const int presented = presents();
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.m_document.history().count() == 1; }, 20000));
    EXPECT_EQ(d.contextMenu()->actions().at(0)->text(), "Undo Update from Folder");
    PathObject expected = before.clone();
    ASSERT_TRUE(importSpriteFolder(expected, folder, 55, 55, Matching{}));
    followIcons(before, expected);
    EXPECT_TRUE(d.m_object == expected);
    EXPECT_GT(presents(), presented);
    EXPECT_TRUE(d.statusLine().startsWith(linked + "updated ") && d.statusLine().endsWith(", 1 sprites"))
        << d.statusLine().toStdString();

    // Undone: the folder shows the old picture again, and that write is not taken in.
    d.contextMenu()->actions().at(0)->trigger();
    EXPECT_EQ(m_dir.read("sprites/055.png"), oldPicture);
    EXPECT_TRUE(d.statusLine().startsWith(linked + "written back ") && d.statusLine().endsWith(", 1 files"))
        << d.statusLine().toStdString();
    QTest::qWait(600);
    EXPECT_EQ(std::pair(d.m_document.history().count(), d.m_document.history().canRedo()),
              std::pair(1, true));

    // The folder renamed away: the link ends with a line saying so, never a message box.
    std::filesystem::rename(folder, m_dir.file("moved"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !d.linkedFolder(); }, 20000));
    EXPECT_EQ(d.statusLine(),
              here + "/sprites was deleted or renamed: the link has ended, the object stays as it is");
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_TRUE(d.m_object == before);

    // Linked to a folder of pictures, the object takes what differs and shows it; Load unlinks.
    QImage changed(QString::fromStdString(m_dir.file("moved/056.png")));
    changed.setPixel(0, 0, 99);
    ASSERT_TRUE(changed.save(QString::fromStdString(m_dir.file("moved/056.png"))));
    m_ui.folderAnswers = {inDir("moved")};
    const int shown = presents();
    menuAction("Link Sprite Folder\u2026")->trigger();
    ASSERT_TRUE(d.linkedFolder());
    EXPECT_TRUE(d.statusLine().endsWith(", 1 sprites")) << d.statusLine().toStdString();
    EXPECT_GT(presents(), shown);
    // The queue icon shows sprite 56: composed again, it goes to the folder too.
    EXPECT_FALSE(
        std::ranges::equal(d.m_object.spritePixels(QueueIconSprite), before.spritePixels(QueueIconSprite)));
    const auto icon = spritePng(d.m_object, QueueIconSprite, false);
    ASSERT_TRUE(icon);
    EXPECT_EQ(m_dir.read("moved/072.png"),
              std::vector<std::uint8_t>(icon.value().begin(), icon.value().end()));
    EXPECT_TRUE(menuAction("Unlink Sprite Folder"));
    load(writeObject("OTHER.DAT"));
    EXPECT_FALSE(d.linkedFolder());
    EXPECT_EQ(d.statusLine(), "unlinked from " + here + "/moved");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.findChildren<LinkedFolder*>().isEmpty()) << "the folder's watch is let go";
}

}  // namespace
}  // namespace trellisor::test
