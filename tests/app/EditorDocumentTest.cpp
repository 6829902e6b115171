// The document's history: only successful changes become steps, typing in one row merges,
// the oldest steps go past the bounds, and the saved mark follows the steps.
#include "EditorFixture.h"

namespace trellisor::test {
namespace {

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
    const auto loaded = documentBytes(document);
    auto step = [&document](std::uint8_t colour) {
        return document.change("Paint", [colour](PathObject& o) { return paint(o, colour); });
    };

    // A failed edit changes nothing, even what it did before failing; a no-op adds no step.
    auto broken = [](PathObject& o) { return paint(o, 77) ? Status::fail("no") : Status::ok(); };
    EXPECT_EQ(document.change("Broken", broken).error(), "no");
    EXPECT_TRUE(document.change("Nothing", [](PathObject&) { return Status::ok(); }));
    EXPECT_EQ(documentBytes(document), loaded);
    EXPECT_EQ(std::pair(document.history().count(), document.isModified()), std::pair(0, false));

    // The oldest steps go once the copies pass the bytes; the saved mark stays where it was.
    ASSERT_TRUE(step(20) && step(21));
    document.history().setClean();  // as a save would
    const auto saved = documentBytes(document);
    for (std::uint8_t colour = 22; colour < 25; ++colour) ASSERT_TRUE(step(colour));
    EXPECT_EQ(document.history().count(), 3);
    EXPECT_LE(document.historyBytes(), 3 * object.memoryBytes() + 4096);
    document.history().undo();
    const auto secondNewest = documentBytes(document);
    while (document.history().canUndo()) document.history().undo();
    EXPECT_EQ(std::pair(documentBytes(document), document.isModified()), std::pair(saved, false));
    document.history().redo();
    EXPECT_TRUE(document.isModified());
    document.history().redo();
    EXPECT_EQ(documentBytes(document), secondNewest);
    // Past the bytes again with the saved state gone from the history: never clean again.
    ASSERT_TRUE(step(30) && step(31) && step(32));
    while (document.history().canUndo()) document.history().undo();
    EXPECT_TRUE(document.isModified());
    // Saved at the newest step: a later drop moves the mark down with the steps.
    while (document.history().canRedo()) document.history().redo();
    document.history().setClean();
    ASSERT_TRUE(step(33));
    document.history().undo();
    EXPECT_FALSE(document.isModified());

    // Typing in one row merges into one step; typed back as loaded, the step goes. Texts copy no object.
    document.open(object.clone(), "/a/A.DAT", "A.DAT");
    EXPECT_EQ(document.history().count(), 0) << "Load clears the history";
    for (const char* typed : {"P", "Pa"}) document.setText(0, typed);
    document.setText(1, "Q");
    EXPECT_EQ(document.history().text(0), "Edit British Text");
    document.setText(1, " ");  // as loaded
    EXPECT_EQ(document.history().count(), 1);
    EXPECT_LT(document.historyBytes(), 1024u);

    // The count bound; then New clears the history and is unsaved.
    for (int row = 2; row < 8; ++row) document.setText(row, "T");
    EXPECT_EQ(document.history().count(), 4);
    document.startNew(object.clone(), "New Path", "New Path");
    EXPECT_EQ(std::tuple(document.history().count(), document.isModified(), document.texts()[11]),
              std::tuple(0, true, QString("New Path")));
}

}  // namespace
}  // namespace trellisor::test
