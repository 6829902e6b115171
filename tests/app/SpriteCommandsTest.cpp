// Export Sprites and Import Sprites: their menu entries and keys, the folder they ask
// for, the current page's range, and a failed import that says why and changes nothing.
#include <QAction>
#include <QImage>
#include <QMenu>

#include "EditorFixture.h"

namespace trellisor::test {
namespace {

using SpriteCommands = EditorFixture;

QAction* menuAction(MainDialog& d, const QString& text) {
    for (QAction* a : d.contextMenu()->actions())
        if (a->text() == text) return a;
    return nullptr;
}

TEST_F(SpriteCommands, MenuEntriesBesideAboutWithTheirKeys) {
    MainDialog& d = open();
    auto actions = d.contextMenu()->actions();
    ASSERT_GE(actions.size(), 3);
    actions = actions.mid(actions.size() - 3);  // Export, Import, then About last
    EXPECT_EQ(actions[0]->text(), QString::fromUtf8("Export Sprites\u2026"));
    EXPECT_EQ(actions[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(actions[1]->text(), QString::fromUtf8("Import Sprites\u2026"));
    EXPECT_EQ(actions[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_EQ(actions[2]->text(), "&About trellisor...");
    EXPECT_TRUE(d.actions().contains(actions[0]) && d.actions().contains(actions[1]))
        << "the keys work while the menu is closed";
}

TEST_F(SpriteCommands, ExportAndImportTheCurrentPage) {
    MainDialog& d = open();
    load(writeObject("S.DAT", standardSprites()));
    QAction* exportSprites = menuAction(d, QString::fromUtf8("Export Sprites\u2026"));
    QAction* importSprites = menuAction(d, QString::fromUtf8("Import Sprites\u2026"));
    ASSERT_TRUE(exportSprites && importSprites);
    const QString folder = QString::fromStdString(m_dir.file("pictures"));

    selectTab(PageQueueRailings);
    exportSprites->trigger();  // cancelled: nothing written
    m_ui.folderAnswers.push_back(folder);
    exportSprites->trigger();
    ASSERT_EQ(m_ui.folderTitles.size(), 2u);
    EXPECT_EQ(m_ui.folderTitles[1], "Export Sprites to Folder");
    EXPECT_FALSE(m_dir.read("pictures/087.png").empty());
    EXPECT_TRUE(m_dir.read("pictures/086.png").empty()) << "only the page's sprites";

    QImage picture(QString::fromStdString(m_dir.file("pictures/090.png")));
    picture.setPixel(0, 0, 99);
    ASSERT_TRUE(picture.save(QString::fromStdString(m_dir.file("pictures/090.png"))));
    const int before = presents();
    m_ui.folderAnswers.push_back(folder);
    importSprites->trigger();
    EXPECT_EQ(m_ui.folderTitles.back(), "Import Sprites from Folder");
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(d.m_object.spritePixels(90)[10], 99) << "row 0's run starts after the table and its head";
    EXPECT_EQ(presents(), before + 1);
    EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);
    EXPECT_EQ(d.m_document.history().undoText(), "Import Sprites");  // one step, taken back whole
    d.m_document.history().undo();
    EXPECT_NE(d.m_object.spritePixels(90)[10], 99);
    d.m_document.history().redo();

    // A bad folder says why and changes nothing.
    m_dir.writeText("pictures/sprites.json", "[");
    const auto data =
        std::vector<std::uint8_t>(d.m_object.m_data.get(), d.m_object.m_data.get() + d.m_object.m_dataSize);
    m_ui.folderAnswers.push_back(folder);
    importSprites->trigger();
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_TRUE(m_ui.messages[0].text.startsWith("Cannot import sprites: " + folder +
                                                 "/sprites.json: malformed JSON"))
        << m_ui.messages[0].text.toStdString();
    EXPECT_EQ(
        std::vector<std::uint8_t>(d.m_object.m_data.get(), d.m_object.m_data.get() + d.m_object.m_dataSize),
        data);
    EXPECT_EQ(presents(), before + 1);
}

TEST_F(SpriteCommands, NothingWithoutAnObjectOrOnTheStringTable) {
    MainDialog& d = open();
    menuAction(d, QString::fromUtf8("Export Sprites\u2026"))->trigger();
    load(writeObject("S.DAT", standardSprites()));
    selectTab(PageStringTable);
    menuAction(d, QString::fromUtf8("Import Sprites\u2026"))->trigger();
    EXPECT_TRUE(m_ui.folderTitles.empty());
}

}  // namespace
}  // namespace trellisor::test
