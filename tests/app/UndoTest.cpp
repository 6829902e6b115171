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

TEST(EditorDocumentHistory, StepsKeepOnlySuccessfulChangesWithinTheirBounds) {
    const PathObject object = buildObject(standardSprites());
    // Room for three object copies and at most four steps.
    EditorDocument document(HistoryLimits{4, 3 * object.memoryBytes() + 4096});
    document.open(object.clone(), "/a/A.DAT", "A.DAT");
    const auto loaded = savedBytes(document);
    auto step = [&document](std::uint8_t colour) {
        return document.change("Paint", [colour](PathObject& o) { return paint(o, colour); });
    };

    // A failed edit changes nothing, even what it did before failing; a no-op adds no step.
    EXPECT_EQ(
        document
            .change("Broken", [](PathObject& o) { return paint(o, 77) ? Status::fail("no") : Status::ok(); })
            .error(),
        "no");
    EXPECT_TRUE(document.change("Nothing", [](PathObject&) { return Status::ok(); }));
    EXPECT_EQ(savedBytes(document), loaded);
    EXPECT_EQ(document.history().count(), 0);

    // The oldest steps go once the copies pass the bytes; the saved mark stays where it was.
    ASSERT_TRUE(step(20) && step(21));
    document.history().setClean();  // as a save would
    const auto saved = savedBytes(document);
    for (std::uint8_t colour = 22; colour < 25; ++colour) ASSERT_TRUE(step(colour));
    EXPECT_EQ(document.history().count(), 3);
    EXPECT_LE(document.historyBytes(), 3 * object.memoryBytes() + 4096);
    while (document.history().canUndo()) document.history().undo();
    EXPECT_EQ(savedBytes(document), saved);
    EXPECT_FALSE(document.isModified());
    document.history().redo();
    EXPECT_TRUE(document.isModified());

    // Typing in one row merges into one step; typed back as loaded, the step goes. Texts copy no object.
    document.open(object.clone(), "/a/A.DAT", "A.DAT");
    EXPECT_EQ(document.history().count(), 0) << "Load clears the history";
    for (const char* typed : {"P", "Pa"}) document.setText(0, typed);
    document.setText(1, "Q");
    EXPECT_EQ(document.history().text(0), "Edit British Text");
    document.setText(1, " ");
    EXPECT_EQ(document.history().count(), 1);
    EXPECT_LT(document.historyBytes(), 1024u);

    // The count bound; then New clears the history and is unsaved.
    for (int row = 2; row < 8; ++row) document.setText(row, "T");
    EXPECT_EQ(document.history().count(), 4);
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
