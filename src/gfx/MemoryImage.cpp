// Memory images: construction of each format, buffer ownership, clear, lines
// and filled rectangles, and createMemoryImage.
#include "gfx/MemoryImage.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "gfx/CompiledSprite.h"
#include "gfx/CopyRoutines.h"
#include "gfx/PixelFormats.h"

namespace trellisor {

MemoryImage::~MemoryImage() {
    // storageKind 2 pixels belong to the DIB image; m_ownedPixels is empty then.
    m_pixels = nullptr;
}

std::uint8_t* MemoryImage::lock(int) { return m_pixels; }

void MemoryImage::setFormat(int width, int height, int bitsPerPixel) {
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;
    m_bytesPerPixel = (bitsPerPixel + 7) / 8;
}

void MemoryImage::setPitch(int pitchMultiple) {
    // Widths near the int limit would overflow the rounding; such images stay invalid.
    if (m_width <= 0 || m_width > (1 << 28)) {
        m_pitch = m_pitchBytes = 0;
        return;
    }
    m_pitch = roundUp(m_width, pitchMultiple);
    m_pitchBytes = m_pitch * m_bytesPerPixel;
}

void MemoryImage::allocatePixels() {
    m_storageKind = 1;
    if (m_pitch <= 0 || m_height <= 0) return;
    const std::int64_t bytes = std::int64_t(m_pitchBytes) * m_height;
    if (bytes > kMaxImageBytes) return;
    m_ownedPixels.reset(new (std::nothrow) std::uint8_t[std::size_t(bytes)]);
    m_pixels = m_ownedPixels.get();
}

void MemoryImage::updateValidity() {
    m_valid = m_width > 0 && m_height > 0 && m_bitsPerPixel > 0 && m_pitch >= m_width && m_pixels;
}

namespace {

// Writes count pixels of one value starting at p.
void fillPixels(std::uint8_t* p, int count, int bytesPerPixel, std::uint32_t value) {
    switch (bytesPerPixel) {
        case 1:
            std::memset(p, int(value & 0xFF), std::size_t(count));
            break;
        case 2: {
            const std::uint8_t lo = std::uint8_t(value), hi = std::uint8_t(value >> 8);
            for (int i = 0; i < count; ++i, p += 2) p[0] = lo, p[1] = hi;
            break;
        }
        case 3: {
            const std::uint8_t b = std::uint8_t(value), g = std::uint8_t(value >> 8),
                               r = std::uint8_t(value >> 16);
            for (int i = 0; i < count; ++i, p += 3) p[0] = b, p[1] = g, p[2] = r;
            break;
        }
        default:
            for (int i = 0; i < count; ++i, p += 4) store32(p, value);
            break;
    }
}

}  // namespace

void MemoryImage::clear(std::uint32_t value) {
    if (!m_valid) return;
    std::uint8_t* p = lock(2);
    if (!p) return;
    // 8-bit images write groups of four pixels, 16-bit pairs; the pitch leaves room for both.
    int count = m_width;
    if (m_bytesPerPixel == 1) count = std::min(roundUp(m_width, 4), m_pitch);
    if (m_bytesPerPixel == 2) count = std::min(roundUp(m_width, 2), m_pitch);
    for (int row = 0; row < m_height; ++row)
        fillPixels(p + std::ptrdiff_t(row) * m_pitchBytes, count, m_bytesPerPixel, value);
    unlock();
}

void MemoryImage::drawHorizontalLine(int x1, int x2, int y, std::uint32_t colour) {
    if (!m_valid) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y < 0 || y >= m_height || x2 < 0 || x1 >= m_width) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, m_width - 1);
    std::uint8_t* p = lock(2);
    if (!p) return;
    fillPixels(p + std::ptrdiff_t(y) * m_pitchBytes + std::ptrdiff_t(x1) * m_bytesPerPixel, x2 - x1 + 1,
               m_bytesPerPixel, colour);
    unlock();
}

void MemoryImage::drawVerticalLine(int x, int y1, int y2, std::uint32_t colour) {
    if (!m_valid) return;
    if (y1 > y2) std::swap(y1, y2);
    if (x < 0 || x >= m_width || y2 < 0 || y1 >= m_height) return;
    y1 = std::max(y1, 0);
    y2 = std::min(y2, m_height - 1);
    std::uint8_t* p = lock(2);
    if (!p) return;
    for (int y = y1; y <= y2; ++y)
        fillPixels(p + std::ptrdiff_t(y) * m_pitchBytes + std::ptrdiff_t(x) * m_bytesPerPixel, 1,
                   m_bytesPerPixel, colour);
    unlock();
}

void MemoryImage::fillRectangle(int x1, int y1, int x2, int y2, std::uint32_t colour) {
    if (!m_valid) return;
    if (x2 < 1 || y2 < 1 || x1 >= m_width || y1 >= m_height) return;
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, m_width - 1);
    y2 = std::min(y2, m_height - 1);
    if (x2 < x1 || y2 < y1) return;
    std::uint8_t* p = lock(2);
    if (!p) return;
    for (int y = y1; y <= y2; ++y)
        fillPixels(p + std::ptrdiff_t(y) * m_pitchBytes + std::ptrdiff_t(x1) * m_bytesPerPixel, x2 - x1 + 1,
                   m_bytesPerPixel, colour);
    unlock();
}

MemoryImage8::MemoryImage8(int width, int height, bool allocate) {
    setFormat(width, height, 8);
    m_routines[RoutineOpaqueCopy] = chooseOpaqueCopy8();
    m_routines[RoutineTransparentCopy] = &transparentCopy8;
    installEffectRoutines(m_routines, EffectFormat::Indexed8);
    m_unpackColor = &unpack8;
    m_packColor = &pack8;
    m_storePixel = &store8;
    m_loadPixel = &load8;
    if (allocate) {
        setPitch(8);
        allocatePixels();
        updateValidity();
    }
}

MemoryImage16::MemoryImage16(int width, int height, bool) {
    setFormat(width, height, 16);
    m_routines[RoutineOpaqueCopy] = &opaqueCopy16;
    m_routines[RoutineTransparentCopy] = &transparentCopy16;
    m_storePixel = &store16;
    m_loadPixel = &load16;
}

MemoryImage555::MemoryImage555(int width, int height, bool allocate)
    : MemoryImage16(width, height, allocate) {
    m_layout16 = 1;
    m_unpackColor = &unpack555;
    m_packColor = &pack555;
    installEffectRoutines(m_routines, EffectFormat::Rgb555);
    if (allocate) {
        setPitch(4);
        allocatePixels();
        updateValidity();
    }
}

MemoryImage565::MemoryImage565(int width, int height, bool allocate, EffectFormat effects)
    : MemoryImage16(width, height, allocate) {
    m_layout16 = 2;
    m_unpackColor = &unpack565;
    m_packColor = &pack565;
    installEffectRoutines(m_routines, effects);
    if (allocate) {
        setPitch(4);
        allocatePixels();
        updateValidity();
    }
}

MemoryImage24::MemoryImage24(int width, int height, bool allocate) {
    setFormat(width, height, 24);
    m_routines[RoutineOpaqueCopy] = &opaqueCopy24;
    installEffectRoutines(m_routines, EffectFormat::Rgb24);
    m_unpackColor = &unpackRgb;
    m_packColor = &pack24;
    m_storePixel = &store24;
    m_loadPixel = &load24;
    if (allocate) {
        setPitch(2);
        allocatePixels();
        updateValidity();
    }
}

MemoryImage32::MemoryImage32(int width, int height, bool allocate) {
    setFormat(width, height, 32);
    m_routines[RoutineOpaqueCopy] = &opaqueCopy32;
    m_routines[RoutineTransparentCopy] = &transparentCopy32;
    installEffectRoutines(m_routines, EffectFormat::Rgb32);
    m_unpackColor = &unpackRgb;
    m_packColor = &pack32;
    m_storePixel = &store32;
    m_loadPixel = &load32;
    if (allocate) {
        setPitch(2);
        allocatePixels();
        updateValidity();
    }
}

std::unique_ptr<Image> createMemoryImage(int width, int height, int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 8:
            return std::make_unique<MemoryImage8>(width, height);
        case 16:
            if (sixteenBitLayout == 1) return std::make_unique<MemoryImage555>(width, height);
            if (sixteenBitLayout == 2) return std::make_unique<MemoryImage565>(width, height);
            return nullptr;
        case 24:
            return std::make_unique<MemoryImage24>(width, height);
        case 32:
            return std::make_unique<MemoryImage32>(width, height);
        default:
            return nullptr;
    }
}

}  // namespace trellisor
