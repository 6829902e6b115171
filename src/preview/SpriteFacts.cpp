// Sprite facts, gallery cells and sprites as colours around their anchors.
#include "preview/SpriteFacts.h"

#include <algorithm>
#include <cstdio>

#include "preview/GamePalette.h"
#include "preview/SpriteWalk.h"

namespace trellisor {

namespace {

// A damaged header may claim 32767 x 32767 pixels; what is shown of a sprite is cut to this.
constexpr int kMaxShownSide = 1024;

bool isDrawnFormat(std::int16_t flags) { return flags == kSpriteRaw || flags == kSpriteRowCoded; }

}  // namespace

std::optional<int> pageOfSprite(const PathObject& obj, unsigned index) {
    if (index >= obj.m_sprites.size()) return std::nullopt;
    for (int page = PagePath; page <= PageSupports; ++page)
        if (int(index) >= obj.pageFirstSprite(page) && int(index) <= obj.pageLastSprite(page)) return page;
    return std::nullopt;
}

std::string spriteFileName(unsigned index) {
    char name[16];
    std::snprintf(name, sizeof name, "%03u.png", index);
    return name;
}

std::string spriteFormatName(std::int16_t flags) {
    if (flags == kSpriteRaw) return "raw";
    if (flags == kSpriteRowCoded) return "row-coded";
    return "unknown (flags " + std::to_string(flags) + ")";
}

std::optional<SpriteFacts> spriteFacts(const PathObject& obj, unsigned index) {
    if (index >= obj.m_sprites.size()) return std::nullopt;
    const SpriteHeader& h = obj.m_sprites[index];
    const auto [start, end] = obj.spriteSpan(index);
    return SpriteFacts{index,
                       pageOfSprite(obj, index),
                       index == PathIconSprite || index == QueueIconSprite,
                       h.width,
                       h.height,
                       h.xOffset,
                       h.yOffset,
                       h.flags,
                       end - start,
                       spriteFileName(index)};
}

std::optional<std::uint8_t> spritePixelAt(const PathObject& obj, unsigned index, int column, int row) {
    std::optional<std::uint8_t> found;
    if (index >= obj.m_sprites.size()) return found;
    // A later run over the same column draws over an earlier one, so the last visit counts.
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int col, int r, std::uint8_t c) {
        if (col == column && r == row) found = c;
    });
    return found;
}

std::vector<GalleryCell> galleryCells(const PathObject& obj, std::optional<int> page) {
    std::vector<GalleryCell> cells;
    auto add = [&](unsigned i) {
        cells.push_back({i, spriteBox(obj, i).width > 0, i == PathIconSprite || i == QueueIconSprite});
    };
    if (!page) {
        for (unsigned i = 0; i < obj.m_sprites.size(); ++i) add(i);
        return cells;
    }
    if (!isSpritePage(*page)) return cells;
    for (int i = std::max(obj.pageFirstSprite(*page), 0); i <= obj.pageLastSprite(*page); ++i)
        add(unsigned(i));
    add(PathIconSprite);
    add(QueueIconSprite);
    return cells;
}

SpriteBox spriteBox(const PathObject& obj, unsigned index) {
    if (index >= obj.m_sprites.size()) return {};
    const SpriteHeader& h = obj.m_sprites[index];
    if (h.width <= 0 || h.height <= 0 || !isDrawnFormat(h.flags) || obj.spritePixels(index).empty())
        return {};
    return {h.xOffset, h.yOffset, std::min<int>(h.width, kMaxShownSide),
            std::min<int>(h.height, kMaxShownSide)};
}

SpriteBox uniteBoxes(const SpriteBox& a, const SpriteBox& b) {
    if (a.width <= 0 || a.height <= 0) return b;
    if (b.width <= 0 || b.height <= 0) return a;
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    const int right = std::max(a.left + a.width, b.left + b.width);
    const int bottom = std::max(a.top + a.height, b.top + b.height);
    return {left, top, std::min(right - left, 2 * kMaxShownSide), std::min(bottom - top, 2 * kMaxShownSide)};
}

std::vector<std::uint32_t> spriteColours(const PathObject& obj, unsigned index, const SpriteBox& box) {
    if (box.width <= 0 || box.height <= 0) return {};
    std::vector<std::uint32_t> pixels(std::size_t(box.width) * std::size_t(box.height), 0);
    if (index >= obj.m_sprites.size()) return pixels;
    const SpriteHeader& h = obj.m_sprites[index];
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int col, int row, std::uint8_t c) {
        const int x = h.xOffset + col - box.left, y = h.yOffset + row - box.top;
        if (x < 0 || y < 0 || x >= box.width || y >= box.height) return;
        const RgbQuad q = previewColour(c);
        pixels[std::size_t(y) * std::size_t(box.width) + std::size_t(x)] =
            0xFF000000u | std::uint32_t(q.red) << 16 | std::uint32_t(q.green) << 8 | q.blue;
    });
    return pixels;
}

}  // namespace trellisor
