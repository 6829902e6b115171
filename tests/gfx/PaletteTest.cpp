// Palettes: nearest-colour search, inverse and mix tables, fade, copying and the
// reference count shared by 8-bit images.
#include <gtest/gtest.h>

#include "gfx/MemoryImage.h"
#include "support/Pixels.h"

namespace trellisor {
namespace {

TEST(Palette, NearestIndexTiesAndExactMatches) {
    Palette p;
    for (auto& e : p.entries) e = {255, 255, 255, 0};
    p.entries[0] = {5, 6, 7, 0};
    p.entries[3] = {100, 100, 98, 0};  // distance 2 from (100, 100, 100)
    p.entries[4] = {5, 6, 8, 0};
    p.entries[7] = {101, 101, 100, 0};  // distance 2 as well: the lower index wins
    EXPECT_EQ(p.nearestIndex(100, 100, 100), 3);
    EXPECT_EQ(p.nearestIndex(5, 6, 8), 4);              // entry 0's distance of 1 does not stop the search
    EXPECT_EQ(p.nearestIndex(256 + 5, 6, 7 - 256), 0);  // arguments are taken modulo 256
}

// Entries in identical pairs, so that every search meets a tie (the lower index wins).
TEST(Palette, InverseAndMixTablesAndCopies) {
    Palette p;
    for (int i = 0; i < 256; ++i)
        p.entries[i] = {std::uint8_t(i / 2 * 2), std::uint8_t(255 - i / 2 * 2), std::uint8_t(i / 2 * 37), 0};
    p.buildMixTable();  // by searching the entries; after a rebuild, through the inverse table
    EXPECT_FALSE(p.hasInverseTable);
    p.buildInverseTable();
    ASSERT_TRUE(p.hasInverseTable && p.hasMixTable);
    auto tables = [](const Palette& t) {
        test::Bytes bytes(t.inverseTable.get(), t.inverseTable.get() + 32768);
        bytes.insert(bytes.end(), t.mixTable.get(), t.mixTable.get() + 65536);
        return test::fnv1a(bytes);
    };
    EXPECT_EQ(tables(p), 0x56841F47);
    // With the table, lookups go by 5-bit channels, red highest; arguments are taken modulo 256.
    EXPECT_EQ(p.nearestIndex(256 + 207, 100, 30), p.inverseTable[(25 << 10) | (12 << 5) | 3]);
    // A rebuild searches the new entries, not the old tables.
    for (PaletteEntry& e : p.entries) e.red = std::uint8_t(255 - e.red);
    p.rebuildTables();
    EXPECT_EQ(tables(p), 0x7F21FDA9);

    const Palette copy(p);
    EXPECT_NE(copy.inverseTable.get(), p.inverseTable.get());
    EXPECT_EQ(tables(copy), tables(p));
    EXPECT_EQ(copy.entries, p.entries);
    EXPECT_EQ(copy.referenceCount, 0);
    const Palette bare{Palette()};
    EXPECT_FALSE(bare.inverseTable || bare.mixTable);
}

TEST(Palette, FadeTowardsSparesTheLastEntry) {
    Palette p;
    p.entries[0] = {100, 10, 50, 0};
    p.entries[254] = {50, 58, 44, 0};
    p.entries[255] = {100, 10, 50, 0};
    p.fadeTowards(50, 50, 52, 8);
    EXPECT_EQ(p.entries[0], (PaletteEntry{92, 18, 52, 0}));    // within a step: lands on the target
    EXPECT_EQ(p.entries[254], (PaletteEntry{50, 50, 52, 0}));  // exactly a step away: moves the step
    EXPECT_EQ(p.entries[255], (PaletteEntry{100, 10, 50, 0}));
}

TEST(Palette, ReferenceCountAcrossImages) {
    int changed = 0;
    struct Counting : MemoryImage8 {
        int* hits;
        explicit Counting(int* h) : MemoryImage8(2, 2), hits(h) {}
        void paletteChanged() override { ++*hits; }
    };
    auto* shared = new Palette();
    auto first = std::make_unique<Counting>(&changed);
    auto second = std::make_unique<MemoryImage8>(2, 2);
    EXPECT_FALSE(first->paletteAssigned());
    first->setPalette(shared);
    second->setPalette(shared);
    first->setPalette(shared);  // the same palette: no count change, but the hook runs
    EXPECT_EQ(std::tuple(shared->referenceCount, first->paletteAssigned(), changed), std::tuple(2, true, 2));
    first.reset();
    EXPECT_EQ(shared->referenceCount, 1);  // still alive for the second image
    auto* other = new Palette();
    second->setPalette(other);  // the shared palette's last reference goes: it is destroyed
    EXPECT_EQ(std::pair(other->referenceCount, second->palette()), std::pair(1, other));
    second->setPalette(nullptr);
    EXPECT_EQ(second->palette(), nullptr);
}

}  // namespace
}  // namespace trellisor
