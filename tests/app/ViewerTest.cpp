// The Viewer's wiring: F4, following the document and undo, before and after, zoom keys and
// the remembered zoom, a click in the scene selecting its sprite, the gallery's zoom keys; and the
// main window's strip and Protected boxes by keyboard. What lies at a pixel is tested in preview/.
#include <QComboBox>
#include <QFrame>
#include <QHelpEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
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
    MainDialog& d = *m_dialog;
    EXPECT_TRUE(v.isVisible());
    pressF4();
    EXPECT_EQ(d.viewer(), &v) << "F4 again brings the same window forward";
    const QImage loaded = d.m_preview->frame();
    EXPECT_EQ(std::pair(v.windowTitle(), v.scene()->image()),
              std::pair(QString("Viewer - MINE.DAT"), loaded));
    click(1011);  // brighter
    EXPECT_EQ(std::pair(v.windowTitle(), v.scene()->image()),
              std::pair(QString("Viewer - MINE.DAT*"), d.m_preview->frame()));
    EXPECT_NE(v.scene()->image(), loaded);
    // B shows the state as loaded, on both sides; Differences marks what changed.
    QTest::keyPress(&v, Qt::Key_B);
    EXPECT_EQ(v.scene()->image(), loaded);
    EXPECT_TRUE(v.spritePanel()->facts()->text().startsWith("<b>Sprite 0</b>"));
    QTest::keyRelease(&v, Qt::Key_B);
    EXPECT_EQ(v.scene()->image(), d.m_preview->frame());
    EXPECT_EQ(v.differencesButton()->text(), "Differences");
    v.differencesButton()->click();
    EXPECT_EQ(v.scene()->image(), differenceImage(d.m_preview->frame(), loaded));
    v.differencesButton()->click();
    d.contextMenu()->actions().at(0)->trigger();  // Undo
    EXPECT_EQ(std::pair(v.windowTitle(), v.scene()->image()),
              std::pair(QString("Viewer - MINE.DAT"), loaded));
    // Without grass the background shows through; anchors are drawn on top.
    v.grassButton()->click();
    EXPECT_EQ(qAlpha(v.scene()->image().pixel(0, 0)), 0);
}

TEST_F(Viewer, ZoomKeysAreRememberedAndAClickSelectsItsSprite) {
    ViewerWindow& v = openViewer();
    MainDialog& d = *m_dialog;
    PixelView* scene = v.scene();
    scene->setFocus();
    QTest::keyClick(scene, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(scene->zoom(), 3);
    for (int i = 0; i < 3; ++i) QTest::keyClick(scene, Qt::Key_Minus, Qt::ControlModifier);
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
    EXPECT_EQ(
        v.statusLine()->text().toStdString(),
        describeScenePixel(d.m_object, scenePixel(v.shownShot().owners, railing.x(), railing.y(), colour)));
    QTest::mouseClick(scene->viewport(), Qt::LeftButton, {}, at(scene, railing));
    EXPECT_EQ(std::pair(v.gallery()->selectedSprite(), v.pageChooser()->currentIndex()),
              std::pair(std::optional(82u), int(PagePathRailings)));
    EXPECT_TRUE(v.spritePanel()->facts()->text().startsWith("<b>Sprite 82</b>"));
    hover(v.spritePanel()->view(), QPoint(3, 5));  // the railing's anchor lies in it: no shift
    EXPECT_EQ(v.statusLine()->text().toStdString(), describeSpritePixel(d.m_object, 82, 3, 5));
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
    view.horizontalScrollBar()->setValue(0);
    view.verticalScrollBar()->setValue(0);
    EXPECT_EQ(view.mapping().origin, QPoint(0, 0)) << "scrolled to the top-left corner";
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
    for (int i = 0; i < 3; ++i) QTest::keyClick(&gallery, Qt::Key_Right);  // the icons, then no further
    EXPECT_EQ(std::pair(gallery.selectedSprite(), bar->value()),
              std::pair(std::optional(72u), bar->maximum()));
    QTest::keyClick(&gallery, Qt::Key_Home);
    EXPECT_EQ(std::pair(gallery.selectedSprite(), bar->value()), std::pair(std::optional(0u), 0));
    // One column, two cells a page.
    for (auto [key, sprite] : {std::pair{Qt::Key_Down, 1u},
                               {Qt::Key_PageDown, 3u},
                               {Qt::Key_Up, 2u},
                               {Qt::Key_PageUp, 0u},
                               {Qt::Key_Left, 0u}}) {
        QTest::keyClick(&gallery, key);
        EXPECT_EQ(gallery.selectedSprite(), std::optional(sprite)) << key;
    }
    gallery.setCells(obj, galleryCells(obj, std::nullopt));  // every sprite: the icons are not last
    QTest::keyClick(&gallery, Qt::Key_End);
    EXPECT_EQ(gallery.selectedSprite(), std::optional(167u));
}

// What the sprite side paints: gallery cells (a wide sprite cut to its top-left part, a gap dashed,
// a sprite at 2x centred over the checkerboard, an icon named as one, the clicked cell highlighted);
// the large sprite fitted, then at 6x with its pixel grid and anchor cross, the pixels that differ
// from before marked in the box of both, and its facts.
TEST(ViewerPictures, TheGalleryCellsAndTheLargeSpriteMatchTheirReferences) {
    auto sprites = standardSprites();
    sprites[0] = solidRawSprite(270, 3, 45);
    sprites[2] = railing(4);
    PathObject obj = buildObject(sprites);
    composePreviewIcons(obj);
    SpriteGallery gallery;
    gallery.resize(560, 200);
    gallery.show();
    gallery.setCells(obj,
                     {{0, true, false}, {1, false, false}, {2, true, false}, {PathIconSprite, true, true}});
    EXPECT_FALSE(gallery.select(3));
    QTest::mouseClick(gallery.viewport(), Qt::LeftButton, {}, QPoint(50, 150));  // the second row
    EXPECT_EQ(gallery.selectedSprite(), std::optional(2u));
    EXPECT_TRUE(paints(gallery, "gallery"));

    SpritePanel panel;
    panel.resize(380, 120);
    panel.show();
    panel.showSprite(obj, 5);  // 8 x 4 pixels, anchored at its pixel 4, 2
    EXPECT_EQ(panel.view()->zoom(), 16) << "fitted";
    QSignalSpy said(&panel, &SpritePanel::hovered);
    QTest::mouseMove(panel.view()->viewport(), panel.view()->mapping().toDevice({5, 3}) + QPoint(2, 2));
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.last()[0].toString().toStdString(), describeSpritePixel(obj, 5, 5, 3));
    sprites[5] = solidRowCodedSprite(6, 3, 45, -1, -3);  // the same colour, moved
    const PathObject before = buildObject(sprites);
    panel.showSprite(obj, 5, &before);
    panel.view()->setZoom(6);
    EXPECT_TRUE(paints(panel, "sprite-panel-6x-differences"));
}

TEST_F(Viewer, TheStripAndTheProtectedBoxesWorkByKeyboard) {
    MainDialog& d = open();
    load(writeObject("MINE.DAT"));
    auto focus = [] { return QApplication::focusWidget(); };
    // Tab: the choice of view, the strip, one Protected box, then "Set".
    d.m_showAllCheck->setFocus();
    QTest::keyClick(focus(), Qt::Key_Tab);
    EXPECT_EQ(focus(), d.m_recolorStrip);
    const QRect strip = d.m_recolorStrip->geometry();
    const auto* mark = d.findChild<QFrame*>("keyboardFocusMark");
    // The mark around ramp 18, the strip's border column, then around block 10.
    for (auto [keys, ramp] :
         {std::pair{std::vector{Qt::Key_End}, 18}, {std::vector(10, Qt::Key_Right), 10}}) {
        QTest::keyClick(d.m_recolorStrip, Qt::Key_Home);
        for (Qt::Key key : keys) QTest::keyClick(d.m_recolorStrip, key);
        EXPECT_TRUE(paints(d, "focus-on-strip-ramp-" + std::to_string(ramp), strip.adjusted(-4, -4, 12, 4)));
    }
    EXPECT_EQ(QToolTip::text(), "Recolor to ramp 10: blues");
    EXPECT_EQ(d.m_protectedChecks[10]->toolTip(), "Protect ramp 10: blues");
    QTest::keyClick(d.m_recolorStrip, Qt::Key_Space);
    PathObject expected = d.m_document.savedObject().clone();
    recolourPage(expected, PagePath, 10, {});
    followIcons(d.m_document.savedObject(), expected);
    EXPECT_TRUE(d.m_object == expected);
    EXPECT_EQ(d.m_document.history().undoText(), "Recolor");
    QTest::keyClick(d.m_recolorStrip, Qt::Key_Tab);
    EXPECT_EQ(focus(), d.m_protectedChecks[0]);
    QTest::keyClick(focus(), Qt::Key_Right);
    QTest::keyClick(focus(), Qt::Key_Space);
    EXPECT_EQ(std::pair(focus(), d.m_protectedChecks[1]->isChecked()),
              std::pair(static_cast<QWidget*>(d.m_protectedChecks[1]), true));
    const QRect boxes = d.m_protectedChecks[0]->geometry().united(d.m_protectedChecks[2]->geometry());
    EXPECT_TRUE(paints(d, "focus-on-protected-box-1", boxes.adjusted(-4, -4, 4, 4)));
    QTest::keyClick(focus(), Qt::Key_Tab);
    EXPECT_EQ(focus(), control(1022)) << "one tab stop for the eighteen boxes";
    EXPECT_FALSE(mark->isVisible());
    QTest::keyClick(focus(), Qt::Key_Backtab);
    EXPECT_EQ(focus(), d.m_protectedChecks[1]) << "the box last used";
    // The strip's last column answers a click a few pixels past its edge, and says so.
    const PathObject before = d.m_object.clone();
    expected = before.clone();
    ProtectedRamps second{};
    second[1] = true;
    recolourPage(expected, PagePath, 18, second);
    followIcons(before, expected);
    clickAt(QPoint(strip.right() + 6, strip.center().y()));
    EXPECT_TRUE(d.m_object == expected);
    QHelpEvent help(QEvent::ToolTip, QPoint(strip.right() + 6, strip.center().y()), {});
    QApplication::sendEvent(&d, &help);
    EXPECT_EQ(QToolTip::text(), "Recolor to ramp 18 (the special colours)");
}

}  // namespace
}  // namespace trellisor::test
