// trellisor-fuzz-seeds OUTDIR: writes the seed corpus of every fuzz target into
// OUTDIR/<target>/ (the committed one is fuzz/corpus), built with the test builders.
// Each seed is first read with its target's reader; a seed that is not read (or
// refused) as intended stops the program with exit code 1.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "gfx/ImageFiles.h"
#include "object/DescriptorFile.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"
#include "preview/BitmapImport.h"
#include "support/ImageFileBuilders.h"
#include "support/ObjectBuilder.h"

using namespace trellisor;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Seed {
    std::string target, name;
    Bytes bytes;
    bool readable;  // read (true) or refused (false) by the target's reader
};

Bytes ramp(std::size_t n, int step) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = std::uint8_t((i * step) / 7);
    return b;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

void imageSeeds(std::vector<Seed>& seeds) {
    const std::vector<std::pair<std::string, Bytes>> pcx = {
        {"pcx8_small", test::makePcx8(5, 4, 6, ramp(24, 3))},
        {"pcx8_runs", test::makePcx8(16, 8, 16, Bytes(128, 0xC7))},
        {"pcx24_small", test::makePcx24(3, 3, 4, ramp(36, 11))},
        {"pcx24_flat", test::makePcx24(20, 2, 20, Bytes(120, 0x40))},
    };
    for (const auto& [name, bytes] : pcx) {
        seeds.push_back({"fuzz_pcx_file", name, bytes, true});
        // The in-memory form: width, height, planes, bytesPerLine, then the block after the header.
        Bytes memory;
        ByteWriter w(memory);
        w.u16(std::uint16_t(loadLe16(&bytes[8]) - loadLe16(&bytes[4]) + 1));
        w.u16(std::uint16_t(loadLe16(&bytes[10]) - loadLe16(&bytes[6]) + 1));
        w.u16(bytes[65]);
        w.u16(loadLe16(&bytes[66]));
        memory.insert(memory.end(), bytes.begin() + 128, bytes.end());
        seeds.push_back({"fuzz_pcx_memory", name, memory, true});
    }
    seeds.push_back({"fuzz_tiff", "tiff_one_strip", test::makeTiffOneStrip(3, 2, ramp(18, 13)), true});
    seeds.push_back({"fuzz_tiff", "tiff_two_strips",
                     test::makeTiff(ramp(12, 5), {},
                                    {{256, 3, 1, 2},
                                     {257, 3, 1, 2},
                                     {259, 3, 1, 1},
                                     {277, 3, 1, 3},
                                     {273, 3, 2, (14u << 16) | 8u},
                                     {279, 3, 2, (6u << 16) | 6u}}),
                     true});
    seeds.push_back(
        {"fuzz_tiff", "tiff_strip_arrays",
         test::makeTiff(ramp(18, 3), Bytes{8, 0, 0, 0, 14, 0, 0, 0, 20, 0, 0, 0, 6, 0, 6, 0, 6, 0},
                        {{256, 4, 1, 2},
                         {257, 4, 1, 3},
                         {259, 3, 1, 1},
                         {277, 3, 1, 3},
                         {273, 4, 3, 26},
                         {279, 3, 3, 38}}),
         true});
}

void objectSeeds(std::vector<Seed>& seeds) {
    const std::vector<test::SpriteSpec> few = {test::solidRowCodedSprite(5, 3, 60, -2, -1),
                                               test::rawSprite(3, 2, {1, 0, 2, 0, 3, 0})};
    const Bytes small = test::buildChunk({{0, "Seed"}, {3, "Saat"}}, few, 1, 2);
    const auto full = test::buildChunk(test::twelveStrings("Full"), test::standardSprites(146), 1);
    Bytes cut = test::codedObjectFile(small);
    cut.resize(cut.size() - 3);
    seeds.push_back({"fuzz_object_file", "stored", test::storedObjectFile(small), true});
    seeds.push_back({"fuzz_object_file", "coded", test::codedObjectFile(small), true});
    seeds.push_back({"fuzz_object_file", "full", test::codedObjectFile(full), true});
    seeds.push_back(
        {"fuzz_object_file", "no-strings", test::storedObjectFile(test::buildChunk({}, few)), true});
    seeds.push_back({"fuzz_object_file", "not-a-path", test::storedObjectFile(small, 0x06), false});
    seeds.push_back({"fuzz_object_file", "cut", cut, false});

    const PathObject source = test::buildObject(test::standardSprites(168), test::twelveStrings(), 1, 1);
    for (int page = PagePath; page <= PageSupports; ++page)
        seeds.push_back(
            {"fuzz_type_file", kPages[std::size_t(page)].cliName, buildTypeFile(source, page), true});

    seeds.push_back({"fuzz_descriptor", "two", text("2\nBrick\nbrick.pth\nTarmac\ntarmac.pth\n"), true});
    seeds.push_back({"fuzz_descriptor", "missing-lines", text("3\r\nA\r\na.pth\r\nB\r\n"), true});
    seeds.push_back({"fuzz_descriptor", "absurd", text("  99999999 types\nX\n"), true});
}

void bitmapSeeds(std::vector<Seed>& seeds) {
    auto add = [&](const char* name, Bytes bytes, bool readable) {
        seeds.push_back({"fuzz_bitmap", name, std::move(bytes), readable});
    };
    add("rgb24-64x64.bmp",
        test::bitmap24(64, 64,
                       [](int x, int y) {
                           return std::tuple{x * 4, y * 4, 90};
                       }),
        true);
    add("rgb24-5x3.bmp",
        test::bitmap24(5, 3,
                       [](int x, int y) {
                           return std::tuple{x * 50, y * 80, 200};
                       }),
        true);
    test::BitmapContent pal8{16, 16, 8, 0, Bytes(1024), Bytes(256)};
    for (int i = 0; i < 256; ++i) {
        pal8.colourTable[4 * i] = std::uint8_t(i);
        pal8.colourTable[4 * i + 1] = std::uint8_t(255 - i);
        pal8.colourTable[4 * i + 2] = std::uint8_t(i * 3);
        pal8.pixels[i] = std::uint8_t(i);
    }
    add("pal8-16x16.bmp", test::bitmapBytes(pal8), true);
    add("pal8-top-down-4-colours.bmp", test::bitmapBytes({6, -4, 8, 4, Bytes(16, 200), Bytes(32, 3)}), true);
    add("pal4-8x8.bmp", test::bitmapBytes({8, 8, 4, 16, Bytes(64, 9), Bytes(32, 0x12)}), true);
    add("rgb24-absurd-size.bmp", test::bitmapBytes({0x7FFFFFFF, 0x7FFFFFFF, 24, 0, {}, Bytes(16, 1)}), true);
    add("pal8-table-too-large.bmp", test::bitmapBytes({4, 4, 8, 300, Bytes(1200, 1), Bytes(16, 1)}), false);
    Bytes cut = test::bitmap24(4, 4, [](int, int) { return std::tuple{1, 2, 3}; });
    cut.resize(40);
    add("cut-in-header.bmp", cut, false);
}

// Whether the target's reader takes the seed (type files: on the page they are named after).
bool readable(const Seed& s) {
    const std::span<const std::uint8_t> b = s.bytes;
    if (s.target == "fuzz_pcx_file") return bool(readPcxBytes(b));
    if (s.target == "fuzz_pcx_memory")
        return bool(
            readPcxData(b.subspan(8), loadLe16(&b[0]), loadLe16(&b[2]), loadLe16(&b[4]), loadLe16(&b[6])));
    if (s.target == "fuzz_tiff") return bool(readTiffBytes(b));
    if (s.target == "fuzz_bitmap") return bool(readBitmapBytes(b));
    if (s.target == "fuzz_descriptor")
        return !parseDescriptorText({reinterpret_cast<const char*>(b.data()), b.size()}).empty();
    if (s.target == "fuzz_type_file") {
        PathObject obj = test::buildObject(test::standardSprites(168));
        return bool(applyTypeBytes(obj, *spritePageFromCliName(s.name), b));
    }
    PathObject obj;
    return readObjectBytes(obj, b).outcome == LoadOutcome::Loaded;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trellisor-fuzz-seeds OUTDIR\n");
        return 2;
    }
    std::vector<Seed> seeds;
    imageSeeds(seeds);
    objectSeeds(seeds);
    bitmapSeeds(seeds);
    for (const Seed& s : seeds) {
        if (readable(s) != s.readable) {
            std::fprintf(stderr, "trellisor-fuzz-seeds: %s/%s is %s\n", s.target.c_str(), s.name.c_str(),
                         s.readable ? "refused" : "read");
            return 1;
        }
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / s.target;
        std::filesystem::create_directories(dir);
        std::ofstream out(dir / s.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(s.bytes.data()), std::streamsize(s.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "trellisor-fuzz-seeds: cannot write %s\n", (dir / s.name).c_str());
            return 1;
        }
    }
    std::printf("%zu seeds written to %s\n", seeds.size(), argv[1]);
    return 0;
}
