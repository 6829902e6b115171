// Rebuilding the path and queue icons from the sprites they show in small.
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
std::span<std::uint8_t> iconPixels(PathObject& obj, unsigned icon) {
    auto bytes = obj.spritePixels(icon);
    const SpriteHeader& h = obj.m_sprites[icon];
    if (bytes.empty() || h.flags != kSpriteRaw || h.width <= 0 || h.height <= 0) return {};
    std::size_t need = std::size_t(h.width) * std::size_t(h.height);
    if (need > bytes.size()) return {};
    return bytes.first(need);
}

}  // namespace

void composePreviewIcons(PathObject& obj) {
    if (obj.m_dataSize == 0 || !obj.m_data || obj.m_spriteCount < 73 || obj.m_sprites.size() < 73) return;

    if (auto pixels = iconPixels(obj, PathIconSprite); !pixels.empty()) {
        const int w = obj.m_sprites[PathIconSprite].width, h = obj.m_sprites[PathIconSprite].height;
        std::vector<std::uint8_t> buffer(pixels.size(), 0);
        drawSupports(obj, buffer, w, h);
        drawAll(obj, buffer, w, h, {{76, 10, 12}});
        if (obj.m_pathFlags & 2) drawAll(obj, buffer, w, h, {{5, 4, 10}});
        drawAll(obj, buffer, w, h, {{5, 36, -6}, {76, 30, 26}});
        std::memcpy(pixels.data(), buffer.data(), buffer.size());
    }

    if (auto pixels = iconPixels(obj, QueueIconSprite); !pixels.empty()) {
        const int w = obj.m_sprites[QueueIconSprite].width, h = obj.m_sprites[QueueIconSprite].height;
        std::vector<std::uint8_t> buffer(pixels.size(), 0);
        drawSupports(obj, buffer, w, h);
        drawAll(obj, buffer, w, h, {{88, 10, 12}, {88, 42, -4}, {56, 4, 10}, {56, 36, -6}});
        layQueueOverlay(buffer, w, h);
        drawAll(obj, buffer, w, h, {{88, 30, 26}, {88, 62, 10}});
        std::memcpy(pixels.data(), buffer.data(), buffer.size());
    }
}

}  // namespace trellisor
