// Images whose pixels live in a shown buffer (a DIB section): top-down rows,
// pitch a multiple of 8 pixels, with the bitmap header that describes them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/MemoryImage.h"
#include "gfx/WindowPort.h"

namespace trellisor {

// The bitmap and its header, shared by the five DIB image classes. The
// "section" is a pixel buffer owned here; the header bytes follow the platform's
// BITMAPINFOHEADER layout so the window port can show the buffer as it is.
class DibSection {
public:
    static constexpr int kInfoHeaderBytes = 40;

    // Fills the header fields common to every format: size 40, width = pitch,
    // height = -height (top-down), one plane, the bit count and the compression.
    void buildHeader(std::size_t blockBytes, int pitch, int height, int bitCount, std::uint32_t compression);
    // Allocates pitchBytes x height bytes (zeroed); null when too large.
    std::uint8_t* create(int pitchBytes, int height);

    std::vector<std::uint8_t> header;
    std::unique_ptr<std::uint8_t[]> bits;
};

class DibImage8 : public MemoryImage8 {
public:
    DibImage8(WindowPort* window, int width, int height);
    ~DibImage8() override;
    const std::uint8_t* bitmapInfo() const override { return m_section.header.data(); }

private:
    DibSection m_section;
};

class DibImage555 : public MemoryImage555 {
public:
    DibImage555(WindowPort* window, int width, int height);
    ~DibImage555() override;
    const std::uint8_t* bitmapInfo() const override { return m_section.header.data(); }

private:
    DibSection m_section;
};

class DibImage565 : public MemoryImage565 {
public:
    DibImage565(WindowPort* window, int width, int height);
    ~DibImage565() override;
    const std::uint8_t* bitmapInfo() const override { return m_section.header.data(); }

private:
    DibSection m_section;
};

// The header the platform reports for a new 24-bit bitmap is, with this
// library's own sections, the 40 bytes it was created from; the refresh after
// creation therefore leaves the header as built.
class DibImage24 : public MemoryImage24 {
public:
    DibImage24(WindowPort* window, int width, int height);
    ~DibImage24() override;
    const std::uint8_t* bitmapInfo() const override { return m_section.header.data(); }

private:
    DibSection m_section;
};

class DibImage32 : public MemoryImage32 {
public:
    DibImage32(WindowPort* window, int width, int height);
    ~DibImage32() override;
    const std::uint8_t* bitmapInfo() const override { return m_section.header.data(); }

private:
    DibSection m_section;
};

// The DIB image of a depth (8, 16 by sixteenBitLayout, 24, 32) or null.
std::unique_ptr<Image> createDibImage(WindowPort* window, int width, int height, int bitsPerPixel);

}  // namespace trellisor
