// Load, Save, Export and New: the dialog each asks, the core call it makes with what the
// user chose, and the message, title and files it leaves, failures included.
#include "EditorFixture.h"
#include "app/EditorSettings.h"
#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/TypeFile.h"
#include "preview/PreviewIcons.h"
#include "support/FileSizeLimit.h"

namespace trellisor::test {
namespace {

using FileCommands = EditorFixture;

auto fields(const FileDialogRequest& r) {
    return std::tuple(r.save, r.title, r.defaultExtension, r.initialName, r.filter, r.initialFolder);
}

TEST_F(FileCommands, LoadOpensTheFileAndAFailedLoadKeepsTheOpenObject) {
    MainDialog& d = open();
    for (int id : {1011, 1012, 1006, 1003, 1025}) click(id);  // without an object: nothing
    d.OnExportSprites();
    EXPECT_TRUE(m_ui.namePrompts.empty() && m_ui.fileRequests.empty() && m_ui.folderTitles.empty());
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor");

    const QString path = writeObject("MYPATH.DAT", {{0, "Garden \xE9"}, {2, "Jardin"}}, 0x02);
    const int presented = presents();
    load(path);
    EXPECT_GT(presents(), presented) << "shown at once";
    EXPECT_EQ(fields(m_ui.fileRequests.at(0)),
              fields({false, "Open Path DAT File", "DAT", "*.DAT", "*.DAT", ""}));
    PathObject expected;  // as read: hand-drawn (here blank) icons are kept
    ASSERT_EQ(loadObjectFile(expected, path.toStdString()).outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(d.m_object == expected);
    EXPECT_EQ(std::pair(d.windowTitle(), d.m_stringTablePage->text(0)),
              std::pair(QString("Visual Trellisor - MYPATH.DAT"), QString("Garden é")));
    for (int row : {-1, 12}) {  // rows outside the page are neither read nor written
        d.m_stringTablePage->setText(row, "x");
        EXPECT_TRUE(d.m_stringTablePage->text(row).isNull()) << row;
    }
    EXPECT_TRUE(d.m_drawOverSupportsCheck->isChecked());
    EXPECT_EQ(recentFiles(), QStringList{path});

    auto cut = storedObjectFile(buildChunk(twelveStrings(), standardSprites()));
    cut.resize(60);  // a head promising more than the file holds
    const QString failures[][2] = {
        {writeObject("RIDE.DAT", twelveStrings(), 0, 0x06), "Error: Not a path file."},
        {put("CUT.DAT", cut), "Error: CUT.DAT is damaged: "},
        {inDir("NO.DAT"), "Cannot open NO.DAT: No such file or directory."},
        {"", ""},  // the dialog cancelled
    };
    for (const auto& [file, message] : failures) {
        m_ui.messages.clear();
        load(file);
        EXPECT_EQ(m_ui.firstSaid(message), message);
        EXPECT_TRUE(d.m_object == expected);
        EXPECT_EQ(d.windowTitle() + d.m_stringTablePage->text(2), "Visual Trellisor - MYPATH.DATJardin");
    }
    EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);

    // A checksum that does not hold is said once, and the file opens as it is.
    auto damaged = storedObjectFile(buildChunk(twelveStrings(), standardSprites()));
    damaged[12] ^= 1;
    load(put("DAMAGED.DAT", damaged));
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text,
              "DAMAGED.DAT's checksum does not match its contents: it may be damaged. "
              "It is opened as it is.");
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - DAMAGED.DAT");
}

TEST_F(FileCommands, SaveWritesTheDocumentOrSaysWhyAndKeepsTheFile) {
    MainDialog& d = open();
    const QString mine = writeObject("MINE.DAT", twelveStrings("Old"));
    load(mine);
    const auto earlier = m_dir.read("MINE.DAT");
    // Text Windows-1252 cannot hold: named with its language; no save dialog.
    d.m_stringTablePage->setText(8, "길");
    click(1003);
    EXPECT_EQ(m_ui.messages.at(0).text, QString("The Korean text holds characters that a path object "
                                                "cannot store: 길. Change the text, then save again."));
    EXPECT_EQ(m_ui.fileRequests.size(), 1u);
    d.m_stringTablePage->setText(8, "Brücke €");

    // Over the file it came from: asked first; a full disk says why and keeps file and title; so does Cancel.
    m_ui.fileAnswers = {mine, mine};
    m_ui.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Cancel};
    {
        FileSizeLimit full(64);
        click(1003);
    }
    click(1003);
    EXPECT_EQ(fields(m_ui.fileRequests.at(1)),
              fields({true, "Save Path DAT File", "DAT", "MINE.DAT", "*.DAT", dir()}));
    ASSERT_EQ(m_ui.messages.size(), 4u);
    EXPECT_EQ(
        std::tuple(m_ui.messages[1].text, m_ui.messages[1].caption, m_ui.messages[1].buttons),
        std::tuple("File " + mine + " exists.  Overwrite?", QString("Question"), MessageButtons::OkCancel));
    EXPECT_EQ(m_ui.messages[2].text, "Cannot save MINE.DAT: File too large.");
    EXPECT_EQ(m_ui.messages[3].text, m_ui.messages[1].text);
    EXPECT_EQ(std::pair(m_dir.read("MINE.DAT"), d.windowTitle()),
              std::pair(earlier, QString("Visual Trellisor - MINE.DAT*")));

    // A new file: the object's bytes with the texts in Windows-1252, named after the file.
    const auto expected = documentBytes(d.m_document, "SAVED.DAT");
    m_ui.fileAnswers.push_back(inDir("SAVED.DAT"));
    click(1003);
    EXPECT_EQ(m_ui.messages.size(), 4u);
    EXPECT_EQ(std::pair(m_dir.read("SAVED.DAT"), d.windowTitle()),
              std::pair(expected, QString("Visual Trellisor - SAVED.DAT")));
    EXPECT_EQ(recentFiles().front(), inDir("SAVED.DAT"));

    // Save, answered on the way to another file, cannot store such a text: the document stays.
    d.m_stringTablePage->setText(8, "길");
    m_ui.messageAnswers = {MessageAnswer::Save};
    load(mine);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - SAVED.DAT*");
}

TEST_F(FileCommands, ExportWritesThePageTypeAndItsListEntry) {
    m_dir.writeText("queue.txt", "1\nExisting\nold.pth\n");
    MainDialog& d = open();
    load(writeObject("Q.DAT", {{0, "Stored"}, {1, "Other"}}));
    selectTab(PageQueue);
    // The type goes to the working folder whatever folder was chosen. Then the same file again is
    // asked about by its bare name; Cancel, a full disk or a cancelled prompt add no entry.
    m_ui.nameAnswers = {"Blue Queue é", "Again", "Full", QString()};
    m_ui.fileAnswers = {"/elsewhere/blue.pth", inDir("blue.pth"), "full.pth"};
    m_ui.messageAnswers = {MessageAnswer::Cancel};
    click(1006);
    EXPECT_EQ(m_ui.namePrompts.at(0), std::pair(QString("Enter Path Name"), QString("Stored")));
    EXPECT_EQ(fields(m_ui.fileRequests.at(1)),
              fields({true, "Export Path File", "PTH", "*.PTH", "*.PTH", dir()}));
    EXPECT_EQ(m_dir.read("blue.pth"), buildTypeFile(d.m_object, PageQueue));
    ASSERT_TRUE(
        writeDescriptorFile(m_dir.file("q.txt"), {{"Existing", "old.pth"}, {"Blue Queue \xE9", "blue.pth"}}));
    EXPECT_EQ(m_dir.read("queue.txt"), m_dir.read("q.txt"));
    EXPECT_EQ(d.m_typeCombo->itemText(1), "Blue Queue é");
    click(1006);
    {
        FileSizeLimit full(16);
        click(1006);
    }
    click(1006);
    ASSERT_EQ(m_ui.messages.size(), 2u);
    EXPECT_EQ(m_ui.messages[0].text + m_ui.messages[1].text,
              "File blue.pth exists.  Overwrite?Cannot save full.pth: File too large.");
    EXPECT_EQ(std::pair(m_ui.fileRequests.size(), d.m_typeCombo->count()), std::pair(std::size_t(4), 2));
    EXPECT_EQ(m_dir.read("queue.txt"), m_dir.read("q.txt"));
}

TEST_F(FileCommands, NewAssemblesOneTypePerList) {
    const PathObject source = buildObject(standardSprites(146), twelveStrings(), 1, 0x02);
    for (int page = 0; page < 5; ++page) {
        const std::string file = "t" + std::to_string(page) + ".pth";
        m_dir.write(file, buildTypeFile(source, page));
        m_dir.writeText(kPages[std::size_t(page)].descriptorFile, "1\nOnly\n" + file + "\n");
    }
    MainDialog& d = open();
    load(writeObject("KEEP.DAT"));
    m_ui.folderAnswers = {inDir("linked")};
    menuAction("Link Sprite Folder\u2026")->trigger();
    ASSERT_TRUE(d.linkedFolder());
    click(1004);
    EXPECT_FALSE(d.linkedFolder()) << "a new object is linked to no folder";
    PathObject expected;
    ASSERT_TRUE(assembleNewPath(expected, d.m_typeLists, m_dir.path()));
    composePreviewIcons(expected);
    EXPECT_TRUE(d.m_object == expected);
    for (const QString& text : d.m_stringTablePage->texts()) EXPECT_EQ(text, "New Path");
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - New Path*") << "a new object is not saved yet";
    click(1003);  // cancelled: a new object belongs to no file and no folder yet
    EXPECT_EQ(std::pair(m_ui.fileRequests.back().initialName, m_ui.fileRequests.back().initialFolder),
              std::pair(QString("*.DAT"), QString()));
}

}  // namespace
}  // namespace trellisor::test
