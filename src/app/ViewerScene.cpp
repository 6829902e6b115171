// ViewerScene: frames drawn with their owner record, and images of pixel arrays.
#include "app/ViewerScene.h"

#include <algorithm>

#include "app/QtWindowPort.h"
#include "preview/PixelFacts.h"
#include "preview/PreviewFrame.h"

namespace trellisor {

SceneShot SceneDrawer::draw(const PathObject& obj, const PreviewSettings& settings, bool withGrass) {
    SceneShot shot;
    drawPreviewFrame(obj, m_preview.display(), withGrass ? settings.grass : nullptr, settings.mode,
                     settings.page, &shot.owners);
    const HeadlessWindowPort& port = m_preview.port();
    shot.image = imageFromBitmapBuffer(port.lastPixels().data(), port.lastHeader().data(), port.lastWidth(),
                                       port.lastHeight());
    if (withGrass || shot.image.isNull()) return shot;
    shot.image = shot.image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shot.image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shot.image.scanLine(y));
        for (int x = 0; x < shot.image.width(); ++x)
            if (shot.owners.at(x, y).source == PixelSource::Background) line[x] = 0;
    }
    return shot;
}

QImage argbImage(std::span<const std::uint32_t> pixels, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        std::copy_n(pixels.data() + std::size_t(y) * std::size_t(width), width,
                    reinterpret_cast<QRgb*>(image.scanLine(y)));
    return image;
}

QImage differenceImage(const QImage& after, const QImage& before) {
    QImage marked = after.convertToFormat(QImage::Format_ARGB32);
    const QImage other = before.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < marked.height(); ++y) {
        const int w = marked.width();
        std::span<std::uint32_t> row(reinterpret_cast<std::uint32_t*>(marked.scanLine(y)), std::size_t(w));
        std::span<const std::uint32_t> was;
        if (y < other.height())
            was = {reinterpret_cast<const std::uint32_t*>(other.constScanLine(y)),
                   std::size_t(std::min(w, other.width()))};
        markDifferences(row, was);
    }
    return marked;
}

}  // namespace trellisor
