// Images whose pixels live in a buffer: the memory image of each pixel format.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/EffectRoutines.h"
#include "gfx/Image.h"

namespace trellisor {

// The largest pixel buffer an image allocates; larger requests leave the image invalid.
inline constexpr std::int64_t kMaxImageBytes = 512ll * 1024 * 1024;

class MemoryImage : public Image {
public:
    ~MemoryImage() override;

    std::uint8_t* lock(int mode) override;
    void clear(std::uint32_t value) override;
    void drawHorizontalLine(int x1, int x2, int y, std::uint32_t colour) override;
    void drawVerticalLine(int x, int y1, int y2, std::uint32_t colour) override;
    void fillRectangle(int x1, int y1, int x2, int y2, std::uint32_t colour) override;

    std::uint8_t* pixels() const { return m_pixels; }

protected:
    MemoryImage() = default;
    // Sets the size and depth fields (pitch and buffer come later).
    void setFormat(int width, int height, int bitsPerPixel);
    // pitch = width rounded up to pitchMultiple pixels; allocates pitch x height
    // pixels (storageKind 1) when allocate is set; valid only when it all worked.
    void setPitch(int pitchMultiple);
    void allocatePixels();
    void updateValidity();
    // DIB images: storage kind 2, pitch a multiple of 8 pixels, pixels in a section owned elsewhere.
    template <class Section>
    void attachPixels(Section& section) {
        m_storageKind = 2;
        setPitch(8);
        m_pixels = section.create(m_pitchBytes, m_height);
        updateValidity();
    }

    std::uint8_t* m_pixels = nullptr;
    std::unique_ptr<std::uint8_t[]> m_ownedPixels;  // storageKind 1 only
};

class MemoryImage8 : public MemoryImage {
public:
    MemoryImage8(int width, int height) : MemoryImage8(width, height, true) {}

protected:
    MemoryImage8(int width, int height, bool allocate);
};

class MemoryImage16 : public MemoryImage {
protected:
    MemoryImage16(int width, int height, bool allocate);
};

class MemoryImage555 : public MemoryImage16 {
public:
    MemoryImage555(int width, int height) : MemoryImage555(width, height, true) {}

protected:
    MemoryImage555(int width, int height, bool allocate);
};

class MemoryImage565 : public MemoryImage16 {
public:
    MemoryImage565(int width, int height) : MemoryImage565(width, height, true, EffectFormat::Rgb565) {}

protected:
    MemoryImage565(int width, int height, bool allocate, EffectFormat effects);
};

class MemoryImage24 : public MemoryImage {
public:
    MemoryImage24(int width, int height) : MemoryImage24(width, height, true) {}

protected:
    MemoryImage24(int width, int height, bool allocate);
};

class MemoryImage32 : public MemoryImage {
public:
    MemoryImage32(int width, int height) : MemoryImage32(width, height, true) {}

protected:
    MemoryImage32(int width, int height, bool allocate);
};

}  // namespace trellisor
