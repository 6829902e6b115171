// A picture shown at an integer zoom, nearest neighbour and never smoothed: each picture pixel
// is a block of whole device pixels (zoom x the device pixel ratio, rounded), so it stays crisp
// at any ratio. Scroll bars and the middle button pan; Ctrl+wheel, Ctrl+= / Ctrl+- and Ctrl+0
// (fit) zoom about the mouse. A redraw copies only the visible part of the picture.
#pragma once

#include <QAbstractScrollArea>
#include <QBrush>
#include <QImage>
#include <QPoint>
#include <functional>
#include <optional>

namespace trellisor {

// The checkerboard transparent pixels show: squares of 8 pixels.
const QBrush& transparencyBrush();

// Where the picture lies on the viewport, in device pixels.
struct PixelMapping {
    QPoint origin;  // picture pixel 0, 0
    int block = 1;  // device pixels per picture pixel
    QRect visible;  // the picture pixels in view
    QPoint toDevice(QPoint picturePixel) const { return origin + picturePixel * block; }
};

// A cross through the middle of a picture pixel, as anchors are marked.
void drawAnchor(QPainter& painter, const PixelMapping& mapping, QPoint picturePixel);

class PixelView : public QAbstractScrollArea {
    Q_OBJECT
public:
    PixelView(int minZoom, int maxZoom, QWidget* parent = nullptr);

    // Keeps the zoom (or fit) and the scroll position. Pixels with alpha show a checkerboard.
    void setImage(QImage image);
    const QImage& image() const { return m_image; }

    int zoom() const { return m_zoom; }
    bool fits() const { return m_fit; }
    // About a viewport point (logical pixels), by default the viewport's centre.
    void setZoom(int zoom, std::optional<QPoint> about = std::nullopt);
    // The largest zoom that shows the whole picture; kept as the picture changes, until a zoom.
    void zoomToFit();

    PixelMapping mapping() const;
    // Drawn after the picture, in device pixels.
    std::function<void(QPainter&, const PixelMapping&)> overlay;

signals:
    // The picture pixel under the mouse; nothing once it leaves the picture.
    void hovered(std::optional<QPoint> picturePixel);
    void clicked(QPoint picturePixel);
    void zoomChanged(int zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    double ratio() const;
    int block(int zoom) const;
    QSize viewportDevice() const;
    void updateScrollBars();
    std::optional<QPoint> pictureAt(QPointF viewportPoint) const;
    int fitZoom() const;

    int m_minZoom, m_maxZoom;
    int m_zoom;
    bool m_fit = false;
    QImage m_image;
    std::optional<QPoint> m_panFrom;
};

}  // namespace trellisor
