// The Viewer's selected sprite, large: zoom 1x-16x (fit until zoomed), transparent pixels as a
// checkerboard, a pixel grid from 6x, the anchor (the drawing origin) as a cross; beside it the
// sprite's index, page, size, offsets, format, byte count and sprite-folder file name.
#pragma once

#include <QWidget>
#include <optional>

#include "object/PathObject.h"
#include "preview/SpriteFacts.h"

class QLabel;

namespace trellisor {

class PixelView;

class SpritePanel : public QWidget {
    Q_OBJECT
public:
    explicit SpritePanel(QWidget* parent = nullptr);

    // Shows sprite of obj (which must outlive the panel's showing it); with before, the pixels
    // that differ from before's sprite are marked instead.
    void showSprite(const PathObject& obj, std::optional<unsigned> sprite,
                    const PathObject* before = nullptr);
    PixelView* view() const { return m_view; }
    QLabel* facts() const { return m_facts; }

signals:
    // What lies under the mouse, for the status line.
    void hovered(const QString& text);

private:
    PixelView* m_view;
    QLabel* m_facts;
    const PathObject* m_obj = nullptr;
    std::optional<unsigned> m_sprite;
    SpriteBox m_box;  // what the picture covers, around the anchor
};

}  // namespace trellisor
