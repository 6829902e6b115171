// DIB images: the shown pixel buffer and its bitmap header for each format.
#include "gfx/DibImage.h"

#include <cstring>
#include <new>

#include "base/Bytes.h"
#include "gfx/CompiledSprite.h"

namespace trellisor {

void DibSection::buildHeader(std::size_t blockBytes, int pitch, int height, int bitCount,
                             std::uint32_t compression) {
    header.assign(blockBytes, 0);
    std::uint8_t* h = header.data();
    storeLe32(h + 0, kInfoHeaderBytes);
    storeLe32(h + 4, std::uint32_t(pitch));
    storeLe32(h + 8, std::uint32_t(-height));  // negative: rows run top-down
    storeLe16(h + 12, 1);
    storeLe16(h + 14, std::uint16_t(bitCount));
    storeLe32(h + 16, compression);
}

std::uint8_t* DibSection::create(int pitchBytes, int height) {
    if (pitchBytes <= 0 || height <= 0) return nullptr;
    const std::int64_t bytes = std::int64_t(pitchBytes) * height;
    if (bytes > kMaxImageBytes) return nullptr;
    bits.reset(new (std::nothrow) std::uint8_t[std::size_t(bytes)]());
    return bits.get();
}

DibImage8::DibImage8(WindowPort* window, int width, int height) : MemoryImage8(width, height, false) {
    attachPixels(m_section);
    m_section.buildHeader(DibSection::kInfoHeaderBytes + 256 * 4, m_pitch, height, 8, 0);
    // The colour table takes the first 255 system palette entries; entry 255 stays black.
    if (window) {
        const auto entries = window->systemPaletteEntries();
        std::uint8_t* table = m_section.header.data() + DibSection::kInfoHeaderBytes;
        for (int i = 0; i < 255; ++i) {
            table[i * 4 + 0] = entries[i].blue;
            table[i * 4 + 1] = entries[i].green;
            table[i * 4 + 2] = entries[i].red;
            table[i * 4 + 3] = 0;
        }
    }
}

DibImage555::DibImage555(WindowPort*, int width, int height) : MemoryImage555(width, height, false) {
    attachPixels(m_section);
    m_section.buildHeader(DibSection::kInfoHeaderBytes + 4, m_pitch, height, 16, 0);
}

DibImage565::DibImage565(WindowPort*, int width, int height)
    : MemoryImage565(width, height, false, EffectFormat::Rgb565Dib) {
    attachPixels(m_section);
    m_section.buildHeader(56, m_pitch, height, 16, 3);  // BI_BITFIELDS with the three masks
    storeLe32(m_section.header.data() + 40, 0xF800);
    storeLe32(m_section.header.data() + 44, 0x07E0);
    storeLe32(m_section.header.data() + 48, 0x001F);
}

DibImage24::DibImage24(WindowPort*, int width, int height) : MemoryImage24(width, height, false) {
    attachPixels(m_section);
    m_section.buildHeader(DibSection::kInfoHeaderBytes + 4, m_pitch, height, 24, 0);
}

DibImage32::DibImage32(WindowPort*, int width, int height) : MemoryImage32(width, height, false) {
    attachPixels(m_section);
    m_section.buildHeader(DibSection::kInfoHeaderBytes + 4, m_pitch, height, 32, 0);
}

// The section goes first; the memory-image part then frees nothing (storage kind 2).
DibImage8::~DibImage8() { m_pixels = nullptr; }
DibImage555::~DibImage555() { m_pixels = nullptr; }
DibImage565::~DibImage565() { m_pixels = nullptr; }
DibImage24::~DibImage24() { m_pixels = nullptr; }
DibImage32::~DibImage32() { m_pixels = nullptr; }

std::unique_ptr<Image> createDibImage(WindowPort* window, int width, int height, int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 8:
            return std::make_unique<DibImage8>(window, width, height);
        case 16:
            if (sixteenBitLayout == 1) return std::make_unique<DibImage555>(window, width, height);
            if (sixteenBitLayout == 2) return std::make_unique<DibImage565>(window, width, height);
            return nullptr;
        case 24:
            return std::make_unique<DibImage24>(window, width, height);
        case 32:
            return std::make_unique<DibImage32>(window, width, height);
        default:
            return nullptr;
    }
}

}  // namespace trellisor
