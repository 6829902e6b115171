// A 256-entry colour table shared by 8-bit images through a reference count,
// with its nearest-colour search, inverse table, mix table and fade.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace trellisor {

struct PaletteEntry {
    std::uint8_t red = 0, green = 0, blue = 0, unused = 0;
    bool operator==(const PaletteEntry&) const = default;
};

class Palette {
public:
    Palette() = default;
    Palette(const Palette& other);  // copies the entries, both flags and each table present
    Palette& operator=(const Palette&) = delete;

    std::array<PaletteEntry, 256> entries{};
    bool hasInverseTable = false;
    bool hasMixTable = false;
    std::unique_ptr<std::uint8_t[]> inverseTable;  // 32768 entries
    std::unique_ptr<std::uint8_t[]> mixTable;      // 65536 entries
    std::int32_t referenceCount = 0;

    // Lowest index at the smallest |dr|+|dg|+|db| (arguments taken modulo 256);
    // the inverse table answers when present.
    std::uint8_t nearestIndex(int r, int g, int b) const;
    void buildInverseTable();
    void buildMixTable();  // weight 128
    void rebuildTables();  // rebuilds each table that is present
    void fadeTowards(int r, int g, int b, int step);

    void addReference() { ++referenceCount; }
    // Drops one reference and deletes the palette when the count falls to 0 or below.
    static void release(Palette* palette);

private:
    std::uint8_t linearSearch(int r, int g, int b) const;
};

}  // namespace trellisor
