// Composing a preview frame (icons rebuilt, grass, example path, present) on a
// headless display at each depth, plain and with the owner record, against a memcpy
// of one frame of that depth; and a bitmap import over the Path page, against a
// memcpy of the page's pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "../tests/support/ImageFileBuilders.h"
#include "../tests/support/SceneObject.h"
#include "preview/BitmapImport.h"
#include "preview/HeadlessPreview.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"

using namespace trellisor;

namespace {

// One frame (icons rebuilt, grass, example path, present) per iteration, with or without
// the owner record the Viewer and `pick` ask for.
void previewFrames(benchmark::State& state, FrameOwners* owners) {
    const int depth = int(state.range(0));
    HeadlessPreview preview(depth);
    if (!preview.isReady()) {
        state.SkipWithError("no screen at this depth");
        return;
    }
    auto grass = preview.display().createImage(kPreviewWidth, kPreviewHeight, kDisplayDepth, 0);
    if (depth == 8) grass->setPalette(preview.screen()->palette());  // as a grass.pcx of the game's colours
    const std::uint32_t light = grass->packColor(60, 140, 40), dark = grass->packColor(40, 110, 30);
    for (int y = 0; y < kPreviewHeight; ++y)
        for (int x = 0; x < kPreviewWidth; ++x) grass->putPixel(x, y, ((x * 7 + y * 13) % 5) ? light : dark);
    PathObject obj = test::buildObject(test::sceneSprites());
    for (auto _ : state) {
        composePreviewIcons(obj);
        drawPreviewFrame(obj, preview.display(), grass.get(), PreviewExamplePath, PagePath, owners);
        benchmark::DoNotOptimize(preview.port().lastPixels().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kPreviewWidth * kPreviewHeight * (depth / 8));
}

void BM_PreviewFrame(benchmark::State& state) { previewFrames(state, nullptr); }

void BM_PreviewFrameOwners(benchmark::State& state) {
    FrameOwners owners;
    previewFrames(state, &owners);
}

// Reference: copying one frame of the same depth.
void BM_MemcpyFrame(benchmark::State& state) {
    const std::size_t bytes = std::size_t(kPreviewWidth) * kPreviewHeight * std::size_t(state.range(0) / 8);
    std::vector<std::uint8_t> src(bytes, 0x5A), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

std::pair<std::uint32_t, std::uint32_t> pathPageBytes(const PathObject& obj) {
    return {obj.spriteSpan(0).first, obj.spriteSpan(50).second};
}

void BM_ImportBitmapPage(benchmark::State& state) {
    PathObject obj = test::buildObject(test::sceneSprites());
    auto bitmap = readBitmapBytes(test::bitmap24(64, 64, [](int x, int y) {
        return std::tuple<int, int, int>{x * 4, y * 4, (x * y) & 255};
    }));
    const ProtectedRamps none{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(importBitmapIntoPage(obj, PagePath, bitmap.value(), none).isOk());
        benchmark::ClobberMemory();
    }
    auto [start, end] = pathPageBytes(obj);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * (end - start));
}

// Reference: copying the Path page's pixel bytes.
void BM_MemcpyPathPage(benchmark::State& state) {
    PathObject obj = test::buildObject(test::sceneSprites());
    auto [start, end] = pathPageBytes(obj);
    std::vector<std::uint8_t> dst(end - start);
    for (auto _ : state) {
        std::memcpy(dst.data(), obj.m_data.get() + start, dst.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(dst.size()));
}

}  // namespace

// Each depth; with --benchmark_repetitions, "min" is the figure least disturbed by other work.
static void eachDepth(benchmark::internal::Benchmark* b) {
    b->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);
    b->ComputeStatistics("min",
                         [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}
BENCHMARK(BM_PreviewFrame)->Apply(eachDepth);
BENCHMARK(BM_PreviewFrameOwners)->Apply(eachDepth);
BENCHMARK(BM_MemcpyFrame)->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportBitmapPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyPathPage)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
