// The shared colour table: nearest-colour search, inverse and mix tables, fade.
#include "gfx/Palette.h"

#include <cstdlib>
#include <cstring>

namespace trellisor {

namespace {
constexpr int kInverseSize = 32768;
constexpr int kMixSize = 65536;
}  // namespace

Palette::Palette(const Palette& other)
    : entries(other.entries), hasInverseTable(other.hasInverseTable), hasMixTable(other.hasMixTable) {
    if (other.inverseTable) {
        inverseTable = std::make_unique<std::uint8_t[]>(kInverseSize);
        std::memcpy(inverseTable.get(), other.inverseTable.get(), kInverseSize);
    }
    if (other.mixTable) {
        mixTable = std::make_unique<std::uint8_t[]>(kMixSize);
        std::memcpy(mixTable.get(), other.mixTable.get(), kMixSize);
    }
}

std::uint8_t Palette::linearSearch(int r, int g, int b) const {
    r &= 255;
    g &= 255;
    b &= 255;
    int best = 6669;
    int bestIndex = 0;
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = entries[i];
        int d = std::abs(r - e.red) + std::abs(g - e.green) + std::abs(b - e.blue);
        if (d < best) {  // strictly smaller: the lowest index wins ties
            best = d;
            bestIndex = i;
            if (d == 0) break;
        }
    }
    return std::uint8_t(bestIndex);
}

std::uint8_t Palette::nearestIndex(int r, int g, int b) const {
    if (hasInverseTable && inverseTable) {
        int key = (((r & 255) >> 3) << 10) | (((g & 255) >> 3) << 5) | ((b & 255) >> 3);
        return inverseTable[key];
    }
    return linearSearch(r, g, b);
}

void Palette::buildInverseTable() {
    if (!inverseTable) inverseTable = std::make_unique<std::uint8_t[]>(kInverseSize);
    // The search must look at the entries, never at the table being rebuilt.
    for (int v = 0; v < kInverseSize; ++v)
        inverseTable[v] = linearSearch((v >> 10) * 8, ((v >> 5) & 31) * 8, (v & 31) * 8);
    hasInverseTable = true;
}

void Palette::buildMixTable() {
    constexpr int w = 128;
    auto table = std::make_unique<std::uint8_t[]>(kMixSize);
    for (int i = 0; i < 256; ++i) {
        for (int j = 0; j < 256; ++j) {
            const PaletteEntry& a = entries[i];
            const PaletteEntry& c = entries[j];
            int r = (a.red * w + c.red * (256 - w)) >> 8;
            int g = (a.green * w + c.green * (256 - w)) >> 8;
            int b = (a.blue * w + c.blue * (256 - w)) >> 8;
            table[i * 256 + j] = nearestIndex(r, g, b);
        }
    }
    mixTable = std::move(table);
    hasMixTable = true;
}

void Palette::rebuildTables() {
    if (hasInverseTable) buildInverseTable();
    if (hasMixTable) buildMixTable();
}

void Palette::fadeTowards(int r, int g, int b, int step) {
    auto move = [step](std::uint8_t& channel, int target) {
        int d = channel - target;
        if (std::abs(d) < step)
            channel = std::uint8_t(target);
        else
            channel = std::uint8_t(d > 0 ? channel - step : channel + step);
    };
    // Entry 255 stays as it is.
    for (int i = 0; i < 255; ++i) {
        move(entries[i].red, r);
        move(entries[i].green, g);
        move(entries[i].blue, b);
    }
}

void Palette::release(Palette* palette) {
    if (!palette) return;
    if (--palette->referenceCount <= 0) delete palette;
}

}  // namespace trellisor
