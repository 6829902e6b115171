// The Viewer's gallery: a page's sprites in a grid of equal cells, each at 2x (small ones larger,
// so a cell is at least 24 x 24) over a checkerboard with its number under it; gaps are empty
// cells and the two icons close the page, marked as icons. Cells are drawn as they come into
// view, so a page of any length opens at once. Arrow keys, Page Up/Down, Home and End move the
// selection.
#pragma once

#include <QAbstractScrollArea>
#include <optional>
#include <vector>

#include "object/PathObject.h"
#include "preview/SpriteFacts.h"

namespace trellisor {

class SpriteGallery : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit SpriteGallery(QWidget* parent = nullptr);

    // obj must outlive the cells (until the next setCells). The selection stays on its sprite
    // when the new cells hold it, else goes to the first cell.
    void setCells(const PathObject& obj, std::vector<GalleryCell> cells);
    const std::vector<GalleryCell>& cells() const { return m_cells; }
    // Selects the cell of sprite; false when there is none.
    bool select(unsigned sprite);
    std::optional<unsigned> selectedSprite() const;

    // The zoom a sprite is shown at in its cell.
    static int cellZoom(const SpriteBox& box);

signals:
    void selectionChanged(unsigned sprite);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int columns() const;
    QRect cellRect(int i) const;  // in viewport coordinates
    void selectCell(int i);
    void updateLayout();

    const PathObject* m_obj = nullptr;
    std::vector<GalleryCell> m_cells;
    int m_selected = -1;
    QSize m_cell{24, 24};  // one cell: picture area and label
    int m_pictureHeight = 24;
};

}  // namespace trellisor
