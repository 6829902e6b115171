// Converting between pictures and QImage.
#include "imageio/PictureImage.h"

#include <QList>

namespace trellisor {

QImage pictureToImage(const Picture& picture) {
    if (!picture.isConsistent() || picture.width < 1 || picture.height < 1) return QImage();
    const std::size_t w = std::size_t(picture.width);
    if (picture.indexed) {
        QImage image(picture.width, picture.height, QImage::Format_Indexed8);
        QList<QRgb> table(256);
        for (int i = 0; i < 256; ++i) {
            const Rgba c = gameColour(std::uint8_t(i));
            table[i] = qRgba(c.red, c.green, c.blue, i == 0 ? 0 : 255);
        }
        image.setColorTable(table);
        for (int y = 0; y < picture.height; ++y)
            std::copy_n(picture.indices.data() + std::size_t(y) * w, w, image.scanLine(y));
        return image;
    }
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::size_t x = 0; x < w; ++x) {
            const Rgba& c = picture.colours[std::size_t(y) * w + x];
            line[x] = qRgba(c.red, c.green, c.blue, c.alpha);
        }
    }
    return image;
}

Picture imageToPicture(const QImage& image) {
    Picture p;
    if (image.isNull()) return p;
    p.width = image.width();
    p.height = image.height();
    const std::size_t w = std::size_t(p.width);
    if (image.format() == QImage::Format_Indexed8) {
        std::vector<std::uint8_t> indices(p.pixelCount());
        for (int y = 0; y < p.height; ++y)
            std::copy_n(image.constScanLine(y), w, indices.data() + std::size_t(y) * w);
        std::vector<Rgba> table;
        for (QRgb c : image.colorTable())
            table.push_back({std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c)),
                             std::uint8_t(qAlpha(c))});
        if (usesGamePalette(table, indices)) {
            p.indexed = true;
            p.indices = std::move(indices);
            return p;
        }
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    p.indexed = false;
    p.colours.resize(p.pixelCount());
    for (int y = 0; y < p.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (std::size_t x = 0; x < w; ++x)
            p.colours[std::size_t(y) * w + x] = {std::uint8_t(qRed(line[x])), std::uint8_t(qGreen(line[x])),
                                                 std::uint8_t(qBlue(line[x])), std::uint8_t(qAlpha(line[x]))};
    }
    return p;
}

}  // namespace trellisor
