// Every editing command runs its core operation on the current page with the protection
// boxes' ramps, as one undo step that Ctrl+Z and its kin take back and forth to the exact
// bytes; refusals name the reason and change nothing. The document's history under them: only
// successful changes become steps, and past the byte bound the oldest go, the saved mark with them.
#include <QImage>
#include <QTest>
#include <cstdlib>
#include <functional>

#include "EditorFixture.h"
#include "imageio/PictureFiles.h"
#include "imageio/SpriteFolder.h"
#include "object/TypeFile.h"
#include "preview/BitmapImport.h"
#include "preview/ColourOperations.h"
#include "preview/PreviewIcons.h"
#include "support/ImageFileBuilders.h"

namespace trellisor::test {
namespace {

using EditCommands = EditorFixture;
using Bytes = std::vector<std::uint8_t>;

TEST_F(EditCommands, EachRunsItsCoreOperationWithTheBoxesTickedAsOneUndoStep) {
    auto other = standardSprites();
    for (int i = 0; i <= 50; ++i) other[std::size_t(i)] = solidRowCodedSprite(6, 3, 130, -3, -1);
    m_dir.write("stone.pth", buildTypeFile(buildObject(other), PagePath));
    m_dir.writeText("path.txt", "1\nStone\nSTONE.PTH\n");  // found without regard to case
    auto colour = [](int x, int) { return std::array<int, 3>{200, 20 + x, 20}; };
    const std::string bitmap = m_dir.write("red.bmp", bitmap24(64, 64, colour));
    MainDialog& d = open();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    load(writeObject("SRC.DAT", twelveStrings("Old")));
    // A folder of the Queue Railings sprites with one pixel changed.
    const std::string folder = m_dir.file("pictures");
    const int first = d.m_object.pageFirstSprite(PageQueueRailings),
              last = d.m_object.pageLastSprite(PageQueueRailings);
    ASSERT_TRUE(exportSpriteFolder(d.m_object, folder, first, last, false));
    const QString picture =
        QString::fromStdString(folder) + QStringLiteral("/%1.png").arg(first + 2, 3, 10, QChar('0'));
    QImage image(picture);
    image.setPixel(0, 0, 99);
    ASSERT_TRUE(image.save(picture));
    // Set all, clear all and toggle reach every box; the commands run with ramps 2 and 10 protected.
    for (auto [clicks, count] : {std::pair{std::vector{1022}, kRampCount},
                                 {{1023, 9003}, 1},
                                 {{1024}, kRampCount - 1},
                                 {{1023, 9002, 9010}, 2}}) {
        for (int id : clicks) click(id);
        int on = 0;
        for (int ramp = 0; ramp < kRampCount; ++ramp) on += d.isRampProtected(ramp);
        EXPECT_EQ(on, count);
    }
    ProtectedRamps marks{};
    marks[2] = marks[10] = true;

    m_ui.fileAnswers = {QString::fromStdString(bitmap)};
    m_ui.folderAnswers = {QString::fromStdString(folder)};
    QAction* importSprites = menuAction("Import Sprites\u2026");
    const QPoint block4 = d.m_recolorStrip->geometry().topLeft() + QPoint(1 + 15 * 4 + 7, 8);

    // What each command should leave: o, b and t start as the document stands.
    PathObject o;
    BrightnessCounters b;
    DocumentTexts t;
    const struct {
        const char* name;
        int page;
        std::function<void()> run, expect;
    } commands[] = {
        {"Brightness", PagePath, [&] { click(1011); },
         [&] { stepPageBrightness(o, PagePath, b[PagePath], +1, marks); }},
        {"Add Sparkles", PagePath, [&] { click(1026); }, [&] { addSparkles(o, PagePath, marks); }},
        {"Set Path Type", PagePath, [&] { chooseType(0); },
         [&] { b[PagePath] = loadTypeFile(o, PagePath, m_dir.file("stone.pth")) ? 0 : 9; }},
        {"Brightness", PageQueue, [&] { click(1012); },
         [&] { stepPageBrightness(o, PageQueue, b[PageQueue], -1, marks); }},
        {"Recolor", PagePathRailings, [&] { clickAt(block4); },
         [&] { recolourPage(o, PagePathRailings, 4, marks); }},
        {"Import Bitmap", PageQueue, [&] { click(1025); },
         [&] { (void)importBitmapIntoPage(o, PageQueue, readImportBitmap(bitmap).value(), marks); }},
        {"Draw Paths over Supports", PageSupports, [&] { click(1027); },
         [&] { o.setDrawsPathsOverSupports(true); }},
        {"Import Sprites", PageQueueRailings, [&] { importSprites->trigger(); },
         [&] { (void)importSpriteFolder(o, folder, first, last, Matching{}); }},
        {"Edit French Text", PageStringTable, [&] { d.m_stringTablePage->setText(2, "Chemin"); },
         [&] { t[2] = "Chemin"; }},
        {"To All", PageStringTable, [&] { controlAs<QAbstractButton>(d.m_stringTablePage, 1024)->click(); },
         [&] { t.fill("Chemin"); }},
    };
    int round = 0;
    for (const auto& command : commands) {
        SCOPED_TRACE(command.name);
        selectTab(command.page);
        if (command.page == PageStringTable) d.m_stringTablePage->m_languageEdits[2]->setFocus();
        o = d.m_object.clone();
        b = d.m_brightness;
        t = d.m_document.texts();
        std::srand(3);  // for the sparkles
        command.expect();
        followIcons(d.m_object, o);
        const auto before = savedBytes();
        const int presented = presents();
        std::srand(3);
        command.run();
        EXPECT_TRUE(d.m_object == o);
        EXPECT_EQ(std::pair(d.m_brightness, d.m_document.texts()), std::pair(b, t));
        EXPECT_EQ(presents() > presented, command.page != PageStringTable);
        EXPECT_EQ(d.windowTitle(), "Visual Trellisor - SRC.DAT*");
        EXPECT_EQ(d.contextMenu()->actions().at(0)->text(), "Undo " + QString(command.name));
        const auto after = savedBytes();

        QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        EXPECT_EQ(savedBytes(), before);
        EXPECT_EQ(d.contextMenu()->actions().at(1)->text(), "Redo " + QString(command.name));
        const QKeyCombination redo[] = {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y};
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(redo[round++ % 2]));
        EXPECT_EQ(savedBytes(), after);
    }
    EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(d.statusLine(), "Imported Queue Railings sprites from " + QString::fromStdString(folder) +
                                  ": 1 of 22 changed.");
}

TEST_F(EditCommands, RefusalsSayWhyAndChangeNothing) {
    m_dir.writeText("path.txt", "2\nBad\nbad.pth\nMissing\nnone.pth\n");
    m_dir.write("bad.pth", Bytes{1, 2, 3});
    m_dir.writeText("sprites.json", "[");
    MainDialog& d = open();
    const QString src = writeObject("SRC.DAT");
    load(src);
    m_ui.fileAnswers = {put("deep.bmp", bitmapBytes({4, 4, 7, 0, Bytes(1024), Bytes(16)})),
                        put("short.bmp", Bytes{'B', 'M', 1})};
    m_ui.folderAnswers = {dir(), src + "/in"};
    const std::pair<std::function<void()>, QString> refusals[] = {
        // the message's start; empty: none
        {[&] { chooseType(0); }, "Error: bad.pth is damaged: "},
        {[&] { chooseType(1); }, ""},  // a missing type file changes nothing
        {[&] { click(1025); }, "Can only import 8 or 24 bit bitmaps."},
        {[&] { click(1025); }, "Cannot import short.bmp: "},
        {[&] { d.OnImportSprites(); }, "Cannot import sprites: " + inDir("sprites.json")},
        {[&] { d.OnExportSprites(); }, "Cannot export sprites to " + src + "/in: "},
        {[&] { click(1025); }, ""},  // the file dialog cancelled
    };
    const auto before = savedBytes();
    for (const auto& [run, message] : refusals) {
        m_ui.messages.clear();
        run();
        EXPECT_EQ(m_ui.firstSaid(message), message);
        EXPECT_EQ(savedBytes(), before);
        EXPECT_FALSE(d.m_document.history().canUndo());
    }
    EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);

    // At the brightness limit nothing happens, not even a repaint; nor do clicks off the strip.
    for (int step = 0; step < kBrightnessLimit; ++step) click(1011);
    const int presented = presents();
    const QRect strip = d.m_recolorStrip->geometry();
    click(1011);
    clickAt(QPoint(strip.left() + 20, strip.top() - 3));
    clickAt(QPoint(strip.right() + 9, strip.center().y()));  // past the reach of its last column
    selectTab(PageStringTable);
    d.OnLButtonUp(strip.center());
    d.OnExportType();
    EXPECT_EQ(presents(), presented + 1) << "the tab change only";
    EXPECT_EQ(d.m_document.history().count(), kBrightnessLimit);
    EXPECT_TRUE(m_ui.namePrompts.empty());
}

TEST_F(EditCommands, RebuildIconsReplacesHandDrawnIconsAsOneUndoStep) {
    MainDialog& d = open();
    load(writeObject("SRC.DAT"));  // blank icons: drawn by hand
    const auto loaded = savedBytes();
    EXPECT_EQ(d.m_preview->toolTip(), "icons: hand-drawn, kept");
    PathObject expected = d.m_object.clone();
    composePreviewIcons(expected);
    menuAction("Rebuild Icons")->trigger();
    EXPECT_TRUE(d.m_object == expected);
    EXPECT_EQ(d.m_document.history().undoText(), "Rebuild Icons");
    EXPECT_FALSE(menuAction("Rebuild Icons")->isEnabled()) << "generated icons follow the sprites";
    d.m_document.history().undo();
    EXPECT_EQ(savedBytes(), loaded);
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
    for (std::uint8_t colour = 22; colour < 25; ++colour) {
        ASSERT_TRUE(step(colour));
        EXPECT_EQ(document.history().count(), 3) << "only the oldest step goes, after colour " << int(colour);
    }
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

    // A text step copies no object. (Merging, the count bound and New: DocumentSoakTest.)
    document.open(object.clone(), "/a/A.DAT", "A.DAT");
    document.setText(0, "P");
    EXPECT_LT(document.historyBytes(), 1024u);
}

// (A Load's brightness: DocumentSoakTest.)
TEST(EditorDocumentHistory, GeneratedIconsFollowAChangeOfTheirSprites) {
    PathObject object = buildObject(standardSprites());
    composePreviewIcons(object);
    auto paintPath = [](PathObject& o) {  // every sprite but the icons
        for (unsigned i = 0; i < o.m_spriteCount; ++i)
            if (i != PathIconSprite && i != QueueIconSprite) std::ranges::fill(o.spritePixels(i), 20);
        return Status::ok();
    };
    EditorDocument document;
    document.open(object.clone(), "/a/A.DAT", "A.DAT");
    ASSERT_TRUE(document.change("Paint", paintPath));
    PathObject painted = object.clone();
    ASSERT_TRUE(paintPath(painted));
    PathObject expected = painted.clone();
    composePreviewIcons(expected);
    ASSERT_FALSE(expected == painted) << "the painted sprite shows in the icon";
    EXPECT_TRUE(document.m_object == expected);
}

TEST(EditorDocumentState, NewStartsAtBrightnessZeroAndALoadAfterItIsNotModified) {
    const PathObject object = buildObject(standardSprites());
    EditorDocument document;
    document.startNew(object.clone(), "New Path", "New Path");
    ASSERT_TRUE(document.change("Brightness", [](PathObject&, BrightnessCounters& counters) {
        counters[PageQueue] = 3;
        return Status::ok();
    }));
    document.startNew(object.clone(), "New Path", "New Path");
    EXPECT_EQ(document.m_brightness, BrightnessCounters{});
    document.open(object.clone(), "/a/A.DAT", "A.DAT");  // an empty history: New's mark must go
    EXPECT_FALSE(document.isModified());
}

}  // namespace
}  // namespace trellisor::test
