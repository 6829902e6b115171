// Load, Save, Export, choosing a type and New, end to end through the widgets.
#include <QComboBox>

#include "EditorFixture.h"
#include "object/DescriptorFile.h"
#include "object/ObjectFile.h"

namespace trellisor::test {
namespace {

using FileCommands = EditorFixture;

std::vector<std::uint8_t> pixelsOf(const PathObject& obj, unsigned index) {
    auto span = obj.spritePixels(index);
    return {span.begin(), span.end()};
}

TEST_F(FileCommands, LoadFillsTheStringsFlagAndTitle) {
    MainDialog& d = open();
    const QString path =
        writeObject("MYPATH.DAT", standardSprites(), {{0, "Garden \xE9"}, {2, "Jardin"}}, 0, 0x02);
    load(path);
    ASSERT_EQ(m_ui.fileRequests.size(), 1u);
    const FileDialogRequest& request = m_ui.fileRequests[0];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title, "Open Path DAT File");
    EXPECT_EQ(request.defaultExtension, "DAT");
    EXPECT_EQ(request.initialName, "*.DAT");
    EXPECT_EQ(request.filter, "*.DAT");

    EXPECT_TRUE(d.m_object.isLoaded());
    EXPECT_EQ(d.m_object.m_spriteCount, 168u);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - MYPATH.DAT");
    EXPECT_EQ(d.m_stringTablePage->text(0), QString::fromUtf8("Garden é"));
    EXPECT_EQ(d.m_stringTablePage->text(1), "");
    EXPECT_EQ(d.m_stringTablePage->text(2), "Jardin");
    for (int i = 3; i < 12; ++i) EXPECT_EQ(d.m_stringTablePage->text(i), "") << i;
    EXPECT_TRUE(d.m_drawOverSupportsCheck->isChecked());
    EXPECT_EQ(m_ui.waitBegins, 1);
    EXPECT_EQ(m_ui.waitEnds, 1);
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_GT(presents(), 0);

    // Another object follows its own flag; the protection boxes stay as set.
    click(1022);
    load(writeObject("FLAT.DAT", standardSprites(), twelveStrings("Flat")));
    EXPECT_FALSE(d.m_drawOverSupportsCheck->isChecked());
    EXPECT_TRUE(d.m_protectedChecks[5]->isChecked());
    EXPECT_EQ(d.m_stringTablePage->text(11), "Flat");
}

TEST_F(FileCommands, FailedLoadsSayWhyAndLeaveTheOpenObject) {
    MainDialog& d = open();
    load(writeObject("GOOD.DAT", standardSprites(), twelveStrings("Good")));
    ASSERT_TRUE(d.m_object.isLoaded());
    const PathObject before = d.m_object.clone();

    auto cut = storedObjectFile(buildChunk(twelveStrings(), standardSprites()));
    cut.resize(60);  // a head promising more than the file holds
    const struct {
        QString path;
        QString message;
    } failures[] = {
        {writeObject("RIDE.DAT", standardSprites(), twelveStrings("Ride"), 0, 0, 0x06),
         "Error: Not a path file."},
        {QString::fromStdString(m_dir.write("CUT.DAT", cut)), "Error: CUT.DAT is damaged: "},
        {QString::fromStdString(m_dir.file("MISSING.DAT")),
         "Cannot open MISSING.DAT: No such file or directory."},
    };
    for (const auto& failure : failures) {
        m_ui.messages.clear();
        load(failure.path);
        ASSERT_EQ(m_ui.messages.size(), 1u) << failure.path.toStdString();
        EXPECT_TRUE(m_ui.messages[0].text.startsWith(failure.message)) << m_ui.messages[0].text.toStdString();
        EXPECT_TRUE(d.m_object == before);
        EXPECT_EQ(d.windowTitle(), "Visual Trellisor - GOOD.DAT");
        EXPECT_EQ(d.m_stringTablePage->text(0), "Good");
        EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);
    }

    // Cancelling the dialog changes nothing.
    click(1002);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - GOOD.DAT");
}

TEST_F(FileCommands, CommandsWithoutAnObjectDoNothing) {
    MainDialog& d = open();
    const int before = presents();
    for (int id : {1011, 1012, 1006, 1003, 1025}) click(id);
    EXPECT_EQ(presents(), before);
    EXPECT_TRUE(m_ui.namePrompts.empty());
    EXPECT_TRUE(m_ui.fileRequests.empty());
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor");
}

TEST_F(FileCommands, SaveWritesTheBoxesAndAsksBeforeOverwriting) {
    MainDialog& d = open();
    load(writeObject("SOURCE.DAT", standardSprites(), twelveStrings("Old")));
    d.m_stringTablePage->setText(0, QString::fromUtf8("Brücke €"));
    d.m_stringTablePage->setText(5, "");

    const std::string target = m_dir.file("SAVED.DAT");
    m_ui.chooseNext(QString::fromStdString(target));
    click(1003);
    ASSERT_EQ(m_ui.fileRequests.size(), 2u);
    EXPECT_TRUE(m_ui.fileRequests[1].save);
    EXPECT_EQ(m_ui.fileRequests[1].title, "Save Path DAT File");
    EXPECT_EQ(m_ui.fileRequests[1].filter, "*.DAT");
    EXPECT_TRUE(m_ui.messages.empty()) << "a new file needs no question";
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - SAVED.DAT");

    PathObject back;
    ASSERT_EQ(loadObjectFile(back, target).outcome, LoadOutcome::Loaded);
    auto texts = objectStrings(back);
    EXPECT_EQ(texts[0],
              "Br\xFC"
              "cke \x80");
    EXPECT_EQ(texts[5], " ") << "an empty box stores one space";
    EXPECT_EQ(texts[6], "Old");
    EXPECT_EQ(std::string(back.m_head.name.data(), 8), "SAVED   ");
    const auto saved = m_dir.read("SAVED.DAT");

    // Existing file, Cancel: nothing written, but the preview is refreshed.
    d.m_stringTablePage->setText(0, "Changed");
    m_ui.chooseNext(QString::fromStdString(target));
    m_ui.messageAnswers.push_back(MessageAnswer::Cancel);
    const int before = presents();
    click(1003);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, QString::fromStdString("File " + target + " exists.  Overwrite?"));
    EXPECT_EQ(m_ui.messages[0].caption, "Question");
    EXPECT_EQ(m_ui.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(m_dir.read("SAVED.DAT"), saved);
    EXPECT_GT(presents(), before);

    // Existing file, OK: overwritten.
    m_ui.chooseNext(QString::fromStdString(target));
    m_ui.messageAnswers.push_back(MessageAnswer::Ok);
    click(1003);
    PathObject again;
    ASSERT_EQ(loadObjectFile(again, target).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(objectStrings(again)[0], "Changed");
}

TEST_F(FileCommands, DrawOverSupportsFlagRoundTripsThroughSaveAndLoad) {
    MainDialog& d = open();
    load(writeObject("FLAGS.DAT", standardSprites(), twelveStrings(), 1, 0x05));
    EXPECT_FALSE(d.m_drawOverSupportsCheck->isChecked());
    const int before = presents();
    click(1027);
    EXPECT_EQ(d.m_object.m_pathFlags, 0x07);
    EXPECT_GT(presents(), before);
    m_ui.chooseNext(QString::fromStdString(m_dir.file("OUT.DAT")));
    click(1003);
    click(1027);
    EXPECT_EQ(d.m_object.m_pathFlags, 0x05);
    load(QString::fromStdString(m_dir.file("OUT.DAT")));
    EXPECT_TRUE(d.m_drawOverSupportsCheck->isChecked());
    EXPECT_EQ(d.m_object.m_pathFlags, 0x07) << "the other bits keep their loaded values";
    EXPECT_EQ(d.m_object.m_supportType, 1);
}

TEST_F(FileCommands, ExportWritesTheTypeAndTheDescriptorList) {
    m_dir.writeText("queue.txt", "1\nExisting\nold.pth\n");
    MainDialog& d = open();
    load(writeObject("Q.DAT", standardSprites(), {{0, "Stored"}, {1, "Other"}}));
    selectTab(2);
    d.m_stringTablePage->setText(0, "Edited but not saved");
    m_ui.nameAnswers.push_back(QString::fromUtf8("Blue Queue é"));
    m_ui.chooseNext("/somewhere/else/blue.pth");
    click(1006);

    ASSERT_EQ(m_ui.namePrompts.size(), 1u);
    EXPECT_EQ(m_ui.namePrompts[0].first, "Enter Path Name");
    EXPECT_EQ(m_ui.namePrompts[0].second, "Stored");
    const FileDialogRequest& request = m_ui.fileRequests.back();
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, "Export Path File");
    EXPECT_EQ(request.defaultExtension, "PTH");
    EXPECT_EQ(request.filter, "*.PTH");
    EXPECT_EQ(request.initialFolder, QString::fromStdString(m_dir.path()));

    EXPECT_EQ(m_dir.read("blue.pth"), buildTypeFile(d.m_object, PageQueue));
    const auto text = m_dir.read("queue.txt");
    EXPECT_EQ(std::string(text.begin(), text.end()), "2\nExisting\nold.pth\nBlue Queue \xE9\nblue.pth\n");
    ASSERT_EQ(d.m_typeCombo->count(), 2);
    EXPECT_EQ(d.m_typeCombo->itemText(1), QString::fromUtf8("Blue Queue é"));
    EXPECT_EQ(d.m_typeCombo->currentIndex(), 0);

    // The same file again: asked by its bare name; Cancel leaves list and file alone.
    m_ui.nameAnswers.push_back(QString("Again"));
    m_ui.chooseNext(QString::fromStdString(m_dir.file("blue.pth")));
    m_ui.messageAnswers.push_back(MessageAnswer::Cancel);
    click(1006);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "File blue.pth exists.  Overwrite?");
    EXPECT_EQ(m_ui.messages[0].caption, "Question");
    EXPECT_EQ(d.m_typeLists[PageQueue].size(), 2u);

    // A cancelled name prompt shows no file dialog.
    const std::size_t requests = m_ui.fileRequests.size();
    click(1006);
    EXPECT_EQ(m_ui.fileRequests.size(), requests);
}

TEST_F(FileCommands, ChoosingATypeReplacesThePageAndResetsItsBrightness) {
    // A type made from an object whose Path sprites differ from the edited one's.
    auto other = standardSprites();
    for (int i = 0; i <= 50; ++i)
        other[std::size_t(i)] = solidRowCodedSprite(6, 3, std::uint8_t(130 + i % 12), -3, -1);
    PathObject source = buildObject(other);
    m_dir.write("stone.pth", buildTypeFile(source, PagePath));
    PathObject supports = buildObject(standardSprites(146), twelveStrings(), 1, 0x02);
    m_dir.write("low.pth", buildTypeFile(supports, PageSupports));
    m_dir.writeText("path.txt", "3\nStone\nSTONE.PTH\nMissing\nnone.pth\nEmpty\n\n");
    m_dir.writeText("support.txt", "1\nLow\nlow.pth\n");
    MainDialog& d = open();

    // Before any object: nothing, not even a repaint.
    int before = presents();
    emit d.m_typeCombo->activated(0);
    EXPECT_EQ(presents(), before);

    load(writeObject("P.DAT", standardSprites()));
    click(1011);
    click(1011);
    EXPECT_EQ(text(1010), "2");
    const auto queueBefore = pixelsOf(d.m_object, 51);
    d.m_typeCombo->setCurrentIndex(0);
    emit d.m_typeCombo->activated(0);  // found without regard to case
    for (int i : {0, 25, 50})
        EXPECT_EQ(pixelsOf(d.m_object, unsigned(i)), pixelsOf(source, unsigned(i))) << i;
    EXPECT_EQ(pixelsOf(d.m_object, 51), queueBefore);
    EXPECT_EQ(d.m_brightness[0], 0);
    EXPECT_EQ(text(1010), "0");

    // A missing file or an empty name: the object stays, brightness is still reset.
    for (int index : {1, 2}) {
        click(1011);
        const auto data = pixelsOf(d.m_object, 3);
        before = presents();
        d.m_typeCombo->setCurrentIndex(index);
        emit d.m_typeCombo->activated(index);
        EXPECT_EQ(pixelsOf(d.m_object, 3), data);
        EXPECT_EQ(text(1010), "0");
        EXPECT_GT(presents(), before);
    }
    EXPECT_TRUE(m_ui.messages.empty());

    // A Supports type brings its flags and the checkbox with it.
    selectTab(4);
    emit d.m_typeCombo->activated(0);
    EXPECT_EQ(d.m_object.m_spriteCount, 146u);
    EXPECT_EQ(d.m_object.m_pathFlags, 0x02);
    EXPECT_TRUE(d.m_drawOverSupportsCheck->isChecked());

    // A damaged type file is refused with its reason.
    m_dir.write("stone.pth", std::vector<std::uint8_t>{1, 2, 3});
    selectTab(0);
    emit d.m_typeCombo->activated(0);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_TRUE(m_ui.messages[0].text.startsWith("Error: STONE.PTH is damaged: "));
}

TEST_F(FileCommands, NewBuildsFromOneTypePerList) {
    PathObject source = buildObject(standardSprites(146), twelveStrings(), 1, 0x02);
    const char* files[] = {"p.pth", "r.pth", "q.pth", "qr.pth", "s.pth"};
    const char* lists[] = {"path.txt", "prail.txt", "queue.txt", "qrail.txt", "support.txt"};
    for (int page = 0; page < 5; ++page) {
        m_dir.write(files[page], buildTypeFile(source, page));
        m_dir.writeText(lists[page], std::string("1\nOnly\n") + files[page] + "\n");
    }
    MainDialog& d = open();
    load(writeObject("OLD.DAT", standardSprites()));
    selectTab(3);
    click(1011);
    click(1022);
    click(1004);
    EXPECT_TRUE(d.m_object.isLoaded());
    EXPECT_EQ(d.m_object.m_spriteCount, 146u);
    for (unsigned i : {0u, 51u, 80u, 100u, 120u})
        EXPECT_EQ(pixelsOf(d.m_object, i), pixelsOf(source, i)) << i;
    for (int i = 0; i < 12; ++i) EXPECT_EQ(d.m_stringTablePage->text(i), "New Path");
    std::string stored;
    ASSERT_TRUE(d.m_object.getObjectString(0, stored));
    EXPECT_EQ(stored, " ");
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - New Path*") << "a new object is not saved yet";
    EXPECT_TRUE(d.m_drawOverSupportsCheck->isChecked());
    EXPECT_EQ(d.m_currentPage, 3) << "the page is restored";
    EXPECT_EQ(d.m_brightness[3], 1) << "New leaves the brightness alone";
    EXPECT_TRUE(d.m_protectedChecks[0]->isChecked());
    EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);

    // Saved at once, the object holds the twelve "New Path" texts.
    m_ui.chooseNext(QString::fromStdString(m_dir.file("NEW.DAT")));
    click(1003);
    PathObject back;
    ASSERT_EQ(loadObjectFile(back, m_dir.file("NEW.DAT")).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(objectStrings(back)[7], "New Path");
}

TEST_F(FileCommands, NewWithAnEmptyListSaysSoAndKeepsTheObject) {
    m_dir.writeText("path.txt", "1\nOnly\np.pth\n");
    MainDialog& d = open();
    load(writeObject("KEEP.DAT", standardSprites(), twelveStrings("Keep")));
    click(1004);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_TRUE(m_ui.messages[0].text.startsWith("Cannot make a new path: "))
        << m_ui.messages[0].text.toStdString();
    EXPECT_TRUE(d.m_object.isLoaded());
    EXPECT_EQ(d.m_object.m_spriteCount, 168u);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - KEEP.DAT");
    EXPECT_EQ(d.m_stringTablePage->text(0), "Keep");
}

}  // namespace
}  // namespace trellisor::test
