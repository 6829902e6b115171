// Converting between pictures and QImage.
#include "imageio/PictureImage.h"

#include <QList>

#include "sprites/SpriteSheet.h"

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

Result<QImage> scaledImage(const QImage& image, int n) {
    const std::int64_t w = std::int64_t(image.width()) * n, h = std::int64_t(image.height()) * n;
    if (n < 1 || w > kMaxSheetSide || h > kMaxSheetSide)
        return Result<QImage>::fail("a picture of " + std::to_string(image.width()) + " x " +
                                    std::to_string(image.height()) + " at scale " + std::to_string(n) +
                                    " would pass " + std::to_string(kMaxSheetSide) + " pixels on a side");
    const QImage source =
        image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QImage scaled(int(w), int(h), source.format());
    for (int y = 0; y < scaled.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y / n));
        auto* to = reinterpret_cast<QRgb*>(scaled.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x) to[x] = from[x / n];
    }
    return Result<QImage>::ok(std::move(scaled));
}

}  // namespace trellisor
