// The PCX readers, the TIFF reader and the TGA writer.
#include <gtest/gtest.h>

#include <cstdio>

#include "gfx/ImageFiles.h"
#include "support/ImageFileBuilders.h"
#include "support/Sheet.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using namespace test;

// A PCX file of already coded data; 8-bit files get the default palette.
Bytes pcxFile(int width, int height, int planes, int bytesPerLine, const Bytes& coded) {
    Bytes file = pcxCoded(width, height, planes, bytesPerLine, coded);
    const Bytes palette = makePcx8(1, 1, 1, {});
    if (planes == 1) file.insert(file.end(), palette.end() - 768, palette.end());
    return file;
}

TEST(PcxReader, DecodesRunsScanLinesAndPlanes) {
    auto ninesAfter = [](const Bytes& coded) {  // 9s: the palette, read if decoding ran on
        Bytes file = pcxCoded(4, 2, 1, 4, coded);
        file.resize(file.size() + 768, 9);
        return file;
    };
    const std::tuple<const char*, Bytes, const char*> files[] = {
        {"runs of 3, 0 and 1, one across rows",
         pcxFile(4, 3, 1, 4, {0xC3, 0x07, 0xC0, 0x07, 0x3F, 0xC6, 0x22, 0x01, 0xC1, 0xC5}),
         "4 x 3 8: 7 7 7 3f | 22 22 22 22 | 22 22 1 c5"},
        {"data ending early, in a run", ninesAfter({0x05, 0x06, 0xC9}), "4 x 2 8: 5 6 0 0 | 0 0 0 0"},
        {"only a palette", pcxFile(2, 1, 1, 2, {}), "2 x 1 8: 0 0"},
        {"data past the last row", pcxFile(2, 1, 1, 2, {1, 2, 3, 4}), "2 x 1 8: 1 2"},
        {"long scan lines", pcxFile(3, 2, 1, 6, {1, 2, 3, 9, 9, 9, 4, 5, 6, 9, 9, 9}),
         "3 x 2 8: 1 2 3 | 4 5 6"},
        {"short scan lines", pcxFile(3, 2, 1, 2, {1, 2, 3, 4}), "3 x 2 8: 1 2 0 | 3 4 0"},
        {"24 bits: red, green, blue planes",
         makePcx24(2, 2, 2, {10, 11, 20, 21, 30, 31, 40, 41, 50, 51, 60, 61}),
         "2 x 2 24: a141e b151f | 28323c 29333d"},
        {"24 bits, long scan lines", pcxFile(1, 1, 3, 2, {10, 99, 20, 99, 30, 99}), "1 x 1 24: a141e"},
        {"24 bits, data past the last row", pcxFile(1, 2, 3, 1, {1, 2, 3, 4, 5, 6, 7}),
         "1 x 2 24: 10203 | 40506"},
        {"data ending early", ninesAfter({0x05, 0x06}), "4 x 2 8: 5 6 0 0 | 0 0 0 0"},
    };
    for (const auto& [name, file, expected] : files) {  // a read past the vector shows
        SCOPED_TRACE(name);
        auto image = readPcxBytes(file);
        EXPECT_EQ(image ? describe(*image.value()) : image.error(), expected);
    }
    // The same data in memory, the header's numbers given apart; the palette ends the block.
    const Bytes& f = std::get<1>(files[0]);
    auto memory = readPcxMemory(&f[128], 4, 3, 1, 4, int(f.size()) - 128);
    EXPECT_EQ(std::pair(describe(*memory), memory->palette()->entries[254]),
              std::pair(std::string(std::get<2>(files[0])), PaletteEntry{254, 1, 127, 0}));
    EXPECT_EQ(storedBytes(*readPcxBytes(std::get<1>(files[4])).value())[3], 0);  // nothing past the row
    for (auto [w, h] : {std::pair{16384, 1}, {1, 16384}}) {                      // sides up to 16384 pixels
        const auto pixels = pixelsOf(*readPcxBytes(pcxFile(w, h, 1, w, Bytes(2 * 261, 0xFF))).value());
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 255u), 16384);
    }
}

TEST(PcxReader, RefusesBadHeadersAndData) {
    const std::pair<Bytes, std::string> cases[] = {
        {Bytes(128, 0), "PCX file of 128 bytes has no data after its header"},
        {pcxFile(2, 2, 4, 2, {1, 2, 3, 4}), "PCX with 4 planes is neither 8-bit nor 24-bit"},
        {pcxCoded(2, 1, 1, 2, Bytes(767, 0)), "PCX data of 767 bytes has no room for its palette"},
        {pcxFile(0, 2, 1, 2, {1}), "PCX image size 0 x 2 is empty"},
        {pcxFile(2, 0, 3, 2, {1}), "PCX image size 2 x 0 is empty"},
        {pcxFile(2, 2, 1, 0, {1}), "PCX scan line length is 0"},
        {pcxFile(16385, 1, 1, 16385, Bytes(600, 0xFF)),
         "PCX image size 16385 x 1 is larger than 16384 pixels a side"},
        {pcxFile(1, 16385, 3, 1, Bytes(2000, 0xFF)),
         "PCX image size 1 x 16385 is larger than 16384 pixels a side"},
        // Two bytes of data could code 32 x 18 = 576 bytes at most.
        {pcxFile(577, 1, 1, 4, {0xFF, 1}),
         "PCX header claims 577 bytes of pixels but 2 bytes of run-length data cannot hold them"},
        {pcxFile(4, 1, 1, 577, {0xFF, 1}), "PCX header claims 577 bytes"},
        {pcxFile(1, 193, 3, 1, {0xFF, 1}), "PCX header claims 579 bytes"},
    };
    for (const auto& [bad, reason] : cases) {
        auto r = readPcxBytes(bad);
        EXPECT_EQ(r ? "read" : r.error().substr(0, reason.size()), reason);
    }
    EXPECT_TRUE(readPcxBytes(pcxFile(576, 1, 1, 4, {0xFF, 1})) &&
                readPcxBytes(pcxFile(1, 192, 3, 1, {0xFF, 1})));
    const Bytes data(3, 0);
    EXPECT_FALSE(readPcxMemory(nullptr, 1, 1, 3, 1, 3) || readPcxMemory(data.data(), 1, 1, 3, 1, -1));
}

TEST(PcxReader, ReadsFilesAndMeasuresThem) {
    TempDir dir;
    const std::string path = dir.write("grass.pcx", makePcx8(3, 1, 4, {9, 8, 7, 0}));
    EXPECT_EQ(pixelsOf(*readPcxFile(path)), (std::vector<std::uint32_t>{9, 8, 7}));
    EXPECT_FALSE(readPcxFile(dir.file("missing.pcx")) || readPcxFile(dir.write("short.pcx", Bytes(128, 0))));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 5, SEEK_SET);  // the place is kept
    EXPECT_EQ(std::pair(fileLength(file), std::ftell(file)), std::pair(long(128 + 4 + 768), 5L));
    std::fclose(file);
    EXPECT_EQ(fileLength(nullptr), -1);
}

Bytes tiff(const Bytes& pixels, const Bytes& extra, std::vector<TiffEntry> more) {
    std::vector<TiffEntry> head = {{256, 3, 1, 2}, {257, 3, 1, 2}, {259, 3, 1, 1}, {277, 3, 1, 3}};
    head.insert(head.end(), more.begin(), more.end());
    return makeTiff(pixels, extra, head);
}

TEST(TiffReader, ReadsStripsFromTheValueFieldOrOffsets) {
    const Bytes pixels = {9, 9, 9, 8, 8, 8, 5, 5, 5, 6, 6, 6, 1, 2, 3, 4, 5, 6};
    // Three LONG offsets (the strips in reverse), then three SHORT counts.
    const Bytes arrays = {20, 0, 0, 0, 14, 0, 0, 0, 8, 0, 0, 0, 6, 0, 6, 0, 6, 0};
    Bytes cut = tiff(pixels, {}, {{273, 4, 1, 0}, {279, 4, 1, 12}});
    storeLe32(&cut[8 + 18 + 2 + 12 * 4 + 8], std::uint32_t(cut.size()));
    cut.insert(cut.end(), {1, 2, 3});
    const std::tuple<const char*, Bytes, const char*> files[] = {
        {"one strip", makeTiffOneStrip(3, 2, {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
         "3 x 2 24: a141e 28323c 46505a | 10203 40506 70809"},
        {"arrays before the directory",
         tiff(pixels, arrays, {{257, 4, 1, 3}, {273, 4, 3, 26}, {279, 3, 3, 38}, {999, 3, 1, 0}}),
         "2 x 3 24: 10203 40506 | 50505 60606 | 90909 80808"},
        {"two SHORTs in the value field, low half first",
         tiff(pixels, {}, {{273, 3, 2, (20u << 16) | 14u}, {279, 3, 2, (6u << 16) | 6u}}),
         "2 x 2 24: 50505 60606 | 10203 40506"},
        {"strip longer than the image", tiff(pixels, {}, {{257, 3, 1, 1}, {273, 4, 1, 8}, {279, 4, 1, 18}}),
         "2 x 1 24: 90909 80808"},
        {"strip count missing", tiff(pixels, {}, {{273, 3, 2, (20u << 16) | 14u}, {279, 4, 1, 6}}),
         "2 x 2 24: 50505 60606 | 0 0"},
        {"strip past the file", tiff(pixels, {}, {{273, 4, 1, 1000000}, {279, 4, 1, 12}}),
         "2 x 2 24: 0 0 | 0 0"},
        {"strip cut by the end of the file", cut, "2 x 2 24: 10203 0 | 0 0"},
    };
    for (const auto& [name, file, expected] : files) {
        SCOPED_TRACE(name);
        auto image = readTiffBytes(file);
        EXPECT_EQ(image ? describe(*image.value()) : image.error(), expected);
    }
    // A directory ending the file (no next-directory offset) is read whole.
    const Bytes whole = makeTiffOneStrip(2, 2, Bytes(12, 7));
    TempDir dir;
    EXPECT_EQ(readTiffFile(dir.write("a.tif", Bytes(whole.begin(), whole.end() - 4)))->getPixel(1, 1),
              0x070707u);
    EXPECT_FALSE(readTiffFile(dir.file("none.tif")) || readTiffFile(dir.write("b.tif", Bytes(4, 0))));
}

TEST(TiffReader, RefusesAtEveryBound) {
    // A valid file (its size a multiple of 3) spoiled by 32-bit stores.
    Bytes ok = makeTiffOneStrip(2, 2, Bytes(12, 7));
    ok.push_back(0);
    const auto size = std::uint32_t(ok.size());
    auto value = [](int entry) { return 8 + 12 + 2 + 12 * entry + 8; };  // its value field
    const std::string noMark = "not a little-endian TIFF file (no II byte order mark)",
                      none = "TIFF image has no width or height",
                      fits = " pixels does not fit in a file of " + std::to_string(size) + " bytes";
    const std::tuple<const char*, std::vector<std::pair<int, std::uint32_t>>, std::string> cases[] = {
        {"byte order", {{0, 'I' | 'M' << 8 | 42 << 16}}, noMark},
        {"42", {{0, 'I' | 'I' << 8 | 43 << 16}}, "not a TIFF file (42 missing at offset 2)"},
        {"directory outside", {{4, size - 1}}, "TIFF directory offset lies outside the file"},
        {"directory of no entries", {{4, size - 2}}, none},
        {"width 0", {{value(0), 0}}, none},
        {"height 0", {{value(1), 0}}, none},
        {"compression 5", {{value(3), 5}}, "TIFF image is compressed"},
        {"no compression tag", {{value(3) - 8, 999 | 3 << 16}}, "TIFF image is compressed"},
        {"4 samples", {{value(6), 4}}, "TIFF image has not three samples per pixel"},
        {"wide", {{value(0), 16385}}, "TIFF image size 16385 x 2 is larger than 16384 pixels a side"},
        {"tall", {{value(1), 16385}}, "TIFF image size 2 x 16385 is larger than 16384 pixels a side"},
        {"16384 wide", {{value(0), 16384}}, "TIFF image of 16384 x 2" + fits},
        {"16384 tall", {{value(1), 16384}}, "TIFF image of 2 x 16384" + fits},
        {"pixels fill the file", {{value(0), size / 3}, {value(1), 1}}, "read"},
        {"one pixel more",
         {{value(0), size / 3 + 1}, {value(1), 1}},
         "TIFF image of " + std::to_string(size / 3 + 1) + " x 1" + fits},
        {"strip at the end of the file", {{value(5), size}}, "read"},
        {"array ending the file", {{value(5) - 4, 2}, {value(5), size - 8}}, "read"},
        {"array past the end",
         {{value(5) - 4, 2}, {value(5), size - 7}},
         "TIFF array of 2 values at offset " + std::to_string(size - 7) + " runs past the end of the file"},
    };
    for (const auto& [name, stores, result] : cases) {
        SCOPED_TRACE(name);
        Bytes file = ok;
        for (auto [at, v] : stores) storeLe32(&file[at], v);
        auto r = readTiffBytes(file);
        EXPECT_EQ(r ? std::string("read") : r.error(), result);
    }
    EXPECT_EQ(readTiffBytes(Bytes(ok.begin(), ok.begin() + 7)).error(), noMark);
}

TEST(TgaWriter, WritesBlueGreenRedRowsFromTheTopAndRefusesWhatItCannotHold) {
    auto image = std::make_unique<MemoryImage555>(2, 2);
    for (auto [x, y, v] : {std::tuple{0, 0, 0x7C00u}, {1, 0, 0x001Fu}, {0, 1, 0x03E0u}, {1, 1, 0u}})
        image->putPixel(x, y, v);
    TempDir dir;
    ASSERT_TRUE(writeTgaFile(image.get(), dir.file("out.tga")));
    // Uncompressed true colour, 2 x 2, 24 bits, top-left origin; red, blue, green, black.
    const Bytes tga = {0, 0,  2,    0, 0, 0,    0,    0, 0, 0, 0,    0, 2, 0, 2,
                       0, 24, 0x20, 0, 0, 0xF8, 0xF8, 0, 0, 0, 0xF8, 0, 0, 0, 0};
    EXPECT_EQ(dir.read("out.tga"), tga);
    const Bytes header = encodeTga(*createMemoryImage(0x1234, 1, 8)).value();  // no palette: black
    EXPECT_EQ(Bytes(header.begin() + 12, header.begin() + 21), (Bytes{0x34, 0x12, 1, 0, 24, 0x20, 0, 0, 0}));
    for (auto [w, h] : {std::pair{65536, 1}, {1, 65536}})
        EXPECT_EQ(encodeTga(*createMemoryImage(w, h, 8)).error(),
                  "TGA cannot hold an image wider or taller than 65535 pixels");
    EXPECT_TRUE(encodeTga(*createMemoryImage(65535, 1, 8)));
    auto invalid = createMemoryImage(0, 1, 24);
    EXPECT_EQ(encodeTga(*invalid).error(), "the image is not valid");
    EXPECT_FALSE(writeTgaFile(image.get(), dir.file("no/such/folder/out.tga")));
    EXPECT_FALSE(writeTgaFile(nullptr, dir.file("x.tga")) || writeTgaFile(invalid.get(), dir.file("x.tga")));
}

}  // namespace
}  // namespace trellisor
