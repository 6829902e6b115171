// Rebuilding the path and queue icons from the sprites they show in small, and telling
// icons so generated from icons drawn by hand.
#include "preview/PreviewIcons.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "preview/GamePalette.h"
#include "preview/SpriteDrawing.h"
#include "preview/SpriteWalk.h"

namespace trellisor {

namespace {

struct Placement {
    unsigned sprite;
    int x, y;
};

void drawAll(const PathObject& obj, std::vector<std::uint8_t>& buffer, int w, int h,
             std::initializer_list<Placement> list) {
    for (const Placement& p : list) drawSpriteToBuffer(obj, buffer.data(), w, h, p.sprite, p.x, p.y);
}

void drawSupports(const PathObject& obj, std::vector<std::uint8_t>& buffer, int w, int h) {
    if (obj.usesSecondSupportSet())
        drawAll(obj, buffer, w, h, {{110, 4, 10}});
    else
        drawAll(obj, buffer, w, h, {{112, 4, 26}, {158, 4, 10}});
}

// Lays the overlay over the icon at its own 45 x 34 geometry, so that an icon of
// another size neither shears it nor reads past it.
void layQueueOverlay(std::vector<std::uint8_t>& buffer, int w, int h) {
    const int rows = std::min(h, kQueueOverlayHeight), cols = std::min(w, kQueueOverlayWidth);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            std::uint8_t v = queueIconOverlay[std::size_t(y) * kQueueOverlayWidth + x];
            if (v != 0) buffer[std::size_t(y) * w + x] = v;
        }
}

// The icon's pixel bytes when it is a raw sprite whose data hold width x height
// bytes; empty otherwise, and the icon is then left as it is.
std::span<const std::uint8_t> iconPixels(const PathObject& obj, unsigned icon) {
    if (obj.m_dataSize == 0 || !obj.m_data || obj.m_spriteCount < 73 || obj.m_sprites.size() < 73) return {};
    auto bytes = obj.spritePixels(icon);
    const SpriteHeader& h = obj.m_sprites[icon];
    if (bytes.empty() || h.flags != kSpriteRaw || h.width <= 0 || h.height <= 0) return {};
    std::size_t need = std::size_t(h.width) * std::size_t(h.height);
    if (need > bytes.size()) return {};
    return bytes.first(need);
}

// What composePreviewIcons draws for the icon; empty when it leaves the icon alone.
std::vector<std::uint8_t> composedIcon(const PathObject& obj, unsigned icon) {
    const auto pixels = iconPixels(obj, icon);
    if (pixels.empty()) return {};
    const int w = obj.m_sprites[icon].width, h = obj.m_sprites[icon].height;
    std::vector<std::uint8_t> buffer(pixels.size(), 0);
    drawSupports(obj, buffer, w, h);
    if (icon == PathIconSprite) {
        drawAll(obj, buffer, w, h, {{76, 10, 12}});
        if (obj.m_pathFlags & 2) drawAll(obj, buffer, w, h, {{5, 4, 10}});
        drawAll(obj, buffer, w, h, {{5, 36, -6}, {76, 30, 26}});
    } else {
        drawAll(obj, buffer, w, h, {{88, 10, 12}, {88, 42, -4}, {56, 4, 10}, {56, 36, -6}});
        layQueueOverlay(buffer, w, h);
        drawAll(obj, buffer, w, h, {{88, 30, 26}, {88, 62, 10}});
    }
    return buffer;
}

void composeIcon(PathObject& obj, unsigned icon) {
    const auto buffer = composedIcon(obj, icon);
    if (!buffer.empty()) std::memcpy(obj.spritePixels(icon).data(), buffer.data(), buffer.size());
}

// Whether the edit left the icon as it was: its header (the offset aside, which moves with
// the sprites before it) and its bytes.
bool sameIcon(const PathObject& a, const PathObject& b, unsigned icon) {
    if (icon >= a.m_sprites.size() || icon >= b.m_sprites.size()) return false;
    const SpriteHeader &x = a.m_sprites[icon], &y = b.m_sprites[icon];
    return x.word1() == y.word1() && x.word2() == y.word2() && x.word3() == y.word3() &&
           std::ranges::equal(a.spritePixels(icon), b.spritePixels(icon));
}

constexpr unsigned kIcons[] = {PathIconSprite, QueueIconSprite};

}  // namespace

void composePreviewIcons(PathObject& obj) {
    for (unsigned icon : kIcons) composeIcon(obj, icon);
}

IconOrigin iconOrigin(const PathObject& obj, unsigned icon) {
    if (!obj.isLoaded() || icon >= obj.m_sprites.size()) return IconOrigin::None;
    const auto composed = composedIcon(obj, icon);
    return !composed.empty() && std::ranges::equal(composed, iconPixels(obj, icon)) ? IconOrigin::Generated
                                                                                    : IconOrigin::HandDrawn;
}

void followIcons(const PathObject& before, PathObject& edited) {
    for (unsigned icon : kIcons)
        if (sameIcon(before, edited, icon) && iconOrigin(before, icon) == IconOrigin::Generated)
            composeIcon(edited, icon);
}

std::string handDrawnIconsNote(const PathObject& obj) {
    const bool path = iconOrigin(obj, PathIconSprite) == IconOrigin::HandDrawn;
    const bool queue = iconOrigin(obj, QueueIconSprite) == IconOrigin::HandDrawn;
    if (!path && !queue) return {};
    return std::string(path && queue ? "icons" : path ? "path icon" : "queue icon") + ": hand-drawn, kept";
}

}  // namespace trellisor
