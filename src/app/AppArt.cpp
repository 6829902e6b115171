// Resources drawn in code, so the repository carries no binary art of its own.
#include "app/AppArt.h"

#include <QPainter>
#include <QPolygonF>
#include <QTextStream>
#include <algorithm>
#include <array>

#include "preview/GamePalette.h"

namespace trellisor {

namespace {

QColor paletteColour(std::uint8_t index) {
    RgbQuad q = previewColour(index);
    return QColor(q.red, q.green, q.blue);
}

// An isometric tile in unit coordinates, drawn in this order: its thickness (left and right
// faces), the grass diamond on top, and a path band across it.
struct TileFace {
    std::array<QPointF, 4> corners;
    std::uint8_t fill;  // game palette index
    bool outlined;
};
constexpr std::uint8_t kTileOutline = 106;
const std::array<TileFace, 4> kTileFaces{{
    {{{{0.03, 0.45}, {0.5, 0.72}, {0.5, 0.86}, {0.03, 0.59}}}, 108, true},
    {{{{0.5, 0.72}, {0.97, 0.45}, {0.97, 0.59}, {0.5, 0.86}}}, 110, true},
    {{{{0.5, 0.18}, {0.97, 0.45}, {0.5, 0.72}, {0.03, 0.45}}}, 99, true},
    {{{{0.27, 0.315}, {0.38, 0.25}, {0.73, 0.585}, {0.62, 0.65}}}, 18, false},
}};

qreal tileOutlineWidth(qreal size) { return std::max(1.0, size / 32); }

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
    QPen outline(paletteColour(kTileOutline), tileOutlineWidth(s));
    for (const TileFace& face : kTileFaces) {
        QPolygonF polygon;
        for (const QPointF& corner : face.corners) polygon << corner * s;
        p.setPen(face.outlined ? outline : QPen(Qt::NoPen));
        p.setBrush(paletteColour(face.fill));
        p.drawPolygon(polygon);
    }
    return image;
}

QByteArray pathTileSvg(int size) {
    const qreal s = size;
    QByteArray svg;
    {
        QTextStream out(&svg);  // writes its buffer into svg when it goes out of scope
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size << "\" height=\"" << size
            << "\" viewBox=\"0 0 " << size << ' ' << size << "\">\n";
        for (const TileFace& face : kTileFaces) {
            out << "  <polygon points=\"";
            for (std::size_t i = 0; i < face.corners.size(); ++i)
                out << (i ? " " : "") << face.corners[i].x() * s << ',' << face.corners[i].y() * s;
            out << "\" fill=\"" << paletteColour(face.fill).name() << '"';
            if (face.outlined)  // bevel joins, as QPen draws them (SVG's default is miter)
                out << " stroke=\"" << paletteColour(kTileOutline).name() << "\" stroke-width=\""
                    << tileOutlineWidth(s) << "\" stroke-linejoin=\"bevel\"";
            out << "/>\n";
        }
        out << "</svg>\n";
    }
    return svg;
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
