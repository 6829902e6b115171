// The Viewer: a second, ordinary window beside the editor. The Scene shows the preview frame at
// 1x-8x and says, under the mouse, which sprite drew each pixel; the Sprites side shows the page's
// sprites as a gallery and the selected one large. Holding B (or "Before") shows the object as it
// was last loaded or saved, "Differences" marks what changed since. It follows the document:
// every preview refresh, undo, Load and New. Size, position and the Scene's zoom are remembered.
#pragma once

#include <QWidget>
#include <functional>

#include "app/ViewerScene.h"

class QComboBox;
class QLabel;
class QToolButton;

namespace trellisor {

class EditorDocument;
class PixelView;
class PreviewPane;
class SpriteGallery;
class SpritePanel;

class ViewerWindow : public QWidget {
    Q_OBJECT
public:
    enum class Compare { After, Before, Differences };

    // settings gives the main window's preview as it stands; pane is where it presents frames.
    ViewerWindow(EditorDocument& document, PreviewPane& pane, std::function<PreviewSettings()> settings);
    ~ViewerWindow() override;

    // Draws everything again from the document and the preview (while shown).
    void refresh();
    Compare compare() const;

    PixelView* scene() const { return m_scene; }
    SpriteGallery* gallery() const { return m_gallery; }
    SpritePanel* spritePanel() const { return m_panel; }
    QComboBox* pageChooser() const { return m_pageChooser; }
    QLabel* statusLine() const { return m_status; }
    QToolButton* grassButton() const { return m_grass; }
    QToolButton* anchorsButton() const { return m_anchors; }
    QToolButton* beforeButton() const { return m_before; }
    QToolButton* differencesButton() const { return m_differences; }
    // The frame the Scene shows, with its owner record.
    const SceneShot& shownShot() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildToolBar();
    const PathObject& shownObject() const;
    void showTitle();
    void showSprites();
    void showScenePixel(std::optional<QPoint> pixel);
    void selectScenePixel(QPoint pixel);
    void releaseB();

    EditorDocument& m_document;
    PreviewPane& m_pane;
    std::function<PreviewSettings()> m_settings;
    SceneDrawer m_drawer;
    SceneShot m_after, m_beforeShot;
    int m_mainPage = -1;  // the main window's page last seen
    bool m_holdingB = false;

    PixelView* m_scene = nullptr;
    SpriteGallery* m_gallery = nullptr;
    SpritePanel* m_panel = nullptr;
    QComboBox* m_pageChooser = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QToolButton* m_grass = nullptr;
    QToolButton* m_anchors = nullptr;
    QToolButton* m_before = nullptr;
    QToolButton* m_differences = nullptr;
};

}  // namespace trellisor
