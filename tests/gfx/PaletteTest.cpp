// Palettes: nearest-colour search, inverse and mix tables, fade, copying and
// the reference count shared by 8-bit images.
#include <gtest/gtest.h>

#include "gfx/Image.h"
#include "gfx/MemoryImage.h"

namespace trellisor {
namespace {

Palette* grey(Palette* p) {
    for (int i = 0; i < 256; ++i) p->entries[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
    return p;
}

TEST(Palette, NearestIndexTiesAndExactMatches) {
    Palette p;
    for (auto& e : p.entries) e = {255, 255, 255, 0};
    p.entries[3] = {100, 100, 98, 0};   // distance 2 from (100, 100, 100)
    p.entries[7] = {101, 101, 100, 0};  // distance 2 as well
    EXPECT_EQ(p.nearestIndex(100, 100, 100), 3);
    p.entries[9] = {100, 100, 100, 0};
    EXPECT_EQ(p.nearestIndex(100, 100, 100), 9);
    // An exact match at 0 stops the search: a later exact duplicate never wins.
    p.entries[0] = {5, 6, 7, 0};
    p.entries[1] = {5, 6, 7, 0};
    EXPECT_EQ(p.nearestIndex(5, 6, 7), 0);
    // Arguments are taken modulo 256.
    EXPECT_EQ(p.nearestIndex(256 + 5, 6, 7 - 256), 0);
    // Everything farther than the starting best: index 0.
    Palette far;
    EXPECT_EQ(far.nearestIndex(255, 255, 255), 0);
}

TEST(Palette, InverseAndMixTables) {
    Palette p;
    grey(&p);
    p.buildInverseTable();
    ASSERT_TRUE(p.hasInverseTable);
    // With the table, lookups go by 5-bit channels: (203, 203, 203) -> cell (200, 200, 200).
    EXPECT_EQ(p.nearestIndex(203, 203, 203), 200);
    EXPECT_EQ(p.inverseTable[(31 << 10) | (31 << 5) | 31], 248);
    // A rebuild searches the entries, not the old table.
    for (int i = 0; i < 256; ++i)
        p.entries[i] = {std::uint8_t(255 - i), std::uint8_t(255 - i), std::uint8_t(255 - i), 0};
    p.rebuildTables();
    EXPECT_EQ(p.nearestIndex(0, 0, 0), 255);
    Palette m;
    grey(&m);
    m.buildMixTable();
    ASSERT_TRUE(m.hasMixTable);
    EXPECT_EQ(m.mixTable[10 * 256 + 30], 20);
    EXPECT_EQ(m.mixTable[255 * 256 + 0], 127);
    Palette copy(p);
    EXPECT_TRUE(copy.hasInverseTable);
    EXPECT_NE(copy.inverseTable.get(), p.inverseTable.get());
    EXPECT_EQ(copy.inverseTable[12345], p.inverseTable[12345]);
    EXPECT_EQ(copy.entries, p.entries);
    EXPECT_EQ(copy.referenceCount, 0);
}

TEST(Palette, FadeTowardsSparesTheLastEntry) {
    Palette p;
    p.entries[0] = {100, 10, 50, 0};
    p.entries[255] = {100, 10, 50, 0};
    p.fadeTowards(50, 50, 52, 8);
    EXPECT_EQ(p.entries[0].red, 92);
    EXPECT_EQ(p.entries[0].green, 18);
    EXPECT_EQ(p.entries[0].blue, 52);  // within a step: lands on the target
    EXPECT_EQ(p.entries[255].red, 100);
}

TEST(Palette, ReferenceCountAcrossImages) {
    int changed = 0;
    struct Counting : MemoryImage8 {
        int* hits;
        Counting(int* h) : MemoryImage8(2, 2), hits(h) {}
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
}

}  // namespace
}  // namespace trellisor
