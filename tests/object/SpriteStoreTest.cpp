// The sprite store: one instance, upper-cased names, recorded misses, search
// directories, case-insensitive lookup on disk and the use count.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "gfx/Display.h"
#include "object/SpriteStore.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 24-bit PCX file of one pixel of the given colour.
Bytes onePixelPcx(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    Bytes file(128, 0);
    file[65] = 3;
    file[66] = 1;  // bytes per line; xmin = xmax = 0, ymin = ymax = 0
    file.push_back(r);
    file.push_back(g);
    file.push_back(b);
    return file;
}

// Runs each test in a fresh folder as the current directory, with no store.
class SpriteStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        SpriteStore::resetForTesting();
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.path());
    }
    void TearDown() override {
        SpriteStore::resetForTesting();
        std::filesystem::current_path(m_previous);
    }
    test::TempDir m_dir;
    std::filesystem::path m_previous;
    HeadlessWindowPort m_port{32};
};

TEST_F(SpriteStoreTest, NamesAreUpperCasedAndLoadedOnce) {
    m_dir.write("GRASS.PCX", onePixelPcx(1, 2, 3));
    auto display = createDisplay(2, &m_port, 1);
    SpriteStore* store = acquireSpriteStore(display.get());
    EXPECT_EQ(store->searchDirs(), std::vector<std::string>{"Art"});
    Image* grass = store->getSprite("grass.pcx");
    ASSERT_NE(grass, nullptr);
    EXPECT_EQ(grass->bitsPerPixel(), 32);  // through the display, in its depth
    EXPECT_EQ(grass->getPixel(0, 0), 0x010203u);
    EXPECT_EQ(store->getSprite("Grass.PCX"), grass);
    EXPECT_EQ(store->getSprite("GRASS.PCX"), grass);
    EXPECT_EQ(store->entryCount(), 1u);
    EXPECT_TRUE(store->hasEntry("GRASS.PCX"));
    // Loaded once: removing the file changes nothing for later requests.
    std::filesystem::remove(m_dir.file("GRASS.PCX"));
    EXPECT_EQ(store->getSprite("grass.pcx"), grass);
    store->release();
}

TEST_F(SpriteStoreTest, SearchDirectoriesAndAnyCaseOnDisk) {
    std::filesystem::create_directories(m_dir.file("Art"));
    std::filesystem::create_directories(m_dir.file("Extra"));
    m_dir.write("Art/grass.pcx", onePixelPcx(9, 9, 9));   // lower case on disk, in "Art"
    m_dir.write("Extra/TILE.PCX", onePixelPcx(4, 5, 6));  // only in a later search directory
    m_dir.write("ROCK.PCX", onePixelPcx(7, 7, 7));
    m_dir.write("Art/ROCK.PCX", onePixelPcx(1, 1, 1));  // the current directory wins
    auto display = createDisplay(1, nullptr, 0);
    display->setBitsPerPixel(24);
    SpriteStore* store = acquireSpriteStore(display.get());
    store->addSearchDir("Art");
    store->addSearchDir("art");
    store->addSearchDir("Extra");
    EXPECT_EQ(store->searchDirs(), (std::vector<std::string>{"Art", "art", "Extra"}));
    ASSERT_NE(store->getSprite("Grass.pcx"), nullptr);
    EXPECT_EQ(store->getSprite("GRASS.PCX")->getPixel(0, 0), 0x090909u);
    ASSERT_NE(store->getSprite("tile.pcx"), nullptr);
    EXPECT_EQ(store->getSprite("tile.pcx")->getPixel(0, 0), 0x040506u);
    EXPECT_EQ(store->getSprite("rock.pcx")->getPixel(0, 0), 0x070707u);
    store->release();
}

TEST_F(SpriteStoreTest, MissesAreRecordedUntilTheLastRelease) {
    auto display = createDisplay(1, nullptr, 0);
    display->setBitsPerPixel(24);
    SpriteStore* store = acquireSpriteStore(display.get());
    EXPECT_EQ(store->getSprite("late.pcx"), nullptr);
    EXPECT_TRUE(store->hasEntry("LATE.PCX"));
    m_dir.write("LATE.PCX", onePixelPcx(1, 1, 1));
    EXPECT_EQ(store->getSprite("late.pcx"), nullptr);  // the recorded miss answers
    // A second acquisition with another display shares the store and its first display.
    auto other = createDisplay(1, nullptr, 0);
    EXPECT_EQ(acquireSpriteStore(other.get()), store);
    EXPECT_EQ(store->display(), display.get());
    EXPECT_EQ(SpriteStore::useCount(), 2);
    store->release();
    EXPECT_EQ(store->entryCount(), 1u);  // one use left: everything stays
    store->release();
    EXPECT_EQ(SpriteStore::useCount(), 0);
    EXPECT_EQ(store->entryCount(), 0u);
    // Reused afterwards, search directories kept; now the file is found.
    EXPECT_EQ(acquireSpriteStore(nullptr), store);
    EXPECT_EQ(store->searchDirs().size(), 1u);
    ASSERT_NE(store->getSprite("late.pcx"), nullptr);
    store->release();
}

TEST_F(SpriteStoreTest, NoDisplayRecordsNothing) {
    SpriteStore* store = acquireSpriteStore(nullptr);
    m_dir.write("A.PCX", onePixelPcx(1, 1, 1));
    EXPECT_EQ(store->getSprite("a.pcx"), nullptr);
    EXPECT_EQ(store->entryCount(), 0u);
    store->release();
}

}  // namespace
}  // namespace trellisor
