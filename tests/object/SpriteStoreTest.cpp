// The sprite store: one instance, upper-cased names loaded once, recorded misses,
// search directories, any case on disk, and the use count.
#include <gtest/gtest.h>

#include <filesystem>

#include "object/SpriteStore.h"
#include "support/ImageFileBuilders.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

// A 24-bit PCX file of one pixel.
std::vector<std::uint8_t> onePixel(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return test::makePcx24(1, 1, 1, {r, g, b});
}

// Each test in a fresh folder as the current directory, with no store.
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
};

TEST_F(SpriteStoreTest, NamesAreUpperCasedSearchedAndLoadedOnce) {
    std::filesystem::create_directories(m_dir.file("Art"));
    std::filesystem::create_directories(m_dir.file("Extra"));
    m_dir.write("Art/grass.pcx", onePixel(9, 9, 9));   // lower case on disk, in "Art"
    m_dir.write("Extra/TILE.PCX", onePixel(4, 5, 6));  // only in a later search directory
    m_dir.write("ROCK.PCX", onePixel(7, 7, 7));
    m_dir.write("Art/ROCK.PCX", onePixel(1, 1, 1));  // the current directory wins
    HeadlessWindowPort port(32);
    auto display = createDisplay(2, &port, 1);
    SpriteStore* store = acquireSpriteStore(display.get());
    EXPECT_EQ(store->searchDirs(), std::vector<std::string>{"Art"});
    store->addSearchDir("Art");
    store->addSearchDir("art");
    store->addSearchDir("Extra");
    EXPECT_EQ(store->searchDirs(), (std::vector<std::string>{"Art", "art", "Extra"}));
    Image* grass = store->getSprite("Grass.pcx");
    ASSERT_NE(grass, nullptr);
    EXPECT_EQ(grass->bitsPerPixel(), 32);  // through the display, in its depth
    EXPECT_EQ(grass->getPixel(0, 0), 0x090909u);
    EXPECT_EQ(store->getSprite("tile.pcx")->getPixel(0, 0), 0x040506u);
    EXPECT_EQ(store->getSprite("rock.pcx")->getPixel(0, 0), 0x070707u);
    std::filesystem::remove(m_dir.file("Art/grass.pcx"));  // loaded once: later requests need no file
    EXPECT_EQ(store->getSprite("GRASS.PCX"), grass);
    EXPECT_EQ(store->entryCount(), 3u);
    EXPECT_TRUE(store->hasEntry("GRASS.PCX"));
    store->release();
}

TEST_F(SpriteStoreTest, MissesAreRecordedUntilTheLastRelease) {
    auto display = createDisplay(1, nullptr, 0);
    display->setBitsPerPixel(24);
    SpriteStore* store = acquireSpriteStore(display.get());
    EXPECT_EQ(store->getSprite("late.pcx"), nullptr);
    EXPECT_TRUE(store->hasEntry("LATE.PCX"));
    m_dir.write("LATE.PCX", onePixel(1, 1, 1));
    EXPECT_EQ(store->getSprite("late.pcx"), nullptr);  // the recorded miss answers
    // A second acquisition shares the store and its first display.
    auto other = createDisplay(1, nullptr, 0);
    EXPECT_EQ(acquireSpriteStore(other.get()), store);
    EXPECT_EQ(store->display(), display.get());
    EXPECT_EQ(SpriteStore::useCount(), 2);
    store->release();
    EXPECT_EQ(store->entryCount(), 1u);  // one use left: everything stays
    store->release();
    EXPECT_EQ(SpriteStore::useCount(), 0);
    EXPECT_EQ(store->entryCount(), 0u);
    // Reused afterwards with its search directories; now the file is found.
    EXPECT_EQ(acquireSpriteStore(nullptr), store);
    EXPECT_EQ(store->searchDirs().size(), 1u);
    EXPECT_NE(store->getSprite("late.pcx"), nullptr);
    store->release();
    SpriteStore::resetForTesting();
    SpriteStore* bare = acquireSpriteStore(nullptr);  // no display: nothing loaded, nothing recorded
    EXPECT_EQ(bare->getSprite("late.pcx"), nullptr);
    EXPECT_EQ(bare->entryCount(), 0u);
}

}  // namespace
}  // namespace trellisor
