// The Viewer's two costly pictures, offscreen: the Scene redrawn at 8x over a maximised window
// (1600 x 1000), against QPainter::drawImage of the same visible part scaled nearest neighbour;
// and the gallery of a full Supports page opened (cells laid out and painted), against drawing
// the same sprites at 2x with QPainter::drawImage from images made beforehand.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

#include "../tests/support/SceneObject.h"
#include "app/PixelView.h"
#include "app/SpriteGallery.h"
#include "app/ViewerScene.h"
#include "preview/PreviewIcons.h"

using namespace trellisor;

namespace {

const QSize kWindow(1600, 1000);

QImage sceneFrame() {
    static const QImage frame = [] {
        PathObject obj = test::buildObject(test::sceneSprites());
        composePreviewIcons(obj);
        SceneDrawer drawer;
        return drawer.draw(obj, PreviewSettings{PreviewExamplePath, PagePath, nullptr}, true).image;
    }();
    return frame;
}

void BM_SceneRedraw8x(benchmark::State& state) {
    PixelView view(1, 8);
    view.resize(kWindow);
    view.show();
    QApplication::processEvents();
    view.setImage(sceneFrame());
    view.setZoom(8);
    QImage target(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.viewport()->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["visible pixels"] =
        double(view.mapping().visible.width() * view.mapping().visible.height());
}

// Reference: the visible part of the frame drawn at 8x, nearest neighbour.
void BM_DrawImageNearest8x(benchmark::State& state) {
    const QImage frame = sceneFrame();
    QImage target(kWindow, QImage::Format_ARGB32_Premultiplied);
    const QRect source(0, 0, (kWindow.width() + 7) / 8, (kWindow.height() + 7) / 8);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(QPoint(0, 0), source.size() * 8), frame, source);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

const PathObject& sceneObject() {
    static const PathObject obj = test::buildObject(test::sceneSprites());
    return obj;
}

void BM_GalleryOpen(benchmark::State& state) {
    const PathObject& obj = sceneObject();
    SpriteGallery gallery;
    gallery.resize(500, 2400);  // tall enough to paint every cell
    gallery.show();
    QApplication::processEvents();
    QImage target(gallery.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        gallery.setCells(obj, galleryCells(obj, PageSupports));
        gallery.viewport()->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["cells"] = double(galleryCells(obj, PageSupports).size());
}

// Reference: the page's sprites, as images made beforehand, drawn at 2x.
void BM_DrawPageSprites2x(benchmark::State& state) {
    const PathObject& obj = sceneObject();
    std::vector<QImage> images;
    for (const GalleryCell& cell : galleryCells(obj, PageSupports)) {
        const SpriteBox box = spriteBox(obj, cell.sprite);
        images.push_back(argbImage(spriteColours(obj, cell.sprite, box), box.width, box.height));
    }
    QImage target(500, 2400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        int y = 0;
        for (const QImage& image : images) {
            painter.drawImage(QRect(QPoint(0, y % 2400), image.size() * 2), image);
            y += 40;
        }
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

}  // namespace

BENCHMARK(BM_SceneRedraw8x)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawImageNearest8x)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GalleryOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPageSprites2x)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
