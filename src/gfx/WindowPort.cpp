// The headless window port: keeps a copy of the last buffer shown.
#include "gfx/WindowPort.h"

#include "base/Bytes.h"

namespace trellisor {

namespace {
constexpr int kInfoHeaderBytes = 40;

// The header block's length as its format implies: colour entries for 8 bits,
// three masks for bit fields, nothing more otherwise.
std::size_t headerBlockBytes(const std::uint8_t* header) {
    const int bitCount = loadLe16(header + 14);
    const std::uint32_t compression = loadLe32(header + 16);
    if (bitCount == 8) return kInfoHeaderBytes + 256 * 4;
    if (compression == 3) return kInfoHeaderBytes + 12;
    return kInfoHeaderBytes;
}
}  // namespace

void HeadlessWindowPort::showBuffer(const std::uint8_t* pixels, const std::uint8_t* bitmapHeader, int width,
                                    int height) {
    ++m_presentCount;
    m_lastWidth = width;
    m_lastHeight = height;
    m_lastPixels.clear();
    m_lastHeader.clear();
    if (!bitmapHeader) return;
    m_lastHeader.assign(bitmapHeader, bitmapHeader + headerBlockBytes(bitmapHeader));
    const int bytesPerPixel = (loadLe16(bitmapHeader + 14) + 7) / 8;
    if (!pixels || width <= 0 || height <= 0) return;
    m_lastPixels.assign(pixels,
                        pixels + std::size_t(width) * std::size_t(height) * std::size_t(bytesPerPixel));
}

}  // namespace trellisor
