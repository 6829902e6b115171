// The Viewer's wiring: F4, following the document and undo, before and after, zoom keys and
// the remembered zoom, a click in the scene selecting its sprite, the gallery's zoom keys; and the
// main window's strip and Protected boxes by keyboard. What lies at a pixel is tested in preview/.
#include <QComboBox>
#include <QFrame>
#include <QHelpEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QToolTip>

#include "EditorFixture.h"
#include "app/PixelView.h"
#include "app/SpriteGallery.h"
#include "app/SpritePanel.h"
#include "app/ViewerWindow.h"
#include "preview/ColourOperations.h"
#include "preview/PixelFacts.h"
#include "preview/PreviewIcons.h"
#include "support/SceneObject.h"

namespace trellisor::test {
namespace {

class Viewer : public EditorFixture {
protected:
    ViewerWindow& openViewer() {
        open();
        load(QString::fromStdString(
            m_dir.write("MINE.DAT", storedObjectFile(buildChunk(twelveStrings(), sceneSprites())))));
        pressF4();
        return *m_dialog->viewer();
    }
    // F4 in the main window, which has to be the active one for its shortcuts.
    void pressF4() {
        m_dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
        QTest::keyClick(m_dialog.get(), Qt::Key_F4);
    }
    // Where a picture pixel of a view lies on its viewport.
    static QPoint at(PixelView* view, QPoint pixel) {
        const PixelMapping m = view->mapping();
        return m.toDevice(pixel) + QPoint(m.block / 2, m.block / 2);
    }
    static void hover(PixelView* view, QPoint pixel) {
        const QPointF point = at(view, pixel);
        QMouseEvent move(QEvent::MouseMove, point, view->viewport()->mapToGlobal(point), Qt::NoButton, {},
                         {});
        QApplication::sendEvent(view->viewport(), &move);
    }
};

TEST_F(Viewer, OpensWithF4AndFollowsEveryChangeUndoAndTheSavedState) {
    ViewerWindow& v = openViewer();
    EXPECT_TRUE(v.isVisible());
    pressF4();
    EXPECT_EQ(m_dialog->viewer(), &v) << "F4 again brings the same window forward";
    const QImage loaded = m_dialog->m_preview->frame();
    EXPECT_EQ(std::pair(v.windowTitle(), v.scene()->image()),
              std::pair(QString("Viewer - MINE.DAT"), loaded));
    click(1011);  // brighter
    EXPECT_EQ(std::pair(v.windowTitle(), v.scene()->image()),
              std::pair(QString("Viewer - MINE.DAT*"), m_dialog->m_preview->frame()));
    EXPECT_NE(v.scene()->image(), loaded);
    // B shows the state as loaded, on both sides; Differences marks what changed.
    QTest::keyPress(&v, Qt::Key_B);
    EXPECT_EQ(v.scene()->image(), loaded);
    EXPECT_TRUE(v.spritePanel()->facts()->text().startsWith("<b>Sprite 0</b>"));
    QTest::keyRelease(&v, Qt::Key_B);
    EXPECT_EQ(v.scene()->image(), m_dialog->m_preview->frame());
    v.differencesButton()->click();
    EXPECT_EQ(v.scene()->image(), differenceImage(m_dialog->m_preview->frame(), loaded));
    v.differencesButton()->click();
    m_dialog->contextMenu()->actions().at(0)->trigger();  // Undo
    EXPECT_EQ(std::pair(v.windowTitle(), v.scene()->image()),
              std::pair(QString("Viewer - MINE.DAT"), loaded));
    // Without grass the background shows through; anchors are drawn on top.
    v.grassButton()->click();
    EXPECT_EQ(qAlpha(v.scene()->image().pixel(0, 0)), 0);
}

TEST_F(Viewer, ZoomKeysAreRememberedAndAClickSelectsItsSprite) {
    ViewerWindow& v = openViewer();
    PixelView* scene = v.scene();
    scene->setFocus();
    QTest::keyClick(scene, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(scene->zoom(), 3);
    QTest::keyClick(scene, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(scene, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(scene, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(scene->zoom(), 1) << "never below 1x";
    QTest::keyClick(scene, Qt::Key_0, Qt::ControlModifier);  // the largest zoom that shows it all
    const QSize view = scene->viewport()->size();
    EXPECT_TRUE(scene->fits() && 360 * scene->zoom() <= view.width() && 260 * scene->zoom() <= view.height());
    EXPECT_TRUE(360 * (scene->zoom() + 1) > view.width() || 260 * (scene->zoom() + 1) > view.height());
    // The pixel under the mouse is said as the preview library says it; a click selects its sprite.
    QPoint railing;
    for (int i = 0; i < 360 * 260 && railing.isNull(); ++i) {
        const PixelOwner owner = v.shownShot().owners.at(i % 360, i / 360);
        if (owner.source == PixelSource::Sprite && owner.sprite == 82) railing = QPoint(i % 360, i / 360);
    }
    hover(scene, railing);
    const QRgb shown = scene->image().pixel(railing);
    const RgbQuad colour{std::uint8_t(qBlue(shown)), std::uint8_t(qGreen(shown)), std::uint8_t(qRed(shown)),
                         0};
    EXPECT_EQ(v.statusLine()->text().toStdString(),
              describeScenePixel(m_dialog->m_object,
                                 scenePixel(v.shownShot().owners, railing.x(), railing.y(), colour)));
    QTest::mouseClick(scene->viewport(), Qt::LeftButton, {}, at(scene, railing));
    EXPECT_EQ(std::pair(v.gallery()->selectedSprite(), v.pageChooser()->currentIndex()),
              std::pair(std::optional(82u), int(PagePathRailings)));
    // The keys go on from the gallery; its zoom keys zoom the large sprite.
    EXPECT_EQ(v.focusWidget(), v.gallery());
    const int fitted = v.spritePanel()->view()->zoom();
    QTest::keyClick(v.gallery(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(v.spritePanel()->view()->zoom(), fitted + 1);
    // Size, place and zoom come back with the next Viewer.
    const QRect geometry = v.geometry();
    scene->setZoom(5);
    m_dialog.reset();
    SpriteStore::resetForTesting();  // the store keeps the display of the editor that made it
    open();
    pressF4();
    EXPECT_EQ(std::pair(m_dialog->viewer()->scene()->zoom(), m_dialog->viewer()->size()),
              std::pair(5, geometry.size()));
}

TEST_F(Viewer, AnIconsFactsSayWhetherItIsKeptOrFollowsTheSprites) {
    ViewerWindow& v = openViewer();  // its icons are blank: drawn by hand
    ASSERT_TRUE(v.gallery()->select(PathIconSprite));
    EXPECT_TRUE(v.spritePanel()->facts()->text().contains("icon: hand-drawn, kept"));
    menuAction("Rebuild Icons")->trigger();
    EXPECT_TRUE(v.spritePanel()->facts()->text().contains("icon: generated from the sprites"));
}

TEST(PixelViewGeometry, AZoomKeepsThePixelUnderThePointAndScrollingStaysOnThePicture) {
    PixelView view(1, 8);
    view.resize(300, 200);
    view.show();
    view.setImage(QImage(100, 80, QImage::Format_RGB32));
    view.setZoom(4);
    auto under = [&view](QPoint point) {
        const PixelMapping m = view.mapping();
        return QPoint((point.x() - m.origin.x()) / m.block, (point.y() - m.origin.y()) / m.block);
    };
    EXPECT_EQ(view.mapping().block, 4);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 400 - view.viewport()->width());
    view.horizontalScrollBar()->setValue(60);
    const QPoint point(70, 50), pixel = under(point);
    view.setZoom(7, point);
    EXPECT_EQ(under(point), pixel);
    const PixelMapping m = view.mapping();
    EXPECT_EQ(m.visible.left(), -m.origin.x() / 7);
    const QPoint beyond = m.toDevice(m.visible.bottomRight() + QPoint(1, 1));  // the view is covered
    EXPECT_TRUE(beyond.x() >= view.viewport()->width() && beyond.y() >= view.viewport()->height());
    view.setZoom(1);
    EXPECT_EQ(std::pair(view.mapping().block, view.horizontalScrollBar()->maximum()), std::pair(1, 0));
}

TEST(SpriteGalleryKeys, TheSelectedCellIsScrolledIntoView) {
    const PathObject obj = buildObject(sceneSprites());
    SpriteGallery gallery;
    gallery.resize(260, 200);
    gallery.show();
    gallery.setCells(obj, galleryCells(obj, PagePath));
    QScrollBar* bar = gallery.verticalScrollBar();
    QTest::keyClick(&gallery, Qt::Key_End);
    QTest::keyClick(&gallery, Qt::Key_Right);
    QTest::keyClick(&gallery, Qt::Key_Right);
    EXPECT_EQ(std::pair(gallery.selectedSprite(), bar->value()),
              std::pair(std::optional(72u), bar->maximum()));
    QTest::keyClick(&gallery, Qt::Key_Home);
    EXPECT_EQ(std::pair(gallery.selectedSprite(), bar->value()), std::pair(std::optional(0u), 0));
}

TEST_F(Viewer, TheStripAndTheProtectedBoxesWorkByKeyboard) {
    open();
    load(writeObject("MINE.DAT"));
    // Tab: the choice of view, the strip, one Protected box, then "Set".
    m_dialog->m_showAllCheck->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), m_dialog->m_recolorStrip);
    for (int i = 0; i < 10; ++i) QTest::keyClick(m_dialog->m_recolorStrip, Qt::Key_Right);
    EXPECT_EQ(QToolTip::text(), "Recolor to ramp 10: blues");
    const QRect strip = m_dialog->m_recolorStrip->geometry();
    const auto* mark = m_dialog->findChild<QFrame*>("keyboardFocusMark");
    EXPECT_TRUE(mark->isVisible() &&
                mark->geometry().contains(strip.left() + 1 + 15 * 10 + 7, strip.center().y()));
    QTest::keyClick(m_dialog->m_recolorStrip, Qt::Key_Space);
    PathObject expected = m_dialog->m_document.savedObject().clone();
    recolourPage(expected, PagePath, 10, {});
    followIcons(m_dialog->m_document.savedObject(), expected);
    EXPECT_TRUE(m_dialog->m_object == expected);
    EXPECT_EQ(m_dialog->m_document.history().undoText(), "Recolor");
    QTest::keyClick(m_dialog->m_recolorStrip, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), m_dialog->m_protectedChecks[0]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(std::pair(QApplication::focusWidget(), m_dialog->m_protectedChecks[1]->isChecked()),
              std::pair(static_cast<QWidget*>(m_dialog->m_protectedChecks[1]), true));
    EXPECT_TRUE(mark->isVisible() && mark->geometry().contains(m_dialog->m_protectedChecks[1]->geometry()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control(1022)) << "one tab stop for the eighteen boxes";
    EXPECT_FALSE(mark->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), m_dialog->m_protectedChecks[1]) << "the box last used";
    // The strip's last column answers a click a few pixels past its edge, and says so.
    const PathObject before = m_dialog->m_object.clone();
    expected = before.clone();
    ProtectedRamps second{};
    second[1] = true;
    recolourPage(expected, PagePath, 18, second);
    followIcons(before, expected);
    clickAt(QPoint(strip.right() + 6, strip.center().y()));
    EXPECT_TRUE(m_dialog->m_object == expected);
    QHelpEvent help(QEvent::ToolTip, QPoint(strip.right() + 6, strip.center().y()), {});
    QApplication::sendEvent(m_dialog.get(), &help);
    EXPECT_EQ(QToolTip::text(), "Recolor to ramp 18 (the special colours)");
}

}  // namespace
}  // namespace trellisor::test
