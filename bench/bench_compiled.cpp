// Compiled sprites against the row loops for 64 x 64 sprites of 8, 16 and 32
// bits, about half transparent, and the opaque form; memcpy of the same bytes
// is the reference measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "gfx/CompiledSprite.h"
#include "gfx/MemoryImage.h"

namespace {

using namespace trellisor;

constexpr int kSize = 64;

std::unique_ptr<Image> makeImage(int bits, int width, int height) {
    if (bits == 8) return std::make_unique<MemoryImage8>(width, height);
    if (bits == 16) return std::make_unique<MemoryImage555>(width, height);
    return std::make_unique<MemoryImage32>(width, height);
}

// Half the pixels transparent, in runs of varying length like a real sprite's outline.
std::unique_ptr<Image> makeSprite(int bits) {
    auto sprite = makeImage(bits, kSize, kSize);
    std::mt19937 rng(42);
    const std::uint32_t mask = bits == 8 ? 0xFF : bits == 16 ? 0x7FFF : 0xFFFFFF;
    bool visible = true;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (rng() % 5 == 0) visible = !visible;
            sprite->putPixel(x, y, visible ? ((rng() & mask) | 1) : 0);
        }
    return sprite;
}

// args: bits, transparent (0/1), compiled (0/1)
void BM_DrawSprite(benchmark::State& state) {
    const int bits = int(state.range(0));
    const bool transparent = state.range(1) != 0;
    const bool compiled = state.range(2) != 0;
    auto sprite = makeSprite(bits);
    auto dst = makeImage(bits, 256, 256);
    dst->clear(0);
    if (compiled && !sprite->buildCompiledSprite(transparent)) {
        state.SkipWithError("compiled sprites are not supported here");
        return;
    }
    for (auto _ : state) {
        const int drawn = transparent ? sprite->drawTransparent(dst.get(), 17, 33, false, 0)
                                      : sprite->draw(dst.get(), 17, 33, false, 0);
        benchmark::DoNotOptimize(drawn);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kSize) * kSize * sprite->bytesPerPixel());
}

// The same number of bytes moved row by row with memcpy, at the same pitches.
void BM_MemcpyRows(benchmark::State& state) {
    const int bytes = int(state.range(0)) / 8;
    const std::size_t row = std::size_t(kSize) * bytes;
    std::vector<std::uint8_t> src(row * kSize, 7), dst(std::size_t(256) * bytes * 256, 0);
    for (auto _ : state) {
        for (int y = 0; y < kSize; ++y)
            std::memcpy(dst.data() + std::size_t(33 + y) * 256 * bytes + 17 * bytes, src.data() + y * row,
                        row);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(row) * kSize);
}

void spriteArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"bits", "transparent", "compiled"});
    for (int bits : {8, 16, 32})
        for (int transparent : {1, 0})
            for (int compiled : {0, 1}) b->Args({bits, transparent, compiled});
}

BENCHMARK(BM_DrawSprite)->Apply(spriteArgs);
BENCHMARK(BM_MemcpyRows)->ArgName("bits")->Arg(8)->Arg(16)->Arg(32);

}  // namespace

BENCHMARK_MAIN();
