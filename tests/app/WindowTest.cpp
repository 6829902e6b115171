// The window around the commands: start-up, keys, the question on every way out, pages, shortcuts,
// recent files, drops, About and Help.
#include <QDropEvent>
#include <QGroupBox>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "EditorFixture.h"
#include "app/EditorApp.h"
#include "app/EditorSettings.h"
#include "imageio/SpriteFolder.h"

namespace trellisor::test {
namespace {

using Window = EditorFixture;

// Drags a file onto the window and drops it there if the window takes it; whether the drop
// was taken (the dragging program shows a refused drop as failed).
bool drop(QWidget& window, const QString& path) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
    QApplication::processEvents();
    return event.isAccepted();
}

TEST_F(Window, EveryWayOutAsksAboutChangesAndEachAnswerDoesWhatItSays) {
    const QString next = writeObject("NEXT.DAT", twelveStrings("Next")), mine = writeObject("MINE.DAT");
    const auto onDisk = m_dir.read("MINE.DAT");
    auto closed = [&] { return !m_dialog->isVisible(); };
    auto opened = [&] { return m_dialog->m_stringTablePage->text(0) == "Next"; };
    auto recent = [&] { addRecentFile(next), m_dialog->contextMenu()->actions().at(3)->trigger(); };
    const std::tuple<const char*, std::function<void()>, std::function<bool()>> ways[] = {
        {"Exit", [&] { click(1); }, closed},
        {"Esc", [&] { control(1002)->setFocus(), QTest::keyClick(m_dialog.get(), Qt::Key_Escape); }, closed},
        {"close box", [&] { m_dialog->close(); }, closed},
        {"Load", [&] { load(next); }, opened},
        {"New", [&] { click(1004); }, [&] { return m_ui.messages.back().text.startsWith("Cannot"); }},
        {"drop", [&] { EXPECT_TRUE(drop(*m_dialog, next)); }, opened},
        {"recent file", recent, opened},
    };
    for (const auto& [name, take, wentOn] : ways) {
        for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Discard, MessageAnswer::Save}) {
            SCOPED_TRACE(std::string(name) + " answered " + std::to_string(int(answer)));
            m_ui = ScriptedUiPort();  // nothing left from a cancelled way
            open();
            load(writeObject("MINE.DAT"));
            click(1027);
            m_ui.messageAnswers = {answer, MessageAnswer::Ok};  // then OK to overwrite
            if (answer == MessageAnswer::Save) m_ui.fileAnswers = {mine};
            take();
            EXPECT_EQ(std::pair(m_ui.messages.at(0).text, m_ui.messages.at(0).buttons),
                      std::pair(QString("Save changes to MINE.DAT?"), MessageButtons::SaveDiscardCancel));
            EXPECT_EQ(wentOn(), answer != MessageAnswer::Cancel);
            EXPECT_EQ(m_dir.read("MINE.DAT") != onDisk, answer == MessageAnswer::Save);
        }
    }
    // A save whose dialog is cancelled keeps the window open; unchanged, nothing is asked.
    m_ui.messages.clear();
    m_ui.messageAnswers = {MessageAnswer::Save};
    click(1027);
    click(1);
    EXPECT_TRUE(m_dialog->isVisible());
    m_dialog->m_document.history().undo();
    click(1);
    EXPECT_EQ(std::pair(m_dialog->isVisible(), m_ui.messages.size()), std::pair(false, std::size_t(1)));
}

TEST_F(Window, EachPageShowsItsControlsTextsAndPreview) {
    m_dir.writeText("queue.txt", "2\nFirst\nq1.pth\nSecond\nq2.pth\n");
    m_dir.writeText("path.txt", "1\nOnly\np.pth\n");
    MainDialog& d = open();
    for (int page : {1, 2, 3, 4, 0}) {
        SCOPED_TRACE(page);
        selectTab(PageStringTable);  // so that every page is a real change
        d.m_showAllCheck->setChecked(true);
        d.m_showExampleCheck->setChecked(false);
        selectTab(page);
        const PageInfo& info = kPages[std::size_t(page)];
        EXPECT_EQ(std::tuple(d.m_tabs->tabText(page), text(1006), text(1007), text(1008)),
                  std::tuple(QString(info.caption), QString(info.exportText), QString(info.exampleText),
                             QString(info.allText)));
        EXPECT_EQ(std::tuple(shown(1025), shown(1026), shown(1010), d.m_preview->isVisible()),
                  std::tuple(info.importsBitmaps, info.addsSparkles, true, true));
        const char* const firstTypes[] = {"Only", "", "First", "", ""};  // shown when a page is chosen
        EXPECT_EQ(std::pair(d.m_typeCombo->count(), d.m_typeCombo->currentText()),
                  std::pair(int(d.m_typeLists[std::size_t(page)].size()), QString(firstTypes[page])));
        EXPECT_EQ(d.m_previewMode, int(info.allMode));
        click(1007);
        EXPECT_EQ(std::pair(d.m_previewMode, d.m_showAllCheck->isChecked()),
                  std::pair(int(info.exampleMode), false));
        click(1008);
        EXPECT_EQ(std::pair(d.m_previewMode, d.m_showExampleCheck->isChecked()),
                  std::pair(int(info.allMode), false));
    }
    // The Path page as the templates lay it out, with no object open.
    EXPECT_TRUE(paints(d, "main-window-path-page"));
    selectTab(PageStringTable);
    for (int id : {1006, 1007, 1010, 1025, 1026, 1027, 9000}) EXPECT_FALSE(shown(id)) << id;
    EXPECT_TRUE(!d.m_preview->isVisible() && d.m_stringTablePage->isVisible());
    d.setFocus();  // no blinking text cursor in the picture
    EXPECT_TRUE(paints(*d.m_stringTablePage, "string-table-page"));
    EXPECT_EQ(d.m_stringTablePage->geometry(), d.m_pageFrame->geometry().adjusted(0, 5, 0, 0));
}

TEST_F(Window, KeysShortcutsRecentFilesDropsAboutAndThePositionAreKept) {
    MainDialog& d = open();
    EXPECT_EQ(d.windowFlags() & Qt::WindowType_Mask, Qt::Window) << "a window the task bar shows";
    EXPECT_FALSE(d.windowIcon().isNull());
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    const QString first = writeObject("FIRST.DAT"), second = inDir("SECOND.DAT");
    m_ui.fileAnswers = {first, second};
    m_ui.folderAnswers = {inDir("out")};
    selectTab(PageQueue);
    for (auto key : {Qt::Key_O, Qt::Key_S, Qt::Key_E, Qt::Key_I, Qt::Key_L, Qt::Key_N})
        QTest::keyClick(&d, key, Qt::ControlModifier);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - SECOND.DAT");
    EXPECT_TRUE(m_ui.messages.back().text.startsWith("Cannot make a new path")) << "New ran";
    // Export Sprites wrote the page as the core does and said so; Import and Link asked for their
    // folders, starting in the one used last.
    const QString out = inDir("out");
    EXPECT_EQ(m_ui.folderTitles, (std::vector<QString>{"Export Sprites to Folder",
                                                       "Import Sprites from Folder", "Link Sprite Folder"}));
    EXPECT_EQ(m_ui.folderStarts, (std::vector<QString>{"", out, out}));
    EXPECT_EQ(d.statusLine(), "Exported 20 Queue sprites to " + out + ".");
    TempDir own;
    ASSERT_TRUE(exportSpriteFolder(d.m_object, own.path(), 51, 70, false));
    for (const char* name : {"050.png", "051.png", "070.png", "071.png", "sprites.json"})  // 50, 71: none
        EXPECT_EQ(m_dir.read(std::string("out/") + name), own.read(name)) << name;
    // Return and Esc inside controls leave the window open.
    QWidget* edit = d.m_stringTablePage->m_languageEdits[3];
    for (QWidget* control : std::initializer_list<QWidget*>{edit, d.m_drawOverSupportsCheck, d.m_typeCombo}) {
        selectTab(control == edit ? PageStringTable : PagePath);
        control->setFocus();
        for (auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(control, key);
        EXPECT_TRUE(d.isVisible()) << control->metaObject()->className();
    }
    EXPECT_FALSE(d.m_object.drawsPathsOverSupports()) << "Return is not a click";
    QTest::keyClick(&d, Qt::Key_F1);
    d.OnSysCommand(0xF060);  // a system command not ours
    menuAction("&About trellisor...")->trigger();
    EXPECT_EQ(m_ui.modalTitles, (std::vector<QString>{"Visual Trellisor Help", "About trellisor"}));

    // Newest first below Undo, Redo and a separator; at most eight are kept.
    QStringList menu;
    for (QAction* action : d.contextMenu()->actions()) menu << action->text();
    EXPECT_EQ(menu.mid(0, 7),
              (QStringList{"Undo", "Redo", "", "&1 " + second, "&2 " + first, "", "Export Sprites\u2026"}));
    for (int i = 0; i < 10; ++i) addRecentFile(QStringLiteral("/f%1.DAT").arg(i));
    EXPECT_EQ(std::pair(recentFiles().size(), recentFiles().front()),
              std::pair(qsizetype(kMaxRecentFiles), QString("/f9.DAT")));
    QSettings().setValue("recentFiles", QStringList{"/a.DAT", "/a.DAT", "/b.DAT"});  // as by a hand edit
    EXPECT_EQ(recentFiles(), (QStringList{"/a.DAT", "/b.DAT"}));
    EXPECT_FALSE(drop(d, inDir("notes.txt"))) << "only object files";

    d.move(d.pos() + QPoint(37, 21));
    const QPoint left = d.pos();
    click(1);
    EXPECT_EQ(open().pos(), left) << "the window opens where it was left";
}

TEST_F(Window, TabGoesInReadingOrder) {
    MainDialog& d = open();
    // Tab goes from Load through every control that takes the focus: each right of the last, or below.
    QWidget* previous = control(1002);
    int visited = 0;
    for (QWidget* w = previous->nextInFocusChain(); w != control(1002); w = w->nextInFocusChain()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || w->parentWidget() != &d) continue;
        const QRect a = previous->geometry(), b = w->geometry();
        EXPECT_TRUE(b.top() > a.center().y() || (b.center().y() <= a.bottom() && b.left() > a.left()))
            << previous->property("controlId").toInt() << " then " << w->property("controlId").toInt();
        previous = w;
        ++visited;
    }
    EXPECT_GE(visited, 19);  // the eighteen Protected boxes are one stop
}

// The editor's start-up, run in process: the file named opened, the page chosen, the window saved
// as a PNG once it has painted, then closed.
TEST_F(Window, StartUpOpensTheFileOnThePageAndSavesTheWindow) {
    const std::string file = writeObject("START.DAT").toStdString(), shot = m_dir.file("shot.png");
    const auto folder = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.path());
    setCommandLine({"trellisor", "--page", "2", "--screenshot", shot, file});
    QSize size;
    bool leftOpen = false;
    // Once the file has been opened; a window still open after its picture is closed here.
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<MainDialog*>(QApplication::activeModalWidget());
            EXPECT_EQ(std::pair(d->windowTitle(), d->m_tabs->currentIndex()),
                      std::pair(QString("Visual Trellisor - START.DAT"), 2));
            size = d->size();
            auto* poll = new QTimer(d);
            QObject::connect(poll, &QTimer::timeout, [&, d] {
                // A loaded machine may run this timer in the same turn as the one that closed it.
                if (std::filesystem::exists(shot) && d->isVisible()) leftOpen = true, d->reject();
            });
            poll->start(20);
        });
    });
    EXPECT_EQ(static_cast<EditorApp*>(qApp)->run(), 0);
    setCommandLine({"test_app"});
    std::filesystem::current_path(folder);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(QImage(QString::fromStdString(shot)).size(), size);
    EXPECT_EQ(QCoreApplication::applicationName(), "trellisor") << "where the settings are kept";
}

}  // namespace
}  // namespace trellisor::test
