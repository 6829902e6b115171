// SpriteGallery: layout by the viewport's width, cells painted as they show.
#include "app/SpriteGallery.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "app/PixelView.h"
#include "app/ViewerScene.h"

namespace trellisor {

namespace {

constexpr int kMinPictureSide = 24;
constexpr int kMaxPictureSide = 256;  // larger sprites show their top-left part
constexpr int kPadding = 6;

}  // namespace

SpriteGallery::SpriteGallery(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int SpriteGallery::cellZoom(const SpriteBox& box) {
    const int side = std::max({box.width, box.height, 1});
    if (side * 2 > kMaxPictureSide) return 1;
    return std::max(2, kMinPictureSide / side);
}

void SpriteGallery::setCells(const PathObject& obj, std::vector<GalleryCell> cells) {
    const auto kept = selectedSprite();
    m_obj = &obj;
    m_cells = std::move(cells);
    QSize picture(kMinPictureSide, kMinPictureSide);
    for (const GalleryCell& c : m_cells) {
        const SpriteBox box = spriteBox(obj, c.sprite);
        picture = picture.expandedTo(QSize(box.width, box.height) * cellZoom(box));
    }
    picture = picture.boundedTo(QSize(kMaxPictureSide, kMaxPictureSide));
    m_pictureHeight = picture.height();
    m_cell = QSize(picture.width() + 2 * kPadding, picture.height() + 2 * kPadding + fontMetrics().height());
    m_selected = -1;
    if (!(kept && select(*kept)) && !m_cells.empty()) selectCell(0);
    updateLayout();
}

std::optional<unsigned> SpriteGallery::selectedSprite() const {
    if (m_selected < 0) return std::nullopt;
    return m_cells[std::size_t(m_selected)].sprite;
}

bool SpriteGallery::select(unsigned sprite) {
    for (std::size_t i = 0; i < m_cells.size(); ++i)
        if (m_cells[i].sprite == sprite) {
            selectCell(int(i));
            return true;
        }
    return false;
}

void SpriteGallery::selectCell(int i) {
    if (m_cells.empty()) return;
    i = std::clamp(i, 0, int(m_cells.size()) - 1);
    const bool changed = i != m_selected;
    m_selected = i;
    const QRect cell = cellRect(i);  // scrolled into view
    QScrollBar* bar = verticalScrollBar();
    if (cell.top() < 0) bar->setValue(bar->value() + cell.top());
    if (cell.bottom() >= viewport()->height())
        bar->setValue(bar->value() + cell.bottom() - viewport()->height() + 1);
    viewport()->update();
    if (changed) emit selectionChanged(m_cells[std::size_t(i)].sprite);
}

int SpriteGallery::columns() const { return std::max(1, viewport()->width() / std::max(1, m_cell.width())); }

QRect SpriteGallery::cellRect(int i) const {
    const int c = columns();
    return QRect(QPoint((i % c) * m_cell.width(), (i / c) * m_cell.height() - verticalScrollBar()->value()),
                 m_cell);
}

void SpriteGallery::updateLayout() {
    const int rows = (int(m_cells.size()) + columns() - 1) / columns();
    verticalScrollBar()->setRange(0, std::max(0, rows * m_cell.height() - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(m_cell.height() / 2);
    viewport()->update();
}

void SpriteGallery::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateLayout();
}

void SpriteGallery::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().base());
    if (!m_obj) return;
    for (int i = 0; i < int(m_cells.size()); ++i) {
        const QRect cell = cellRect(i);
        if (!cell.intersects(event->rect())) continue;
        const GalleryCell& c = m_cells[std::size_t(i)];
        const QRect picture(cell.left() + kPadding, cell.top() + kPadding, m_cell.width() - 2 * kPadding,
                            m_pictureHeight);
        if (i == m_selected) painter.fillRect(cell.adjusted(1, 1, -1, -1), palette().highlight());
        const QString label = c.icon ? tr("%1 icon").arg(c.sprite) : QString::number(c.sprite);
        painter.setPen(i == m_selected ? palette().highlightedText().color() : palette().text().color());
        painter.drawText(QRect(cell.left(), picture.bottom() + 2, cell.width(), fontMetrics().height()),
                         Qt::AlignCenter, label);
        if (!c.present) {
            painter.setPen(QPen(palette().mid().color(), 1, Qt::DashLine));
            painter.drawRect(picture.adjusted(0, 0, -1, -1));
            continue;
        }
        painter.setBrushOrigin(picture.topLeft());
        painter.fillRect(picture, transparencyBrush());
        const SpriteBox box = spriteBox(*m_obj, c.sprite);
        const int zoom = cellZoom(box);
        const QSize size = QSize(box.width, box.height) * zoom;
        const QRect target(picture.left() + std::max(0, (picture.width() - size.width()) / 2),
                           picture.top() + std::max(0, (picture.height() - size.height()) / 2), size.width(),
                           size.height());
        painter.save();
        painter.setClipRect(picture);
        painter.drawImage(target, argbImage(spriteColours(*m_obj, c.sprite, box), box.width, box.height));
        painter.restore();
    }
}

void SpriteGallery::keyPressEvent(QKeyEvent* event) {
    const int c = columns(), page = std::max(1, viewport()->height() / m_cell.height()) * c;
    // Home and End go to the page's own first and last sprite, not to the icons after them.
    int lastOwn = int(m_cells.size()) - 1;
    while (lastOwn > 0 && m_cells[std::size_t(lastOwn)].icon) --lastOwn;
    switch (event->key()) {
        case Qt::Key_Left:
            return selectCell(m_selected - 1);
        case Qt::Key_Right:
            return selectCell(m_selected + 1);
        case Qt::Key_Up:
            return selectCell(m_selected - c);
        case Qt::Key_Down:
            return selectCell(m_selected + c);
        case Qt::Key_PageUp:
            return selectCell(m_selected - page);
        case Qt::Key_PageDown:
            return selectCell(m_selected + page);
        case Qt::Key_Home:
            return selectCell(0);
        case Qt::Key_End:
            return selectCell(lastOwn);
        default:
            return QAbstractScrollArea::keyPressEvent(event);
    }
}

void SpriteGallery::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    for (int i = 0; i < int(m_cells.size()); ++i)
        if (cellRect(i).contains(at)) return selectCell(i);
}

}  // namespace trellisor
