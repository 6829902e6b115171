// Sprite drawing onto images and index buffers, and the isometric cell grid.
#include "preview/SpriteDrawing.h"

#include "preview/GamePalette.h"
#include "preview/SpriteWalk.h"

namespace trellisor {

namespace {

// The walk with the record, apart from the plain one below so that the plain refresh is
// compiled as it always was.
[[gnu::noinline]] void drawRecorded(const PathObject& obj, Image* target, unsigned index, int x, int y,
                                    FrameOwners& owners) {
    const SpriteHeader& h = obj.m_sprites[index];
    const int left = x + h.xOffset, top = y + h.yOffset;
    owners.recordDraw(index, x, y);
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int col, int row, std::uint8_t c) {
        const RgbQuad q = previewColour(c);
        target->putPixel(left + col, top + row, target->packColor(q.red, q.green, q.blue), 0);
        owners.recordPixel(left + col, top + row, c);
    });
}

}  // namespace

void drawSprite(const PathObject& obj, Image* target, unsigned index, int x, int y, FrameOwners* owners) {
    if (!target || index >= obj.m_sprites.size()) return;
    if (owners) return drawRecorded(obj, target, index, x, y, *owners);
    const SpriteHeader& h = obj.m_sprites[index];
    const int left = x + h.xOffset, top = y + h.yOffset;
    // Every pixel is packed on its own: the target's format decides the value, so
    // one walk serves 8-, 16-, 24- and 32-bit screens alike.
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int col, int row, std::uint8_t c) {
        RgbQuad q = previewColour(c);
        target->putPixel(left + col, top + row, target->packColor(q.red, q.green, q.blue), 0);
    });
}

void drawSpriteToBuffer(const PathObject& obj, std::uint8_t* buffer, int w, int h, unsigned index, int x,
                        int y) {
    if (!buffer || index >= obj.m_sprites.size()) return;
    const SpriteHeader& header = obj.m_sprites[index];
    const int left = x + header.xOffset, top = y + header.yOffset;
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int col, int row, std::uint8_t c) {
        const int px = left + col, py = top + row;
        if (px >= 0 && px < w && py >= 0 && py < h) buffer[std::size_t(py) * std::size_t(w) + px] = c;
    });
}

int cellX(int column, int row) { return 64 * column + (row % 2 == 1 ? 67 : 35); }

int cellY(int row, int level) { return 16 * row + 3 - 16 * level; }

void drawElementAt(const PathObject& obj, Image* target, unsigned index, int column, int row, int level,
                   FrameOwners* owners) {
    drawSprite(obj, target, index, cellX(column, row), cellY(row, level), owners);
}

}  // namespace trellisor
