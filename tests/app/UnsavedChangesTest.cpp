// Unsaved work is never lost: keys inside controls keep the window open, every way
// out asks about changes first, and a save that cannot be done says so and keeps
// the earlier file.
#include <QComboBox>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "EditorFixture.h"
#include "app/EditorSettings.h"
#include "object/ObjectFile.h"
#include "support/FileSizeLimit.h"

namespace trellisor::test {
namespace {

using UnsavedChanges = EditorFixture;

TEST_F(UnsavedChanges, ReturnAndEscInsideControlsLeaveTheWindowOpen) {
    MainDialog& d = open();
    load(writeObject("KEYS.DAT", standardSprites()));
    QWidget* controls[] = {d.m_stringTablePage->m_languageEdits[3],
                           d.m_brightnessEdit,
                           d.m_drawOverSupportsCheck,
                           d.m_protectedChecks[4],
                           d.m_typeCombo,
                           d.m_showAllCheck};
    for (QWidget* control : controls) {
        selectTab(control == controls[0] ? PageStringTable : PagePath);
        control->setFocus();
        ASSERT_EQ(d.focusWidget(), control);
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible()) << control->metaObject()->className();
    }
    EXPECT_FALSE(d.m_object.drawsPathsOverSupports()) << "Return is not a click";
    EXPECT_TRUE(m_ui.messages.empty());

    // Esc on the window itself closes it (nothing to ask about).
    controlAs<QWidget>(&d, 1002)->setFocus();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
}

TEST_F(UnsavedChanges, EveryWayOutAsksAndEachAnswerDoesWhatItSays) {
    m_dir.writeText("path.txt", "1\nOnly\np.pth\n");  // New then fails for want of the other lists
    const QString next = writeObject("NEXT.DAT", standardSprites(), twelveStrings("Next"));
    auto drop = [this, next] {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(next)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog(), &event);
        QApplication::processEvents();
    };
    // Each way out, and how to tell that it went on.
    const struct {
        const char* name;
        std::function<void()> take;
        std::function<bool()> wentOn;
    } ways[] = {
        {"Exit", [this] { click(1); }, [this] { return !dialog().isVisible(); }},
        {"Esc",
         [this] {
             control(1002)->setFocus();
             QTest::keyClick(&dialog(), Qt::Key_Escape);
         },
         [this] { return !dialog().isVisible(); }},
        {"close box", [this] { dialog().close(); }, [this] { return !dialog().isVisible(); }},
        {"Load",
         [this, next] {
             m_ui.chooseNext(next);
             click(1002);
         },
         [this] { return dialog().m_stringTablePage->text(0) == "Next"; }},
        {"New", [this] { click(1004); },
         [this] {
             return !m_ui.messages.empty() && m_ui.messages.back().text.startsWith("Cannot make a new path");
         }},
        {"drop", drop, [this] { return dialog().m_stringTablePage->text(0) == "Next"; }},
        {"recent file",
         [this, next] {
             addRecentFile(next);
             dialog().contextMenu()->actions().at(3)->trigger();
         },
         [this] { return dialog().m_stringTablePage->text(0) == "Next"; }},
    };
    const QString question = "Save changes to MINE.DAT?";
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Discard, MessageAnswer::Save}) {
            m_ui.fileAnswers.clear();  // what a cancelled way left
            MainDialog& d = open();
            const QString mine = writeObject("MINE.DAT", standardSprites(), twelveStrings("Mine"));
            load(mine);
            const auto onDisk = m_dir.read("MINE.DAT");
            click(1027);
            ASSERT_EQ(d.windowTitle(), "Visual Trellisor - MINE.DAT*");
            m_ui.messages.clear();
            m_ui.messageAnswers = {answer, MessageAnswer::Ok};  // then OK to overwrite
            if (answer == MessageAnswer::Save) m_ui.chooseNext(mine);
            way.take();

            ASSERT_FALSE(m_ui.messages.empty());
            EXPECT_EQ(m_ui.messages[0].text, question);
            EXPECT_EQ(m_ui.messages[0].buttons, MessageButtons::SaveDiscardCancel);
            EXPECT_EQ(way.wentOn(), answer != MessageAnswer::Cancel);
            EXPECT_EQ(m_dir.read("MINE.DAT") != onDisk, answer == MessageAnswer::Save);
            if (answer == MessageAnswer::Cancel) {
                EXPECT_TRUE(d.m_object.drawsPathsOverSupports());
            }
        }
    }

    // A save that does not happen (its dialog cancelled) keeps the window open.
    MainDialog& d = open();
    load(writeObject("MINE.DAT", standardSprites()));
    click(1027);
    m_ui.messageAnswers = {MessageAnswer::Save};
    click(1);
    EXPECT_TRUE(d.isVisible());
}

TEST_F(UnsavedChanges, ASaveThatCannotBeDoneSaysWhyAndKeepsTheEarlierFile) {
    MainDialog& d = open();
    const QString path = writeObject("MINE.DAT", standardSprites(), {{0, "Mine"}, {1, "Mine"}});
    load(path);
    const auto earlier = m_dir.read("MINE.DAT");

    // Text Windows-1252 cannot hold: named with its language, and nothing is asked or written.
    d.m_stringTablePage->setText(8, QString::fromUtf8("길"));
    click(1003);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text,
              QString::fromUtf8("The Korean text holds characters that a path object "
                                "cannot store: 길. Change the text, then save again."));
    EXPECT_TRUE(m_ui.fileRequests.size() == 1u) << "no save dialog";
    d.m_stringTablePage->setText(8, "Korean");

    // A disk that takes no more: the system's reason; file, title and mark as they were.
    {
        FileSizeLimit full(64);
        m_ui.chooseNext(path);
        click(1003);
        ASSERT_EQ(m_ui.fileRequests.size(), 2u);
        EXPECT_EQ(m_ui.fileRequests[1].initialName, "MINE.DAT") << "the file's own name is proposed";
        EXPECT_EQ(m_ui.fileRequests[1].initialFolder, QString::fromStdString(m_dir.path()));
        EXPECT_EQ(m_ui.messages.back().text, "Cannot save MINE.DAT: File too large.");

        // Nor is a type file written, and the list gets no entry for it.
        m_ui.nameAnswers.push_back("Mine");
        m_ui.chooseNext("mine.pth");
        click(1006);
        EXPECT_EQ(m_ui.messages.back().text, "Cannot save mine.pth: File too large.");
    }
    EXPECT_EQ(m_dir.read("MINE.DAT"), earlier);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - MINE.DAT*");
    EXPECT_TRUE(d.m_typeLists[PagePath].empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}), 1)
        << "no file left behind";

    // Once it can be written, the text of a language the object lacked is kept too.
    m_ui.chooseNext(path);
    click(1003);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - MINE.DAT");
    PathObject back;
    ASSERT_EQ(loadObjectFile(back, path.toStdString()).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(objectStrings(back)[8], "Korean");
}

}  // namespace
}  // namespace trellisor::test
