// Resources drawn in code, so the repository carries no binary art of its own.
#include "app/AppArt.h"

#include <QPainter>
#include <QPolygonF>

#include "preview/GamePalette.h"

namespace trellisor {

namespace {

QColor paletteColour(std::uint8_t index) {
    RgbQuad q = previewColour(index);
    return QColor(q.red, q.green, q.blue);
}

}  // namespace

QImage recolourStripImage() {
    QImage image(kStripWidth, kStripHeight, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i) table.append(paletteColour(std::uint8_t(i)).rgb());
    image.setColorTable(table);
    for (int y = 0; y < kStripHeight; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < kStripWidth; ++x) row[x] = kStripBlockColours[std::size_t(x / kStripBlockWidth)];
    }
    return image;
}

QImage pathTileImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // An isometric tile: grass diamond, a path band across it, and its thickness.
    QPolygonF top{{s * 0.5, s * 0.18}, {s * 0.97, s * 0.45}, {s * 0.5, s * 0.72}, {s * 0.03, s * 0.45}};
    QPolygonF left{{s * 0.03, s * 0.45}, {s * 0.5, s * 0.72}, {s * 0.5, s * 0.86}, {s * 0.03, s * 0.59}};
    QPolygonF right{{s * 0.5, s * 0.72}, {s * 0.97, s * 0.45}, {s * 0.97, s * 0.59}, {s * 0.5, s * 0.86}};
    QPolygonF path{{s * 0.27, s * 0.315}, {s * 0.38, s * 0.25}, {s * 0.73, s * 0.585}, {s * 0.62, s * 0.65}};
    p.setPen(QPen(paletteColour(106), std::max(1.0, s / 32)));
    p.setBrush(paletteColour(108));
    p.drawPolygon(left);
    p.setBrush(paletteColour(110));
    p.drawPolygon(right);
    p.setBrush(paletteColour(99));
    p.drawPolygon(top);
    p.setPen(Qt::NoPen);
    p.setBrush(paletteColour(18));
    p.drawPolygon(path);
    return image;
}

QPixmap resourceBitmap(int id) {
    if (id == kStripBitmapResource) return QPixmap::fromImage(recolourStripImage());
    return QPixmap();
}

QPixmap resourceIconPixmap(int id) {
    if (id == kAboutIconResource || id == kAppIconResource) return QPixmap::fromImage(pathTileImage(32));
    return QPixmap();
}

QIcon resourceIcon(int id) {
    if (id != kAboutIconResource && id != kAppIconResource) return QIcon();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(pathTileImage(size)));
    return icon;
}

}  // namespace trellisor
