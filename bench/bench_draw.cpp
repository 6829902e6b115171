// draw and drawTransparent of a 64 x 64 sprite and a full 360 x 260 frame in
// each depth, next to memcpy of the same bytes and QPainter::drawImage of the
// same pixels, measured in the same run.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Image.h"

namespace {

using trellisor::Image;

struct Size {
    int width, height;
    const char* name;
};
constexpr Size kSizes[] = {{64, 64, "64x64"}, {360, 260, "360x260"}};
constexpr int kDepths[] = {8, 16, 24, 32};

// A sprite-like picture: a filled diamond on transparent (0) corners, non-zero inside.
bool insideDiamond(int x, int y, int w, int h) {
    const double dx = std::abs(x - w / 2.0) / (w / 2.0), dy = std::abs(y - h / 2.0) / (h / 2.0);
    return dx + dy <= 1.0;
}

std::uint32_t pixelValue(int bits, int x, int y) {
    const std::uint32_t v = std::uint32_t(x * 31 + y * 17 + 1);
    switch (bits) {
        case 8:
            return 1 + v % 254;
        case 16:
            return 1 + v % 0x7FFE;
        default:
            return 1 + (v * 2654435761u) % 0xFFFFFE;
    }
}

std::unique_ptr<Image> makeSource(int bits, const Size& s, bool transparentCorners) {
    auto image = trellisor::createMemoryImage(s.width, s.height, bits);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            image->putPixel(
                x, y,
                transparentCorners && !insideDiamond(x, y, s.width, s.height) ? 0 : pixelValue(bits, x, y));
    return image;
}

void setBytes(benchmark::State& state, const Size& s, int bytesPerPixel) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * s.width * s.height * bytesPerPixel);
}

void ours(benchmark::State& state, int bits, Size s, bool transparent) {
    auto src = makeSource(bits, s, transparent);
    auto dst = trellisor::createMemoryImage(360, 260, bits);
    dst->clear(0);
    for (auto _ : state) {
        int drew = transparent ? src->drawTransparent(dst.get(), 0, 0, false, 0)
                               : src->draw(dst.get(), 0, 0, false, 0);
        benchmark::DoNotOptimize(drew);
        benchmark::ClobberMemory();
    }
    setBytes(state, s, (bits + 7) / 8);
}

void reference(benchmark::State& state, int bits, Size s) {
    const std::size_t bytes = std::size_t(s.width) * s.height * ((bits + 7) / 8);
    std::vector<std::uint8_t> from(bytes, 0x5A), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    setBytes(state, s, (bits + 7) / 8);
}

// The Qt format holding the same pixels: Grayscale8 stands in for indexed pixels
// (QPainter cannot paint into Indexed8), then RGB555, RGB888, RGB32.
QImage::Format qtFormat(int bits) {
    switch (bits) {
        case 8:
            return QImage::Format_Grayscale8;
        case 16:
            return QImage::Format_RGB555;
        case 24:
            return QImage::Format_RGB888;
        default:
            return QImage::Format_RGB32;
    }
}

void qpainter(benchmark::State& state, int bits, Size s, QImage::Format sourceFormat, bool transparent) {
    QImage src(s.width, s.height, sourceFormat);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const bool clear = transparent && !insideDiamond(x, y, s.width, s.height);
            const std::uint32_t v = pixelValue(32, x, y);
            src.setPixel(x, y, clear ? 0u : (0xFF000000u | v));
        }
    QImage dst(360, 260, transparent ? QImage::Format_RGB32 : qtFormat(bits));
    dst.fill(0);
    QPainter painter(&dst);
    if (!transparent) painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (auto _ : state) {
        painter.drawImage(0, 0, src);
        benchmark::ClobberMemory();
    }
    setBytes(state, s, (bits + 7) / 8);
}

void registerAll() {
    for (const Size& s : kSizes) {
        for (int bits : kDepths) {
            const std::string tag = std::to_string(bits) + "bit/" + s.name;
            benchmark::RegisterBenchmark(("draw/" + tag).c_str(), ours, bits, s, false);
            benchmark::RegisterBenchmark(("memcpy/" + tag).c_str(), reference, bits, s);
            benchmark::RegisterBenchmark(("qpainter_opaque/" + tag).c_str(), qpainter, bits, s,
                                         qtFormat(bits), false);
            benchmark::RegisterBenchmark(("drawTransparent/" + tag).c_str(), ours, bits, s, true);
            benchmark::RegisterBenchmark(("qpainter_argb32/" + tag).c_str(), qpainter, bits, s,
                                         QImage::Format_ARGB32, true);
            benchmark::RegisterBenchmark(("qpainter_argb32pm/" + tag).c_str(), qpainter, bits, s,
                                         QImage::Format_ARGB32_Premultiplied, true);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
