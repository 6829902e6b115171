// The sprite store: one instance, names loaded once, misses, search directories, the use count.
#include <gtest/gtest.h>

#include <filesystem>

#include "object/SpriteStore.h"
#include "support/ImageFileBuilders.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

TEST(SpriteStore, NamesSearchDirectoriesMissesAndUses) {
    SpriteStore::resetForTesting();
    test::TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    for (const char* d : {"Art", "Extra"}) std::filesystem::create_directories(dir.file(d));
    auto pcx = [](std::uint8_t v) { return test::makePcx24(1, 1, 1, {v, v, v}); };
    dir.write("Art/grass.pcx", pcx(9));   // lower case on disk, in "Art"
    dir.write("Extra/TILE.PCX", pcx(4));  // only in a later search directory
    dir.write("ROCK.PCX", pcx(7));
    dir.write("Art/ROCK.PCX", pcx(1));  // the current directory wins
    HeadlessWindowPort port(32);
    auto display = createDisplay(2, &port, 1), other = createDisplay(1, nullptr, 0);
    SpriteStore* store = acquireSpriteStore(display.get());
    EXPECT_EQ(acquireSpriteStore(other.get()), store);  // one store, bound to the first display
    EXPECT_EQ(std::pair(store->display(), SpriteStore::useCount()), std::pair(display.get(), 2));
    for (const char* d : {"Art", "art", "Extra"}) store->addSearchDir(d);
    EXPECT_EQ(store->searchDirs(), (std::vector<std::string>{"Art", "art", "Extra"}));
    Image* grass = store->getSprite("Grass.pcx");
    ASSERT_NE(grass, nullptr);
    EXPECT_EQ(
        std::tuple(grass->bitsPerPixel(), grass->getPixel(0, 0), store->getSprite("tile.pcx")->getPixel(0, 0),
                   store->getSprite("rock.pcx")->getPixel(0, 0)),
        std::tuple(32, 0x090909u, 0x040404u, 0x070707u));  // through the display, in its depth
    std::filesystem::remove(dir.file("Art/grass.pcx"));    // loaded once: later requests need no file
    EXPECT_EQ(store->getSprite("GRASS.PCX"), grass);
    EXPECT_EQ(store->getSprite("late.pcx"), nullptr);  // a miss is recorded too
    dir.write("LATE.PCX", pcx(3));
    EXPECT_EQ(std::tuple(store->getSprite("late.pcx"), store->entryCount(), store->hasEntry("LATE.PCX")),
              std::tuple(nullptr, 4u, true));
    store->release();
    EXPECT_EQ(store->entryCount(), 4u);  // one use left: everything stays
    store->release();
    EXPECT_EQ(std::pair(SpriteStore::useCount(), store->entryCount()), std::pair(0, std::size_t(0)));
    // Reused afterwards with its search directories; the file is found now.
    EXPECT_EQ(std::pair(acquireSpriteStore(nullptr), store->searchDirs().size()),
              std::pair(store, std::size_t(3)));
    EXPECT_NE(store->getSprite("late.pcx"), nullptr);
    SpriteStore::resetForTesting();
    SpriteStore* bare = acquireSpriteStore(nullptr);  // no display: nothing loaded, nothing recorded
    EXPECT_EQ(std::tuple(bare->searchDirs(), bare->getSprite("late.pcx")),
              std::tuple(std::vector<std::string>{"Art"}, nullptr));
    EXPECT_EQ(bare->entryCount(), 0u);
    SpriteStore::resetForTesting();
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace trellisor
