// Writes the seed corpora of the image reader fuzz targets. Disabled in normal
// runs; regenerate with
//   TRELLISOR_FUZZ_SEEDS=fuzz/corpus test_gfx --gtest_also_run_disabled_tests --gtest_filter='FuzzSeeds.*'
// Each seed is also read back here, so the corpus only holds files the readers accept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ImageFileBuilders.h"
#include "gfx/ImageFiles.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

void writeSeed(const std::string& root, const std::string& target, const std::string& name,
               const Bytes& bytes) {
    std::filesystem::create_directories(root + "/" + target);
    std::ofstream out(root + "/" + target + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ramp(std::size_t n, int step) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = std::uint8_t((i * step) / 7);
    return b;
}

TEST(FuzzSeeds, DISABLED_Write) {
    const char* root = std::getenv("TRELLISOR_FUZZ_SEEDS");
    ASSERT_NE(root, nullptr) << "set TRELLISOR_FUZZ_SEEDS to the corpus folder";
    const std::vector<std::pair<std::string, Bytes>> pcx = {
        {"pcx8_small", test::makePcx8(5, 4, 6, ramp(24, 3))},
        {"pcx8_runs", test::makePcx8(16, 8, 16, Bytes(128, 0xC7))},
        {"pcx24_small", test::makePcx24(3, 3, 4, ramp(36, 11))},
        {"pcx24_flat", test::makePcx24(20, 2, 20, Bytes(120, 0x40))},
    };
    for (const auto& [name, bytes] : pcx) {
        ASSERT_TRUE(readPcxBytes(bytes)) << name;
        writeSeed(root, "fuzz_pcx_file", name, bytes);
        // The in-memory form: width, height, planes, bytesPerLine, then the block after the header.
        Bytes memory;
        ByteWriter w(memory);
        const int width = loadLe16(&bytes[8]) - loadLe16(&bytes[4]) + 1;
        const int height = loadLe16(&bytes[10]) - loadLe16(&bytes[6]) + 1;
        w.u16(std::uint16_t(width));
        w.u16(std::uint16_t(height));
        w.u16(bytes[65]);
        w.u16(loadLe16(&bytes[66]));
        memory.insert(memory.end(), bytes.begin() + 128, bytes.end());
        writeSeed(root, "fuzz_pcx_memory", name, memory);
    }
    const std::vector<std::pair<std::string, Bytes>> tiff = {
        {"tiff_one_strip", test::makeTiffOneStrip(3, 2, ramp(18, 13))},
        {"tiff_two_strips", test::makeTiff(ramp(12, 5), {},
                                           {{256, 3, 1, 2},
                                            {257, 3, 1, 2},
                                            {259, 3, 1, 1},
                                            {277, 3, 1, 3},
                                            {273, 3, 2, (14u << 16) | 8u},
                                            {279, 3, 2, (6u << 16) | 6u}})},
        {"tiff_strip_arrays",
         test::makeTiff(ramp(18, 3), Bytes{8, 0, 0, 0, 14, 0, 0, 0, 20, 0, 0, 0, 6, 0, 6, 0, 6, 0},
                        {{256, 4, 1, 2},
                         {257, 4, 1, 3},
                         {259, 3, 1, 1},
                         {277, 3, 1, 3},
                         {273, 4, 3, 26},
                         {279, 3, 3, 38}})},
    };
    for (const auto& [name, bytes] : tiff) {
        ASSERT_TRUE(readTiffBytes(bytes)) << name << ": " << readTiffBytes(bytes).error();
        writeSeed(root, "fuzz_tiff", name, bytes);
    }
}

}  // namespace
}  // namespace trellisor
