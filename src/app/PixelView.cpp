// PixelView: device-pixel arithmetic, so a picture pixel always covers whole device pixels.
#include "app/PixelView.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace trellisor {

const QBrush& transparencyBrush() {
    static const QBrush brush = [] {
        QImage tile(16, 16, QImage::Format_RGB32);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) tile.setPixel(x, y, (x / 8 + y / 8) % 2 ? 0xFFC8C8C8u : 0xFFE8E8E8u);
        return QBrush(tile);
    }();
    return brush;
}

void drawAnchor(QPainter& painter, const PixelMapping& mapping, QPoint picturePixel) {
    const QPoint centre = mapping.toDevice(picturePixel) + QPoint(mapping.block / 2, mapping.block / 2);
    const int arm = std::max(4, 2 * mapping.block);
    for (const auto& [pen, width] : {std::pair(Qt::white, 3), std::pair(Qt::red, 1)}) {
        painter.setPen(QPen(QColor(pen), width));
        painter.drawLine(centre - QPoint(arm, 0), centre + QPoint(arm, 0));
        painter.drawLine(centre - QPoint(0, arm), centre + QPoint(0, arm));
    }
}

PixelView::PixelView(int minZoom, int maxZoom, QWidget* parent)
    : QAbstractScrollArea(parent), m_minZoom(minZoom), m_maxZoom(maxZoom), m_zoom(minZoom) {
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

double PixelView::ratio() const { return viewport()->devicePixelRatioF(); }

int PixelView::block(int zoom) const { return std::max(1, int(std::lround(zoom * ratio()))); }

QSize PixelView::viewportDevice() const {
    return QSize(int(std::lround(viewport()->width() * ratio())),
                 int(std::lround(viewport()->height() * ratio())));
}

PixelMapping PixelView::mapping() const {
    PixelMapping m;
    m.block = block(m_zoom);
    const QSize view = viewportDevice(), content = m_image.size() * m.block;
    m.origin.setX(content.width() < view.width() ? (view.width() - content.width()) / 2
                                                 : -horizontalScrollBar()->value());
    m.origin.setY(content.height() < view.height() ? (view.height() - content.height()) / 2
                                                   : -verticalScrollBar()->value());
    const int x0 = std::max(0, -m.origin.x() / m.block), y0 = std::max(0, -m.origin.y() / m.block);
    const int x1 = std::min(m_image.width(), (view.width() - m.origin.x() + m.block - 1) / m.block);
    const int y1 = std::min(m_image.height(), (view.height() - m.origin.y() + m.block - 1) / m.block);
    m.visible = QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
    return m;
}

void PixelView::setImage(QImage image) {
    m_image = std::move(image);
    if (m_fit) m_zoom = fitZoom();
    updateScrollBars();
    viewport()->update();
}

int PixelView::fitZoom() const {
    const QSize view = viewportDevice();
    int zoom = m_minZoom;
    while (zoom < m_maxZoom && m_image.width() * block(zoom + 1) <= view.width() &&
           m_image.height() * block(zoom + 1) <= view.height())
        ++zoom;
    return zoom;
}

void PixelView::setZoom(int zoom, std::optional<QPoint> about) {
    zoom = std::clamp(zoom, m_minZoom, m_maxZoom);
    const QPointF at = QPointF(about.value_or(viewport()->rect().center())) * ratio();
    const PixelMapping before = mapping();
    const QPointF picture = (at - QPointF(before.origin)) / before.block;  // stays under the point
    m_fit = false;
    const bool changed = zoom != m_zoom;
    m_zoom = zoom;
    updateScrollBars();
    horizontalScrollBar()->setValue(int(std::lround(picture.x() * block(zoom) - at.x())));
    verticalScrollBar()->setValue(int(std::lround(picture.y() * block(zoom) - at.y())));
    viewport()->update();
    if (changed) emit zoomChanged(m_zoom);
}

void PixelView::zoomToFit() {
    m_fit = true;
    const int before = m_zoom;
    m_zoom = fitZoom();
    updateScrollBars();
    viewport()->update();
    if (m_zoom != before) emit zoomChanged(m_zoom);
}

void PixelView::updateScrollBars() {
    const QSize view = viewportDevice(), content = m_image.size() * block(m_zoom);
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setSingleStep(block(m_zoom) * 4);
    verticalScrollBar()->setSingleStep(block(m_zoom) * 4);
}

void PixelView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setWorldTransform(QTransform::fromScale(1 / ratio(), 1 / ratio()));  // device pixels
    painter.fillRect(QRect(QPoint(0, 0), viewportDevice()), palette().dark());
    if (m_image.isNull()) return;
    const PixelMapping m = mapping();
    if (m.visible.isEmpty()) return;
    const QRect target(m.toDevice(m.visible.topLeft()), m.visible.size() * m.block);
    if (m_image.hasAlphaChannel()) {
        painter.setBrushOrigin(m.origin);
        painter.fillRect(target, transparencyBrush());
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, m_image, m.visible);
    if (overlay) overlay(painter, m);
}

void PixelView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (m_fit) {
        const int before = m_zoom;
        m_zoom = fitZoom();
        if (m_zoom != before) emit zoomChanged(m_zoom);
    }
    updateScrollBars();
}

void PixelView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return QAbstractScrollArea::wheelEvent(event);
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) setZoom(m_zoom + steps, event->position().toPoint());
    event->accept();
}

void PixelView::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        // About the mouse when it stands over the picture, else about the middle.
        std::optional<QPoint> about = viewport()->mapFromGlobal(QCursor::pos());
        if (!viewport()->rect().contains(*about)) about.reset();
        switch (event->key()) {
            case Qt::Key_Equal:
            case Qt::Key_Plus:
                return setZoom(m_zoom + 1, about);
            case Qt::Key_Minus:
                return setZoom(m_zoom - 1, about);
            case Qt::Key_0:
                return zoomToFit();
            default:
                break;
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

std::optional<QPoint> PixelView::pictureAt(QPointF viewportPoint) const {
    const PixelMapping m = mapping();
    const QPointF device = viewportPoint * ratio() - QPointF(m.origin);
    const QPoint pixel(int(std::floor(device.x() / m.block)), int(std::floor(device.y() / m.block)));
    if (!m_image.rect().contains(pixel)) return std::nullopt;
    return pixel;
}

void PixelView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        m_panFrom = event->position().toPoint();
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
}

void PixelView::mouseMoveEvent(QMouseEvent* event) {
    if (m_panFrom) {
        const QPoint delta = (event->position().toPoint() - *m_panFrom) * ratio();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
        m_panFrom = event->position().toPoint();
    }
    emit hovered(pictureAt(event->position()));
}

void PixelView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        m_panFrom.reset();
        viewport()->unsetCursor();
    } else if (event->button() == Qt::LeftButton) {
        if (const auto pixel = pictureAt(event->position())) emit clicked(*pixel);
    }
}

bool PixelView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) emit hovered(std::nullopt);
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace trellisor
