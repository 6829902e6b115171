// The pictures the Viewer shows, made from the preview library's results: a preview frame with
// its owner record (with or without grass), sprites as images, and difference pictures.
#pragma once

#include <QImage>
#include <cstdint>
#include <span>

#include "object/PathObject.h"
#include "preview/FrameOwners.h"
#include "preview/HeadlessPreview.h"

namespace trellisor {

// What the main window's preview shows: its mode, its page and its grass (may be null).
struct PreviewSettings {
    int mode = 0;
    int page = 0;
    Image* grass = nullptr;
};

struct SceneShot {
    QImage image;  // 360 x 260; without grass, background pixels are transparent
    FrameOwners owners;
};

// Draws frames on a 32-bit screen of its own, as the main window's preview draws them.
class SceneDrawer {
public:
    SceneShot draw(const PathObject& obj, const PreviewSettings& settings, bool withGrass);

private:
    HeadlessPreview m_preview{32};
};

// 0xAARRGGBB pixels, row by row, as an image.
QImage argbImage(std::span<const std::uint32_t> pixels, int width, int height);
// after with the pixels that differ from before marked (preview's markDifferences).
QImage differenceImage(const QImage& after, const QImage& before);

}  // namespace trellisor
