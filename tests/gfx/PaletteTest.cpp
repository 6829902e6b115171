// Palettes: nearest-colour search, inverse and mix tables, fade, copying and the
// reference count shared by 8-bit images.
#include <gtest/gtest.h>

#include "gfx/MemoryImage.h"

namespace trellisor {
namespace {

void grey(Palette& p) {
    for (int i = 0; i < 256; ++i) p.entries[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
}

TEST(Palette, NearestIndexTiesAndExactMatches) {
    Palette p;
    for (auto& e : p.entries) e = {255, 255, 255, 0};
    p.entries[3] = {100, 100, 98, 0};   // distance 2 from (100, 100, 100)
    p.entries[7] = {101, 101, 100, 0};  // distance 2 as well: the lower index wins
    EXPECT_EQ(p.nearestIndex(100, 100, 100), 3);
    p.entries[9] = {100, 100, 100, 0};
    EXPECT_EQ(p.nearestIndex(100, 100, 100), 9);
    p.entries[0] = {5, 6, 7, 0};  // an exact match stops the search: a later duplicate never wins
    p.entries[1] = {5, 6, 7, 0};
    p.entries[4] = {5, 6, 8, 0};
    EXPECT_EQ(p.nearestIndex(5, 6, 7), 0);
    EXPECT_EQ(p.nearestIndex(5, 6, 8), 4);              // a distance of 1 does not stop the search
    EXPECT_EQ(p.nearestIndex(256 + 5, 6, 7 - 256), 0);  // arguments are taken modulo 256
    EXPECT_EQ(p.nearestIndex(255, 255, 254), 2);
    Palette far;  // everything farther than the starting best: index 0
    EXPECT_EQ(far.nearestIndex(255, 255, 255), 0);
}

TEST(Palette, InverseAndMixTablesAndCopies) {
    Palette p;
    grey(p);
    p.buildInverseTable();
    ASSERT_TRUE(p.hasInverseTable);
    // With the table, lookups go by 5-bit channels: (207, 207, 207) -> cell (200, 200, 200).
    EXPECT_EQ(p.nearestIndex(207, 207, 207), 200);
    EXPECT_EQ(p.nearestIndex(256 + 207, 207, 207), 200);
    EXPECT_EQ(p.inverseTable[(31 << 10) | (31 << 5) | 31], 248);
    EXPECT_EQ(p.inverseTable[(1 << 10) | (2 << 5) | 3], 16);  // (8, 16, 24): distance 16 from 16
    // A rebuild searches the entries, not the old table.
    for (int i = 0; i < 256; ++i)
        p.entries[i] = {std::uint8_t(255 - i), std::uint8_t(255 - i), std::uint8_t(255 - i), 0};
    p.rebuildTables();
    EXPECT_EQ(p.nearestIndex(0, 0, 0), 255);
    EXPECT_FALSE(p.hasMixTable);

    Palette m;  // entry i = 255 - i, no inverse table
    m.entries = p.entries;
    m.buildMixTable();
    ASSERT_TRUE(m.hasMixTable);
    EXPECT_EQ(m.mixTable[245 * 256 + 225], 235);  // (10 + 30) / 2 = 20 = entry 235
    EXPECT_EQ(m.mixTable[0 * 256 + 255], 128);    // (255 + 0) / 2 = 127 = entry 128
    EXPECT_EQ(m.mixTable[255 * 256 + 0], 128);
    m.entries[235] = {1, 2, 3, 0};
    m.rebuildTables();
    EXPECT_EQ(m.mixTable[245 * 256 + 225], 234);  // 21 and 19 tie: the lower index

    m.buildInverseTable();
    const Palette copy(m);
    EXPECT_TRUE(copy.hasInverseTable && copy.hasMixTable);
    EXPECT_NE(copy.inverseTable.get(), m.inverseTable.get());
    EXPECT_TRUE(std::equal(copy.inverseTable.get(), copy.inverseTable.get() + 32768, m.inverseTable.get()));
    EXPECT_TRUE(std::equal(copy.mixTable.get(), copy.mixTable.get() + 65536, m.mixTable.get()));
    EXPECT_EQ(copy.entries, m.entries);
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
    EXPECT_EQ(shared->referenceCount, 2);
    EXPECT_TRUE(first->paletteAssigned());
    first->setPalette(shared);  // the same palette: no count change, but the hook runs
    EXPECT_EQ(shared->referenceCount, 2);
    EXPECT_EQ(changed, 2);
    first.reset();
    EXPECT_EQ(shared->referenceCount, 1);  // still alive for the second image
    auto* other = new Palette();
    second->setPalette(other);  // the shared palette's last reference goes: it is destroyed
    EXPECT_EQ(other->referenceCount, 1);
    EXPECT_EQ(second->palette(), other);
    second->setPalette(nullptr);
    EXPECT_EQ(second->palette(), nullptr);
}

}  // namespace
}  // namespace trellisor
