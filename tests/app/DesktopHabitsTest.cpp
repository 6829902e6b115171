// The desktop habits of the main window: a normal window, shortcuts, the recent
// files, the remembered position, the Tab order, the strip's border and tooltips.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolTip>
#include <QUrl>

#include "EditorFixture.h"
#include "app/AppArt.h"
#include "app/EditorSettings.h"

namespace trellisor::test {
namespace {

using DesktopHabits = EditorFixture;

TEST_F(DesktopHabits, ShortcutsRecentFilesAndThePositionAreKept) {
    MainDialog& d = open();
    EXPECT_EQ(d.windowFlags() & Qt::WindowType_Mask, Qt::Window) << "a window the task bar shows";
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    const QString first = writeObject("FIRST.DAT", standardSprites());
    m_ui.chooseNext(first);
    QTest::keyClick(&d, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - FIRST.DAT");
    const QString second = QString::fromStdString(m_dir.file("SECOND.DAT"));
    m_ui.chooseNext(second);
    QTest::keyClick(&d, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor - SECOND.DAT");
    QTest::keyClick(&d, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(m_ui.messages.back().text.startsWith("Cannot make a new path")) << "New ran";

    // The files opened and saved, newest first, in the context menu; at most eight.
    QStringList menu;
    for (QAction* action : d.contextMenu()->actions()) menu << action->text();
    EXPECT_EQ(menu.mid(3, 2), QStringList({"&1 " + second, "&2 " + first}));
    for (int i = 0; i < 10; ++i) addRecentFile(QStringLiteral("/f%1.DAT").arg(i));
    EXPECT_EQ(recentFiles().size(), kMaxRecentFiles);
    EXPECT_EQ(recentFiles().front(), "/f9.DAT");

    // Dragging anything but one object file is refused.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(QString::fromStdString(m_dir.file("notes.txt")))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&d, &enter);
    EXPECT_FALSE(enter.isAccepted());

    // The window opens where it was left.
    d.move(d.pos() + QPoint(37, 21));
    const QPoint left = d.pos();
    click(1);
    EXPECT_EQ(open().pos(), left);
}

TEST_F(DesktopHabits, TabFollowsReadingOrderAndTheStripShowsAndNamesEveryRamp) {
    MainDialog& d = open();
    d.m_tabs->setCurrentIndex(PagePath);
    // From "Load" through every control that takes the focus and back: each one
    // lies right of the last on its row, or on a later row.
    QWidget* start = control(1002);
    QWidget* previous = start;
    int visited = 0;
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() ||
            w->parentWidget() != &d)
            continue;
        const QRect a = previous->geometry(), b = w->geometry();
        const bool sameRow = b.center().y() >= a.top() && b.center().y() <= a.bottom();
        EXPECT_TRUE(b.top() > a.center().y() || (sameRow && b.left() > a.left()))
            << previous->property("controlId").toInt() << " then " << w->property("controlId").toInt();
        previous = w;
        ++visited;
    }
    EXPECT_GE(visited, 35) << "buttons, tabs, lists, boxes and edits";

    // The strip: its picture inside a visible border, each block naming its ramp.
    const QImage strip = d.m_recolorStrip->grab().toImage();
    ASSERT_EQ(strip.size(), QSize(272, 19));
    const QImage art = recolourStripImage();
    EXPECT_EQ(strip.pixel(1 + 269, 9), art.pixel(269, 8));
    for (int x : {0, 271}) EXPECT_EQ(strip.pixel(x, 9), d.palette().color(QPalette::WindowText).rgb()) << x;
    const QPoint origin = d.m_recolorStrip->geometry().topLeft();
    for (auto [x, tip] : {std::pair{1 + 15 * 4 + 3, "Recolor to ramp 4"},
                          std::pair{271, "Recolor to ramp 18 (the special colours)"}}) {
        QHelpEvent help(QEvent::ToolTip, origin + QPoint(x, 9), d.mapToGlobal(origin + QPoint(x, 9)));
        QApplication::sendEvent(&d, &help);
        EXPECT_EQ(QToolTip::text(), tip);
    }
}

}  // namespace
}  // namespace trellisor::test
