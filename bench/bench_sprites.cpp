// Importing all 168 sprites of an object from pictures against exporting them to pictures,
// in memory (the codec) and through a folder of PNG files with sprites.json. Import runs
// with every picture unchanged (compared, bytes kept) and with every picture changed by
// one pixel (matched, encoded and put in), indexed and RGBA, without and with diffusion.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "../tests/support/SceneObject.h"
#include "imageio/SpriteFolder.h"
#include "sprites/SpriteImport.h"

using namespace trellisor;

namespace {

constexpr bool kIndexed = false, kRgba = true;

PathObject sceneObject() { return test::buildObject(test::sceneSprites()); }

std::vector<SpriteReplacement> exported(const PathObject& obj, bool rgba, bool changed) {
    std::vector<SpriteReplacement> all;
    for (unsigned i = 0; i < obj.m_sprites.size(); ++i) {
        SpriteReplacement r{i, spritePicture(obj, i, rgba), obj.m_sprites[i].flags, {}};
        if (changed) {
            if (rgba) {
                r.picture.colours[0] = gameColour(99);
            } else {
                r.picture.indices[0] = 99;
            }
        }
        all.push_back(std::move(r));
    }
    return all;
}

// Reference: every sprite to a picture.
void BM_ExportPictures(benchmark::State& state) {
    const PathObject obj = sceneObject();
    for (auto _ : state) {
        for (unsigned i = 0; i < obj.m_sprites.size(); ++i)
            benchmark::DoNotOptimize(spritePicture(obj, i, state.range(0) != 0).width);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(obj.m_sprites.size()));
}

// range(0): RGBA; range(1): pictures changed; range(2): the dithering.
void BM_ImportPictures(benchmark::State& state) {
    const PathObject source = sceneObject();
    const auto pictures = exported(source, state.range(0) != 0, state.range(1) != 0);
    const Matching matching{Dither(state.range(2)), Matching::allRamps()};
    for (auto _ : state) {
        state.PauseTiming();
        PathObject obj = sceneObject();
        state.ResumeTiming();
        auto count = importSprites(obj, pictures, matching);
        benchmark::DoNotOptimize(count.isOk());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(pictures.size()));
}

std::string benchFolder() {
    const auto dir = std::filesystem::temp_directory_path() / "trellisor-bench-sprites";
    std::filesystem::create_directories(dir);
    return dir.string();
}

// Reference: the folder written by export (PNG files and sprites.json).
void BM_ExportFolder(benchmark::State& state) {
    const PathObject obj = sceneObject();
    const std::string dir = benchFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(exportSpriteFolder(obj, dir, 0, 167, state.range(0) != 0).isOk());
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 168);
}

// The same folder read back, untouched.
void BM_ImportFolder(benchmark::State& state) {
    const PathObject source = sceneObject();
    const std::string dir = benchFolder();
    if (!exportSpriteFolder(source, dir, 0, 167, state.range(0) != 0)) state.SkipWithError("cannot write");
    for (auto _ : state) {
        state.PauseTiming();
        PathObject obj = sceneObject();
        state.ResumeTiming();
        benchmark::DoNotOptimize(importSpriteFolder(obj, dir, 0, 167, Matching{}).isOk());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 168);
}

}  // namespace

BENCHMARK(BM_ExportPictures)->Arg(kIndexed)->Arg(kRgba)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportPictures)
    ->Args({kIndexed, 0, 0})
    ->Args({kRgba, 0, 0})
    ->Args({kIndexed, 1, 0})
    ->Args({kRgba, 1, int(Dither::None)})
    ->Args({kRgba, 1, int(Dither::Diffusion)})
    ->Args({kRgba, 1, int(Dither::Ordered)})
    ->ArgNames({"rgba", "changed", "dither"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportFolder)->Arg(kIndexed)->Arg(kRgba)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFolder)->Arg(kIndexed)->Arg(kRgba)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
