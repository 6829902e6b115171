// Load, Save, Export and New: the dialog each asks, the core call it makes with what
// the user chose, and the message, title and files it leaves, failures included.
#include "EditorFixture.h"
#include "app/EditorSettings.h"
#include "app/TextCodec.h"
#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/TypeFile.h"
#include "preview/PreviewIcons.h"
#include "support/FileSizeLimit.h"

namespace trellisor::test {
namespace {

using FileCommands = EditorFixture;

auto requestFields(const FileDialogRequest& r) {
    return std::tuple(r.save, r.title, r.defaultExtension, r.initialName, r.filter, r.initialFolder);
}

TEST_F(FileCommands, LoadOpensTheFileAndAFailedLoadKeepsTheOpenObject) {
    MainDialog& d = open();
    const QString path = writeObject("MYPATH.DAT", {{0, "Garden \xE9"}, {2, "Jardin"}}, 0x02);
    load(path);
    EXPECT_EQ(requestFields(m_ui.fileRequests.at(0)),
              requestFields(FileDialogRequest{false, "Open Path DAT File", "DAT", "*.DAT", "*.DAT", ""}));
    PathObject expected;
    ASSERT_EQ(loadObjectFile(expected, path.toStdString()).outcome, LoadOutcome::Loaded);
    composePreviewIcons(expected);
    EXPECT_TRUE(d.m_object == expected);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - MYPATH.DAT");
    EXPECT_EQ(d.m_stringTablePage->text(0), QString::fromUtf8("Garden é"));
    EXPECT_EQ(d.m_stringTablePage->text(2), "Jardin");
    EXPECT_TRUE(d.m_drawOverSupportsCheck->isChecked());
    EXPECT_EQ(recentFiles(), QStringList{path});
    EXPECT_TRUE(m_ui.messages.empty());

    auto cut = storedObjectFile(buildChunk(twelveStrings(), standardSprites()));
    cut.resize(60);  // a head promising more than the file holds
    const struct {
        QString path;
        QString message;  // its start
    } failures[] = {
        {writeObject("RIDE.DAT", twelveStrings(), 0, 0x06), "Error: Not a path file."},
        {QString::fromStdString(m_dir.write("CUT.DAT", cut)), "Error: CUT.DAT is damaged: "},
        {QString::fromStdString(m_dir.file("MISSING.DAT")),
         "Cannot open MISSING.DAT: No such file or directory."},
        {"", ""},  // the dialog cancelled
    };
    for (const auto& failure : failures) {
        m_ui.messages.clear();
        load(failure.path);
        ASSERT_EQ(m_ui.messages.size(), failure.message.isEmpty() ? 0u : 1u) << failure.path.toStdString();
        if (!failure.message.isEmpty()) {
            EXPECT_TRUE(m_ui.messages[0].text.startsWith(failure.message))
                << m_ui.messages[0].text.toStdString();
        }
        EXPECT_TRUE(d.m_object == expected);
        EXPECT_EQ(d.windowTitle(), "Visual Trellisor - MYPATH.DAT");
        EXPECT_EQ(d.m_stringTablePage->text(2), "Jardin");
        EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);
    }
}

TEST_F(FileCommands, CommandsWithoutAnObjectDoNothing) {
    MainDialog& d = open();
    const int before = presents();
    for (int id : {1011, 1012, 1006, 1003, 1025}) click(id);
    d.OnExportSprites();
    d.OnImportSprites();
    EXPECT_EQ(presents(), before);
    EXPECT_TRUE(m_ui.namePrompts.empty() && m_ui.fileRequests.empty() && m_ui.folderTitles.empty());
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor");
}

TEST_F(FileCommands, SaveWritesTheDocumentOrSaysWhyAndKeepsTheFile) {
    MainDialog& d = open();
    const QString mine = writeObject("MINE.DAT", twelveStrings("Old"));
    load(mine);
    const auto earlier = m_dir.read("MINE.DAT");

    // Text Windows-1252 cannot hold: named with its language; nothing asked or written.
    d.m_stringTablePage->setText(8, QString::fromUtf8("길"));
    click(1003);
    EXPECT_EQ(m_ui.messages.at(0).text,
              QString::fromUtf8("The Korean text holds characters that a path object "
                                "cannot store: 길. Change the text, then save again."));
    EXPECT_EQ(m_ui.fileRequests.size(), 1u) << "no save dialog";
    d.m_stringTablePage->setText(8, QString::fromUtf8("Brücke €"));
    d.m_stringTablePage->setText(5, "");

    // Over the file it came from: asked first; a full disk says why and keeps file and title.
    {
        FileSizeLimit full(64);
        m_ui.fileAnswers.push_back(mine);
        click(1003);
    }
    EXPECT_EQ(requestFields(m_ui.fileRequests.at(1)),
              requestFields(FileDialogRequest{true, "Save Path DAT File", "DAT", "MINE.DAT", "*.DAT",
                                              QString::fromStdString(m_dir.path())}));
    ASSERT_EQ(m_ui.messages.size(), 3u);
    EXPECT_EQ(m_ui.messages[1].text, "File " + mine + " exists.  Overwrite?");
    EXPECT_EQ(m_ui.messages[1].caption, "Question");
    EXPECT_EQ(m_ui.messages[1].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(m_ui.messages[2].text, "Cannot save MINE.DAT: File too large.");
    EXPECT_EQ(m_dir.read("MINE.DAT"), earlier);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - MINE.DAT*");
    m_ui.fileAnswers.push_back(mine);
    m_ui.messageAnswers.push_back(MessageAnswer::Cancel);
    click(1003);
    EXPECT_EQ(m_dir.read("MINE.DAT"), earlier);

    // A new file: the object's bytes with the texts in Windows-1252, named after the file.
    std::array<std::string, kLanguageCount> texts;
    for (int i = 0; i < kLanguageCount; ++i)
        texts[std::size_t(i)] = toWindows1252(d.m_stringTablePage->text(i)).bytes;
    PathObject copy = d.m_object.clone();
    const auto expected = serializeObjectFile(copy, "SAVED.DAT", texts);
    m_ui.fileAnswers.push_back(QString::fromStdString(m_dir.file("SAVED.DAT")));
    click(1003);
    EXPECT_EQ(m_ui.messages.size(), 4u);
    EXPECT_EQ(m_dir.read("SAVED.DAT"), expected);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - SAVED.DAT");
    EXPECT_EQ(recentFiles().front(), QString::fromStdString(m_dir.file("SAVED.DAT")));
}

TEST_F(FileCommands, ExportWritesThePageTypeAndItsListEntry) {
    m_dir.writeText("queue.txt", "1\nExisting\nold.pth\n");
    MainDialog& d = open();
    load(writeObject("Q.DAT", {{0, "Stored"}, {1, "Other"}}));
    selectTab(PageQueue);
    m_ui.nameAnswers.push_back(QString::fromUtf8("Blue Queue é"));
    m_ui.fileAnswers.push_back("/somewhere/else/blue.pth");  // type files live in the working folder
    click(1006);
    EXPECT_EQ(m_ui.namePrompts.at(0), std::pair(QString("Enter Path Name"), QString("Stored")));
    EXPECT_EQ(requestFields(m_ui.fileRequests.at(1)),
              requestFields(FileDialogRequest{true, "Export Path File", "PTH", "*.PTH", "*.PTH",
                                              QString::fromStdString(m_dir.path())}));
    EXPECT_EQ(m_dir.read("blue.pth"), buildTypeFile(d.m_object, PageQueue));
    TempDir expected;
    ASSERT_TRUE(writeDescriptorFile(expected.file("queue.txt"),
                                    {{"Existing", "old.pth"}, {"Blue Queue \xE9", "blue.pth"}}));
    EXPECT_EQ(m_dir.read("queue.txt"), expected.read("queue.txt"));
    ASSERT_EQ(d.m_typeCombo->count(), 2);
    EXPECT_EQ(d.m_typeCombo->itemText(1), QString::fromUtf8("Blue Queue é"));

    // The same file again is asked about by its bare name; Cancel, a full disk or a
    // cancelled prompt add no entry.
    m_ui.nameAnswers = {"Again", "Full", QString()};
    m_ui.fileAnswers = {QString::fromStdString(m_dir.file("blue.pth")), "full.pth"};
    m_ui.messageAnswers.push_back(MessageAnswer::Cancel);
    click(1006);
    {
        FileSizeLimit full(16);
        click(1006);
    }
    click(1006);
    ASSERT_EQ(m_ui.messages.size(), 2u);
    EXPECT_EQ(m_ui.messages[0].text, "File blue.pth exists.  Overwrite?");
    EXPECT_EQ(m_ui.messages[1].text, "Cannot save full.pth: File too large.");
    EXPECT_EQ(m_ui.fileRequests.size(), 4u);
    EXPECT_EQ(d.m_typeLists[PageQueue].size(), 2u);
    EXPECT_EQ(m_dir.read("queue.txt"), expected.read("queue.txt"));
}

TEST_F(FileCommands, NewAssemblesOneTypePerListOrSaysWhyAndKeepsTheObject) {
    const PathObject source = buildObject(standardSprites(146), twelveStrings(), 1, 0x02);
    m_dir.write("t0.pth", buildTypeFile(source, 0));
    m_dir.writeText(kPages[0].descriptorFile, "1\nOnly\nt0.pth\n");
    MainDialog* d = &open();
    load(writeObject("KEEP.DAT", twelveStrings("Keep")));
    const auto kept = savedBytes();
    click(1004);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_TRUE(m_ui.messages[0].text.startsWith("Cannot make a new path: "))
        << m_ui.messages[0].text.toStdString();
    EXPECT_EQ(savedBytes(), kept);
    EXPECT_EQ(d->windowTitle(), "Visual Trellisor - KEEP.DAT");

    for (int page = 1; page < 5; ++page) {
        const std::string file = "t" + std::to_string(page) + ".pth";
        m_dir.write(file, buildTypeFile(source, page));
        m_dir.writeText(kPages[std::size_t(page)].descriptorFile, "1\nOnly\n" + file + "\n");
    }
    d = &open();
    click(1004);
    PathObject expected;
    ASSERT_TRUE(assembleNewPath(expected, d->m_typeLists, m_dir.path()));
    composePreviewIcons(expected);
    EXPECT_TRUE(d->m_object == expected);
    for (const QString& text : d->m_stringTablePage->texts()) EXPECT_EQ(text, "New Path");
    EXPECT_EQ(d->windowTitle(), "Visual Trellisor - New Path*") << "a new object is not saved yet";
    EXPECT_TRUE(d->m_drawOverSupportsCheck->isChecked());
}

}  // namespace
}  // namespace trellisor::test
