// The generated workspace read back: descriptor lists, type files, grass, sample
// objects, New over the lists, and how much of the preview the scenes fill.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "base/Bytes.h"
#include "base/Files.h"
#include "gfx/ImageFiles.h"
#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"
#include "preview/ExampleScenes.h"
#include "preview/GamePalette.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"
#include "support/TempDir.h"
#include "workspace/GrassTexture.h"
#include "workspace/Workspace.h"

namespace trellisor::workspace {
namespace {

// One workspace for the whole suite: generating it is the slow part.
class WorkspaceFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir();
        s_status = new Status(writeWorkspace(s_dir->path()));
    }
    static void TearDownTestSuite() {
        delete s_status;
        delete s_dir;
    }
    void SetUp() override { ASSERT_TRUE(*s_status) << s_status->error(); }
    static std::string file(const std::string& name) { return s_dir->file(name); }
    static std::array<std::vector<TypeEntry>, 6> lists() {
        std::array<std::vector<TypeEntry>, 6> l;
        for (int p = PagePath; p <= PageSupports; ++p)
            l[std::size_t(p)] = readDescriptorFile(file(kPages[std::size_t(p)].descriptorFile));
        return l;
    }
    static test::TempDir* s_dir;
    static Status* s_status;
};
test::TempDir* WorkspaceFiles::s_dir = nullptr;
Status* WorkspaceFiles::s_status = nullptr;

TEST_F(WorkspaceFiles, DescriptorListsNameTypeFilesOfTheRightSize) {
    const auto l = lists();
    EXPECT_GE(l[PagePath].size(), 3u);
    EXPECT_EQ(l[PagePathRailings].size(), 2u);
    EXPECT_EQ(l[PageQueue].size(), 2u);
    EXPECT_EQ(l[PageQueueRailings].size(), 2u);
    ASSERT_EQ(l[PageSupports].size(), 3u);
    std::set<int> supportCounts;
    for (int page = PagePath; page <= PageSupports; ++page) {
        for (const TypeEntry& e : l[std::size_t(page)]) {
            EXPECT_FALSE(e.name.empty());
            auto bytes = readFileBytes(file(e.fileName));
            ASSERT_TRUE(bytes) << e.fileName;
            const auto& b = bytes.value();
            const std::size_t head = page == PageSupports ? 2 : 0;
            ASSERT_GE(b.size(), head);
            const int n =
                typeSpriteCount(page, page == PageSupports ? b[0] : 0, page == PageSupports ? b[1] : 0);
            if (page == PageSupports) supportCounts.insert(n);
            // n headers, offsets rising from 0 inside the pixel block, every sprite drawn.
            ASSERT_GE(b.size(), head + 16u * std::size_t(n)) << e.fileName;
            const std::size_t pixels = b.size() - head - 16u * std::size_t(n);
            std::uint32_t previous = 0;
            for (int i = 0; i < n; ++i) {
                const SpriteHeader h = SpriteHeader::fromBytes(&b[head + 16u * std::size_t(i)]);
                if (i == 0) {
                    EXPECT_EQ(h.offset, 0u);
                }
                EXPECT_GE(h.offset, previous) << e.fileName << " " << i;
                EXPECT_LE(h.offset, pixels) << e.fileName << " " << i;
                EXPECT_GT(h.width, 0) << e.fileName << " " << i;
                EXPECT_TRUE(h.flags == kSpriteRaw || h.flags == kSpriteRowCoded);
                if (page != PageSupports) {
                    EXPECT_EQ(h.flags, kSpriteRowCoded) << e.fileName << " " << i;
                }
                previous = h.offset;
            }
        }
    }
    EXPECT_EQ(supportCounts, (std::set<int>{59, 56, 37}));
}

TEST_F(WorkspaceFiles, GeneratingAgainGivesTheSameFiles) {
    test::TempDir again;
    ASSERT_TRUE(writeWorkspace(again.path()));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(s_dir->path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(s_dir->read(name), again.read(name)) << name;
        ++files;
    }
    EXPECT_EQ(files, int(starterTypes().size() + sampleObjects().size()) + 6);  // + grass, 5 lists
}

TEST_F(WorkspaceFiles, GrassIsAGreenPcxWithoutTransparentPixels) {
    auto image = readPcxFile(file(kGrassFileName));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width(), 360);
    ASSERT_EQ(image->height(), 260);
    ASSERT_EQ(image->bitsPerPixel(), 8);
    int green = 0;
    std::set<std::uint32_t> shades;
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 360; ++x) {
            const std::uint32_t c = image->getPixel(x, y);
            ASSERT_NE(c, 0u) << x << "," << y;
            green += c >= 70 && c <= 105;  // the three green ramps
            shades.insert(c);
        }
    EXPECT_GE(green, 360 * 260 * 99 / 100);
    EXPECT_GE(shades.size(), 8u);
    const Palette* pal = image->palette();
    ASSERT_NE(pal, nullptr);
    const RgbQuad q = previewPalette[75];
    EXPECT_EQ(pal->entries[75], (PaletteEntry{q.red, q.green, q.blue, 0}));
    // Generated from code alone: the same picture every time.
    EXPECT_EQ(drawGrass(), drawGrass());
}

TEST_F(WorkspaceFiles, SampleObjectsLoadWithTheirTypesAndTexts) {
    for (const SampleObject& sample : sampleObjects()) {
        PathObject obj;
        const LoadReport r = loadObjectFile(obj, file(sample.fileName));
        ASSERT_EQ(r.outcome, LoadOutcome::Loaded) << sample.fileName << ": " << r.reason;
        const StarterType* supports = findStarterType(sample.types[4]);
        ASSERT_TRUE(supports);
        EXPECT_EQ(obj.m_spriteCount,
                  109u + unsigned(typeSpriteCount(PageSupports, supports->supportType, supports->pathFlags)));
        EXPECT_EQ(obj.m_supportType, supports->supportType);
        EXPECT_EQ(obj.m_pathFlags, supports->pathFlags);
        for (const std::string& text : objectStrings(obj)) EXPECT_EQ(text, sample.text);
        EXPECT_EQ(std::string(obj.m_head.name.data(), 8).substr(0, sample.fileName.find('.')),
                  sample.fileName.substr(0, sample.fileName.find('.')));
        // The path page is the named type's file, sprite for sprite.
        const StarterType* path = findStarterType(sample.types[0]);
        ASSERT_TRUE(path);
        EXPECT_EQ(buildTypeFile(obj, PagePath), readFileBytes(file(path->fileName)).value());
        // The saved icons are the ones the preview rebuilds.
        const auto before = std::vector<std::uint8_t>(obj.spritePixels(PathIconSprite).begin(),
                                                      obj.spritePixels(PathIconSprite).end());
        composePreviewIcons(obj);
        const auto after = obj.spritePixels(PathIconSprite);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin(), after.end()));
        EXPECT_GT(std::count_if(before.begin(), before.end(), [](std::uint8_t c) { return c != 0; }), 300);
    }
}

TEST_F(WorkspaceFiles, NewOverTheListsGivesEachSupportSetsCount) {
    auto l = lists();
    const auto allSupports = l[PageSupports];
    std::set<std::uint32_t> counts;
    for (const TypeEntry& support : allSupports) {
        l[PageSupports] = {support};
        for (unsigned seed : {1u, 2u, 3u}) {
            std::srand(seed);
            PathObject obj;
            ASSERT_TRUE(assembleNewPath(obj, l, s_dir->path()));
            const int n = typeSpriteCount(PageSupports, obj.m_supportType, obj.m_pathFlags);
            EXPECT_EQ(obj.m_spriteCount, 109u + unsigned(n)) << support.name;
            counts.insert(obj.m_spriteCount);
            // Every page landed: no all-zero header anywhere.
            for (unsigned i = 0; i < obj.m_spriteCount; ++i)
                EXPECT_GT(obj.m_sprites[i].width, 0) << support.name << i;
        }
    }
    EXPECT_EQ(counts, (std::set<std::uint32_t>{168, 165, 146}));
}

TEST_F(WorkspaceFiles, ScenesFillASensibleShareOfThePreview) {
    auto l = lists();
    for (const TypeEntry& support : std::vector<TypeEntry>(l[PageSupports])) {
        l[PageSupports] = {support};
        std::srand(7);
        PathObject obj;
        ASSERT_TRUE(assembleNewPath(obj, l, s_dir->path()));
        composePreviewIcons(obj);
        auto share = [&](auto draw) {
            auto screen = createMemoryImage(kPreviewWidth, kPreviewHeight, 32);
            screen->clear(0);
            draw(screen.get());
            int drawn = 0;
            for (int y = 0; y < kPreviewHeight; ++y)
                for (int x = 0; x < kPreviewWidth; ++x) drawn += screen->getPixel(x, y) != 0;
            return double(drawn) / (kPreviewWidth * kPreviewHeight);
        };
        const double path = share([&](Image* s) { drawExamplePath(obj, s); });
        const double queue = share([&](Image* s) { drawExampleQueue(obj, s); });
        const double grid = share([&](Image* s) { drawElementGrid(obj, s, 0, 50); });
        const double supports =
            share([&](Image* s) { drawElementGrid(obj, s, 109, int(obj.m_spriteCount) - 1); });
        EXPECT_GT(path, 0.09) << support.name;
        EXPECT_LT(path, 0.4) << support.name;
        EXPECT_GT(queue, 0.09) << support.name;
        EXPECT_LT(queue, 0.4) << support.name;
        EXPECT_GT(grid, 0.5) << support.name;  // 51 whole tiles of the 70 cells
        EXPECT_GT(supports, 0.05) << support.name;
        // The raised part is held up: without the support sprites less is drawn.
        obj.truncateSprites(109);
        EXPECT_LT(share([&](Image* s) { drawExamplePath(obj, s); }), path - 0.005) << support.name;
    }
}

#ifdef TRELLISOR_CLI_PATH
TEST_F(WorkspaceFiles, CommandLineRendersTheSampleOverTheGrass) {
    for (const char* view : {"example-path", "example-queue", "supports"}) {
        const std::string out = file(std::string("render-") + view + ".png");
        const std::string cmd = std::string("\"") + TRELLISOR_CLI_PATH + "\" render \"" + file("SAMPLE.DAT") +
                                "\" --view " + view + " --grass \"" + file(kGrassFileName) + "\" -o \"" +
                                out + "\"";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        auto png = readFileBytes(out);
        ASSERT_TRUE(png) << view;
        ASSERT_GT(png.value().size(), 8000u) << view;  // grass alone makes a large picture
        EXPECT_EQ(png.value()[1], 'P');
        EXPECT_EQ(png.value()[2], 'N');
        std::filesystem::remove(out);
    }
}
#endif

}  // namespace
}  // namespace trellisor::workspace
