// The sample workspace generator, pinned by its output: the same files, byte for byte, every
// time (FNV-1a hashes taken once from a workspace whose art passed semantic checks), and
// read back with the core readers for what they mean.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "object/ObjectFile.h"
#include "support/Pixels.h"
#include "support/TempDir.h"
#include "workspace/PcxWriter.h"
#include "workspace/SpriteEncoding.h"

namespace trellisor::workspace {
namespace {

int run(const std::string& args) {
    const std::string command =
        std::string("\"") + TRELLISOR_WORKSPACE_PATH + "\" " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Workspace, TheProgramWritesTheSameFilesEveryTime) {
    test::TempDir dir;
    ASSERT_EQ(run("\"" + dir.path() + "\""), 0);
    std::map<std::string, std::uint32_t> hashes;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        hashes[entry.path().filename()] = test::fnv1a(dir.read(entry.path().filename()));
    const std::map<std::string, std::uint32_t> expected = {
        {"CONCRETE.PTH", 0x58F29883}, {"CRAZYPAV.PTH", 0xF69FFA34}, {"DIRT.PTH", 0xF8000348},
        {"METLRAIL.PTH", 0x194E46EB}, {"QBLUE.PTH", 0x02686826},    {"QCHROME.PTH", 0x42DD6F17},
        {"QRED.PTH", 0xD14EC132},     {"QROPE.PTH", 0xF07AFFE2},    {"SAMPLE.DAT", 0x64B62053},
        {"SAMPLE2.DAT", 0xA6B60059},  {"SLABS.PTH", 0x8B6D9B9D},    {"STEELPOL.PTH", 0x01D721C8},
        {"TARMAC.PTH", 0xF57313AB},   {"TRESTLE.PTH", 0xEDF7CF71},  {"WOODRAIL.PTH", 0x8F897A03},
        {"grass.pcx", 0x1DB9DE66},    {"path.txt", 0xB58A2B87},     {"prail.txt", 0x7F55D22D},
        {"qrail.txt", 0xBA6D2C48},    {"queue.txt", 0xBBE9838B},    {"support.txt", 0x6331C285},
    };
    EXPECT_EQ(hashes, expected);
    EXPECT_EQ(std::pair(run(""), run("\"" + dir.file("grass.pcx") + "/inside\"")), std::pair(2, 1));
    PathObject obj;  // the hashes were taken from samples that load
    ASSERT_EQ(loadObjectFile(obj, dir.file("SAMPLE2.DAT")).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(obj.m_spriteCount, 165u);
}

TEST(Workspace, SpriteEncoderSplitsRunsAndThePcxWriterChecksItsPicture) {
    // 200 columns (runs split at 127), a hole in row 1 and nothing in row 2 (one empty run).
    IndexPicture pic{200, 3, test::Bytes(600), test::Bytes(600)};
    for (int i = 0; i < 600; ++i) {
        pic.pixels[std::size_t(i)] = std::uint8_t(10 + i % 200);
        pic.covered[std::size_t(i)] = i < 400 && (i < 250 || i >= 260);
    }
    const SpriteData s = encodeSprite(pic, -5, 3, true);
    EXPECT_EQ(std::tuple(s.header.width, s.header.height, s.header.xOffset, s.header.yOffset, s.header.flags),
              std::tuple(200, 3, -5, 3, kSpriteRowCoded));
    // Rows at 6, 210 and 406; runs of 127 + 73, 50 + (hole) 127 + 13, and one empty run. A golden
    // FNV-1a hash of the bytes: print test::fnv1a(s.bytes) to refresh.
    EXPECT_EQ(test::Bytes(s.bytes.begin(), s.bytes.begin() + 8), (test::Bytes{6, 0, 210, 0, 150, 1, 127, 0}));
    EXPECT_EQ(std::pair(s.bytes.size(), test::fnv1a(s.bytes)), std::pair(std::size_t(408), 0x3CA81B21u));
    const SpriteData raw = encodeSprite(pic, 0, 0, false);
    EXPECT_EQ(raw.header.flags, kSpriteRaw);
    for (int i : {0, 255, 399, 400})
        EXPECT_EQ(raw.bytes[std::size_t(i)], pic.covered[std::size_t(i)] ? pic.pixels[std::size_t(i)] : 0)
            << i;
    EXPECT_EQ(emptySprite().bytes, test::Bytes{0});

    test::TempDir dir;
    const std::uint8_t pixels[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(writePcx8(dir.file("a.pcx"), 3, 2, pixels, gamePcxPalette()));
    const test::Bytes pcx = dir.read("a.pcx");  // scan lines padded to even length with 0
    EXPECT_EQ(test::Bytes(pcx.begin() + 128, pcx.begin() + 136), (test::Bytes{1, 2, 3, 0, 4, 5, 6, 0}));
    for (auto [w, h] : {std::pair{2, 2}, {0, 6}, {6, 0}, {65536, 1}})
        EXPECT_EQ(writePcx8(dir.file("b.pcx"), w, h, pixels, gamePcxPalette()).error(),
                  "picture size does not match its pixels");
}

}  // namespace
}  // namespace trellisor::workspace
