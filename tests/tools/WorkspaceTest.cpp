// The sample workspace generator pinned by its files (tests/data/tools/workspace), its sprite
// encoder and its PCX writer.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "gfx/ImageFiles.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"
#include "preview/GamePalette.h"
#include "preview/SpriteDrawing.h"
#include "support/Sheet.h"
#include "support/TempDir.h"
#include "workspace/PcxWriter.h"
#include "workspace/Workspace.h"

namespace trellisor::workspace {
namespace {

int run(const std::string& args) {
    const std::string command =
        std::string("\"") + TRELLISOR_WORKSPACE_PATH + "\" " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The object's sprites eight to a row in cells the size of the largest, and (NAME.hex) the bytes
// around the pixels.
void expectObject(const PathObject& obj, const test::Bytes& around, const std::string& name) {
    int w = 1, h = 1;
    for (const SpriteHeader& s : obj.m_sprites) {
        w = std::max(w, s.width + 1);
        h = std::max(h, s.height + 1);
    }
    const int rows = int(obj.m_spriteCount + 7) / 8;
    std::vector<std::uint8_t> buffer(std::size_t(8 * w * rows * h), 255);
    for (unsigned i = 0; i < obj.m_spriteCount; ++i)
        drawSpriteToBuffer(obj, buffer.data(), 8 * w, rows * h, i, int(i % 8) * w - obj.m_sprites[i].xOffset,
                           int(i / 8) * h - obj.m_sprites[i].yOffset);
    EXPECT_TRUE(test::matchesReference(
        test::indexedPicture(8 * w, rows * h, {buffer.begin(), buffer.end()}, previewColour),
        "tools/workspace/" + name));
    EXPECT_TRUE(test::matchesReferenceBytes(around, "tools/workspace/" + name));
}

TEST(Workspace, TheProgramWritesTheSameFilesEveryTime) {
    test::TempDir dir;
    ASSERT_EQ(run("\"" + dir.path() + "\""), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 21);
    for (const char* name : {"path.txt", "prail.txt", "qrail.txt", "queue.txt", "support.txt"})
        EXPECT_TRUE(test::matchesReferenceBytes(dir.read(name), std::string("tools/workspace/") + name));
    EXPECT_TRUE(test::matchesReference(test::pictureOf(*readPcxFile(dir.file("grass.pcx"))),
                                       "tools/workspace/grass"));
    for (const StarterType& type : starterTypes()) {  // the headers before the pixels
        const test::Bytes file = dir.read(type.fileName);
        PathObject obj;
        obj.resetToEmptyChunk();
        ASSERT_TRUE(applyTypeBytes(obj, type.page, file)) << type.fileName;
        expectObject(obj, {file.begin(), file.end() - (obj.m_dataSize - obj.m_imageDataOffset)},
                     type.fileName);
    }
    for (const SampleObject& sample : sampleObjects()) {  // the head and the chunk before the pixels
        PathObject obj;
        ASSERT_EQ(loadObjectFile(obj, dir.file(sample.fileName)).outcome, LoadOutcome::Loaded);
        const auto head = obj.m_head.toBytes();
        test::Bytes around(head.begin(), head.end());
        around.insert(around.end(), obj.m_data.get(), obj.m_data.get() + obj.m_imageDataOffset);
        expectObject(obj, around, sample.fileName);
    }
    EXPECT_EQ(std::pair(run(""), run("\"" + dir.file("grass.pcx") + "/inside\"")), std::pair(2, 1));
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
    // Rows at 6, 210 and 406; runs of 127 + 73, 50 + (hole) 127 + 13, and one empty run.
    EXPECT_TRUE(test::matchesReferenceBytes(s.bytes, "tools/row-coded-sprite"));
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
