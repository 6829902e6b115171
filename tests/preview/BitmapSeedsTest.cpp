// The bitmap fuzzer's seed inputs, built with the test builders. The test checks
// that each seed reads (or is refused) as intended; with
// TRELLISOR_WRITE_CORPUS=<fuzz/corpus folder> it also writes them there, which is
// how the committed corpus was made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "preview/BitmapBuilder.h"
#include "preview/BitmapImport.h"

namespace trellisor {
namespace {

struct Seed {
    std::string name;
    std::vector<std::uint8_t> bytes;
    bool readable;
};

std::vector<Seed> makeSeeds() {
    using test::bitmapBytes;
    using test::BitmapContent;
    std::vector<Seed> seeds;
    seeds.push_back({"rgb24-64x64.bmp",
                     test::bitmap24(64, 64,
                                    [](int x, int y) {
                                        return std::tuple<int, int, int>{x * 4, y * 4, 90};
                                    }),
                     true});
    seeds.push_back({"rgb24-5x3.bmp",
                     test::bitmap24(5, 3,
                                    [](int x, int y) {
                                        return std::tuple<int, int, int>{x * 50, y * 80, 200};
                                    }),
                     true});
    BitmapContent pal8{16, 16, 8, 0, std::vector<std::uint8_t>(1024), std::vector<std::uint8_t>(256)};
    for (int i = 0; i < 256; ++i) {
        pal8.colourTable[4 * i] = std::uint8_t(i);
        pal8.colourTable[4 * i + 1] = std::uint8_t(255 - i);
        pal8.colourTable[4 * i + 2] = std::uint8_t(i * 3);
        pal8.pixels[i] = std::uint8_t(i);
    }
    seeds.push_back({"pal8-16x16.bmp", bitmapBytes(pal8), true});
    seeds.push_back(
        {"pal8-top-down-4-colours.bmp",
         bitmapBytes({6, -4, 8, 4, std::vector<std::uint8_t>(16, 200), std::vector<std::uint8_t>(32, 3)}),
         true});
    seeds.push_back(
        {"pal4-8x8.bmp",
         bitmapBytes({8, 8, 4, 16, std::vector<std::uint8_t>(64, 9), std::vector<std::uint8_t>(32, 0x12)}),
         true});
    seeds.push_back({"rgb24-absurd-size.bmp",
                     bitmapBytes({0x7FFFFFFF, 0x7FFFFFFF, 24, 0, {}, std::vector<std::uint8_t>(16, 1)}),
                     true});
    seeds.push_back(
        {"pal8-table-too-large.bmp",
         bitmapBytes({4, 4, 8, 300, std::vector<std::uint8_t>(1200, 1), std::vector<std::uint8_t>(16, 1)}),
         false});
    auto cut = test::bitmap24(4, 4, [](int, int) { return std::tuple<int, int, int>{1, 2, 3}; });
    cut.resize(40);
    seeds.push_back({"cut-in-header.bmp", cut, false});
    return seeds;
}

TEST(BitmapSeeds, ReadAsIntended) {
    const char* writeTo = std::getenv("TRELLISOR_WRITE_CORPUS");
    for (const Seed& s : makeSeeds()) {
        EXPECT_EQ(readBitmapBytes(s.bytes).isOk(), s.readable) << s.name;
        if (!writeTo) continue;
        const std::filesystem::path dir = std::filesystem::path(writeTo) / "fuzz_bitmap";
        std::filesystem::create_directories(dir);
        std::ofstream out(dir / s.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(s.bytes.data()), std::streamsize(s.bytes.size()));
    }
}

}  // namespace
}  // namespace trellisor
