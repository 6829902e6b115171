// Undo and redo: the document's steps and bounds, and every editor command taken
// back and forth to the exact bytes through the keys and the context menu.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <cstdlib>
#include <functional>

#include "EditorFixture.h"
#include "app/EditorDocument.h"
#include "object/ObjectFile.h"
#include "preview/BitmapBuilder.h"

namespace trellisor::test {
namespace {

// The file Save would write now (named X.DAT), from a copy: the state to compare.
std::vector<std::uint8_t> savedBytes(EditorDocument& document) {
    PathObject copy = document.m_object.clone();
    std::array<std::string, kLanguageCount> texts;
    for (int i = 0; i < kLanguageCount; ++i)
        texts[std::size_t(i)] = document.texts()[std::size_t(i)].toStdString();
    return serializeObjectFile(copy, "X.DAT", texts);
}

Status paint(PathObject& object, std::uint8_t colour) {
    auto pixels = object.spritePixels(0);
    std::fill(pixels.begin(), pixels.end(), colour);
    return Status::ok();
}

TEST(EditorDocumentHistory, StepsChangeOnlyOnSuccessAndStayWithinTheirBounds) {
    EditorDocument document(HistoryLimits{3, 1ull << 30});
    document.open(buildObject(standardSprites()), "/a/A.DAT", "A.DAT");
    const auto loaded = savedBytes(document);

    // A failed edit changes nothing, even what it did before failing; a no-op adds no step.
    Status failed = document.change("Broken", [](PathObject& object) {
        (void)paint(object, 77);
        return Status::fail("no");
    });
    EXPECT_EQ(failed.error(), "no");
    EXPECT_TRUE(document.change("Nothing", [](PathObject&) { return Status::ok(); }));
    EXPECT_EQ(savedBytes(document), loaded);
    EXPECT_EQ(document.history().count(), 0);
    EXPECT_FALSE(document.isModified());

    // Count bound: five steps keep the newest three.
    std::vector<std::vector<std::uint8_t>> states;
    for (std::uint8_t colour = 20; colour < 25; ++colour) {
        ASSERT_TRUE(document.change("Paint", [colour](PathObject& object) { return paint(object, colour); }));
        states.push_back(savedBytes(document));
    }
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.history().count(), 3);
    while (document.history().canUndo()) document.history().undo();
    EXPECT_EQ(savedBytes(document), states[1]);
    EXPECT_TRUE(document.isModified()) << "the loaded state has left the history";

    // Typing in one row merges into one step; typed back, the step goes.
    document.open(buildObject(standardSprites()), "/a/A.DAT", "A.DAT");
    EXPECT_EQ(document.history().count(), 0) << "Load clears the history";
    document.setText(0, "P");
    document.setText(0, "Pa");
    document.setText(1, "Q");
    ASSERT_EQ(document.history().count(), 2);
    EXPECT_EQ(document.history().text(0), "Edit British Text");
    document.setText(1, " ");  // as loaded
    EXPECT_EQ(document.history().count(), 1);
    document.history().undo();
    EXPECT_EQ(document.texts()[0], " ");
}

TEST(EditorDocumentHistory, TheByteBoundDropsTheOldestStepsAndKeepsTheSavedMark) {
    const PathObject object = buildObject(standardSprites());
    // Room for about three object copies.
    EditorDocument document(HistoryLimits{100, 3 * object.memoryBytes() + 4096});
    document.open(object.clone(), "/a/A.DAT", "A.DAT");
    auto step = [&document](std::uint8_t colour) {
        ASSERT_TRUE(document.change("Paint", [colour](PathObject& o) { return paint(o, colour); }));
    };
    step(20);
    step(21);
    document.history().setClean();  // as a save would
    const auto saved = savedBytes(document);
    for (std::uint8_t colour = 22; colour < 25; ++colour) step(colour);
    EXPECT_LE(document.historyBytes(), 3 * object.memoryBytes() + 4096);
    EXPECT_EQ(document.history().count(), 3);
    document.history().undo();
    document.history().undo();
    document.history().undo();
    EXPECT_FALSE(document.history().canUndo());
    EXPECT_EQ(savedBytes(document), saved);
    EXPECT_FALSE(document.isModified()) << "the saved state is still in the history";
    document.history().redo();
    EXPECT_TRUE(document.isModified());

    // New clears the history and is unsaved.
    document.startNew(object.clone(), "New Path", "New Path");
    EXPECT_EQ(document.history().count(), 0);
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.texts()[11], "New Path");
}

using UndoCommands = EditorFixture;

TEST_F(UndoCommands, EveryCommandUndoesAndRedoesToTheExactBytes) {
    // A type whose Path sprites differ, and a bitmap to import.
    auto other = standardSprites();
    for (int i = 0; i <= 50; ++i) other[std::size_t(i)] = solidRowCodedSprite(6, 3, 130, -3, -1);
    m_dir.write("stone.pth", buildTypeFile(buildObject(other), PagePath));
    m_dir.writeText("path.txt", "1\nStone\nstone.pth\n");
    const QString bitmap = QString::fromStdString(m_dir.write("red.bmp", bitmap24(64, 64, [](int, int) {
                                                                  return std::array<int, 3>{200, 20, 20};
                                                              })));
    MainDialog& d = open();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    load(writeObject("SRC.DAT", standardSprites(), twelveStrings("Old")));
    const QString out = QString::fromStdString(m_dir.file("OUT.DAT"));
    m_ui.chooseNext(out);
    click(1003);
    const auto savedAfterLoad = m_dir.read("OUT.DAT");
    EditorDocument& document = d.m_document;
    QWidget* frenchEdit = d.m_stringTablePage->m_languageEdits[2];

    const struct {
        const char* name;
        std::function<void()> run;
    } commands[] = {
        {"Set Path Type", [&] { emit d.m_typeCombo->activated(0); }},
        {"Brightness", [&] { click(1011); }},
        {"Recolor", [&] { clickAt(d.m_recolorStrip->geometry().topLeft() + QPoint(1 + 15 * 3 + 7, 8)); }},
        {"Import Bitmap",
         [&] {
             m_ui.chooseNext(bitmap);
             click(1025);
         }},
        {"Add Sparkles",
         [&] {
             std::srand(3);
             click(1026);
         }},
        {"Draw Paths over Supports", [&] { click(1027); }},
        {"Edit French Text",
         [&] {
             selectTab(PageStringTable);
             frenchEdit->setFocus();
             d.m_stringTablePage->setText(2, "Chemin");
         }},
        {"To All",
         [&] {
             selectTab(PageStringTable);
             controlAs<QAbstractButton>(d.m_stringTablePage, 1024)->click();
         }},
    };
    // Undo by Ctrl+Z; redo by Ctrl+Shift+Z and Ctrl+Y in turn; the menu names the step.
    int round = 0;
    for (const auto& command : commands) {
        SCOPED_TRACE(command.name);
        const auto before = savedBytes(document);
        command.run();
        const auto after = savedBytes(document);
        ASSERT_NE(after, before) << "the command changed something";
        EXPECT_EQ(d.windowTitle(), "Visual Trellisor - OUT.DAT*");
        const QString undoText = QStringLiteral("Undo ") + command.name;
        EXPECT_EQ(d.contextMenu()->actions().at(0)->text(), undoText);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(savedBytes(document), before);
        EXPECT_EQ(d.m_stringTablePage->texts(), document.texts());
        EXPECT_EQ(d.m_drawOverSupportsCheck->isChecked(), d.m_object.drawsPathsOverSupports());
        EXPECT_EQ(d.contextMenu()->actions().at(1)->text(), QStringLiteral("Redo ") + command.name);

        if (round++ % 2 == 0)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(savedBytes(document), after);
        EXPECT_EQ(text(1010), QString::number(d.m_brightness[std::size_t(PagePath)]));
        selectTab(PagePath);
    }

    // Back to the loaded state: no longer modified, and saved it is the same file.
    while (document.history().canUndo()) d.contextMenu()->actions().at(0)->trigger();
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - OUT.DAT");
    m_ui.chooseNext(out);
    click(1003);
    EXPECT_EQ(m_dir.read("OUT.DAT"), savedAfterLoad);

    // Load clears the history.
    click(1027);
    load(writeObject("NEXT.DAT", standardSprites()));
    EXPECT_FALSE(document.history().canUndo());
    EXPECT_EQ(d.contextMenu()->actions().at(0)->text(), "Undo");
}

}  // namespace
}  // namespace trellisor::test
