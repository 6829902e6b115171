// The Image base: default slot behaviour, palette sharing and pixel access.
#include "gfx/Image.h"

#include "gfx/CompiledSprite.h"

namespace trellisor {

int sixteenBitLayout = 1;

Image::~Image() {
    // The palette reference is dropped even for an image whose construction
    // failed after setPalette, so nothing leaks.
    Palette::release(m_palette);
    m_palette = nullptr;
}

std::int32_t Image::sizeInBytes() const { return m_width * m_height * m_bytesPerPixel; }
const std::uint8_t* Image::bitmapInfo() const { return nullptr; }
std::int32_t Image::storageKind() const { return m_storageKind; }
std::int32_t Image::queryReserved() const { return 0; }
std::uint8_t* Image::lock(int) { return nullptr; }
void Image::unlock() {}

int Image::drawAtOrigin(Image* dst) { return draw(dst, 0, 0, false, 0); }

void Image::clear(std::uint32_t) {}
void Image::drawLine(int, int, int, int, std::uint32_t) {}
void Image::drawHorizontalLine(int, int, int, std::uint32_t) {}
void Image::drawVerticalLine(int, int, int, std::uint32_t) {}

void Image::drawRectangle(int x1, int y1, int x2, int y2, std::uint32_t colour) {
    drawHorizontalLine(x1, x2, y1, colour);
    drawHorizontalLine(x1, x2, y2, colour);
    drawVerticalLine(x1, y1, y2, colour);
    drawVerticalLine(x2, y1, y2, colour);
}

void Image::fillRectangle(int, int, int, int, std::uint32_t) {}

Palette* Image::palette() const { return m_palette; }

void Image::setPalette(Palette* p) {
    if (p != m_palette) {
        Palette::release(m_palette);
        m_palette = p;
        if (p) p->addReference();
        m_paletteAssigned = true;
    }
    paletteChanged();
}

void Image::paletteChanged() {}

void Image::putPixel(int x, int y, std::uint32_t value, int) {
    if (!m_valid || !m_storePixel || x < 0 || x >= m_width || y < 0 || y >= m_height) return;
    std::uint8_t* p = lock(2);
    if (!p) return;
    m_storePixel(p + std::ptrdiff_t(y) * m_pitchBytes + std::ptrdiff_t(x) * m_bytesPerPixel, value);
    unlock();
}

std::uint32_t Image::getPixel(int x, int y) {
    if (!m_valid || !m_loadPixel || x < 0 || x >= m_width || y < 0 || y >= m_height) return 0;
    std::uint8_t* p = lock(1);
    if (!p) return 0;
    std::uint32_t v = m_loadPixel(p + std::ptrdiff_t(y) * m_pitchBytes + std::ptrdiff_t(x) * m_bytesPerPixel);
    unlock();
    return v;
}

void Image::unpackColor(std::uint32_t value, int& r, int& g, int& b) const {
    if (m_valid && m_unpackColor) m_unpackColor(value, r, g, b, m_palette);
}

std::uint32_t Image::packColor(int r, int g, int b) const {
    if (!m_valid || !m_packColor) return 0;
    return m_packColor(r, g, b, m_palette);
}

void Image::convertTo(Image* dst, int x, int y) {
    if (!dst) return;
    for (int row = 0; row < m_height; ++row) {
        for (int col = 0; col < m_width; ++col) {
            int r = 0, g = 0, b = 0;
            unpackColor(getPixel(col, row), r, g, b);
            dst->putPixel(x + col, y + row, dst->packColor(r, g, b));
        }
    }
}

void Image::convertToSkipZero(Image* dst, int x, int y) {
    if (!dst) return;
    for (int row = 0; row < m_height; ++row) {
        for (int col = 0; col < m_width; ++col) {
            std::uint32_t v = getPixel(col, row);
            if (v == 0) continue;
            int r = 0, g = 0, b = 0;
            unpackColor(v, r, g, b);
            dst->putPixel(x + col, y + row, dst->packColor(r, g, b));
        }
    }
}

}  // namespace trellisor
