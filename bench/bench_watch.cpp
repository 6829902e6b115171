// One settled change in a linked folder of 168 sprites (realistic 64 x 40 sprites): a
// picture saved again in the pixel editor, the event for it, the check of every file's
// stamp, and the update that takes the picture in. Reference: reading that one picture
// (the part of the update that any import must pay), measured in the same run.
#include <benchmark/benchmark.h>

#include <QFile>

#include "../tests/support/TempDir.h"
#include "RealisticObject.h"
#include "imageio/PictureFiles.h"
#include "imageio/PictureImage.h"
#include "imageio/SpriteFolderLink.h"

using namespace trellisor;

namespace {

// A folder linked to the object, with two versions of 055.png to save in turn.
struct LinkedFolderBench {
    test::TempDir root;
    std::string dir = root.file("sprites");
    PathObject obj;
    SpriteFolderLink link{dir};
    std::array<QByteArray, 2> versions;

    LinkedFolderBench() {
        readObjectBytes(obj, test::storedObjectFile(test::realisticChunk()));
        (void)link.start(obj);
        QFile original(QString::fromStdString(dir + "/055.png"));
        original.open(QIODevice::ReadOnly);
        versions[0] = original.readAll();
        QImage changed = readPictureFile(dir + "/055.png", kMaxPictureSide).value();
        changed.setPixel(0, 0, 99);
        versions[1] = pngBytes(changed).value();
    }
    void save(std::size_t version) {
        const QByteArray& bytes = versions[version % 2];
        (void)writeWholeFile(dir + "/055.png", {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                std::size_t(bytes.size())});
    }
};

void BM_UpdateOfOneChangedPicture(benchmark::State& state) {
    LinkedFolderBench bench;
    std::size_t round = 0;
    WatchTime now{0};
    for (auto _ : state) {
        state.PauseTiming();
        bench.save(++round);
        state.ResumeTiming();
        bench.link.watch().touched("055.png", now);
        now += WatchTime{1000};
        auto update = bench.link.watch().poll(now, [&](const std::vector<std::string>& changed) {
            auto count = bench.link.update(bench.obj, changed);
            return count ? Status::ok() : Status::fail(count.error());
        });
        if (!update || update->changed.size() != 1) state.SkipWithError("no update of 055.png");
    }
}
BENCHMARK(BM_UpdateOfOneChangedPicture)->Unit(benchmark::kMillisecond);

// Reference: reading the same picture, as the update does.
void BM_ReadOnePicture(benchmark::State& state) {
    LinkedFolderBench bench;
    for (auto _ : state) {
        auto image = readPictureFile(bench.dir + "/055.png", kMaxPictureSide);
        benchmark::DoNotOptimize(imageToPicture(image.value()).width);
    }
}
BENCHMARK(BM_ReadOnePicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
