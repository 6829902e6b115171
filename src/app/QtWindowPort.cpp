// QtWindowPort and the conversion of presented buffers to QImage.
#include "app/QtWindowPort.h"

#include <cstdlib>

#include "app/PreviewPane.h"
#include "preview/GamePalette.h"

namespace trellisor {

namespace {

std::uint32_t headerU32(const std::uint8_t* h, int at) {
    return std::uint32_t(h[at]) | std::uint32_t(h[at + 1]) << 8 | std::uint32_t(h[at + 2]) << 16 |
           std::uint32_t(h[at + 3]) << 24;
}

// Expands a masked channel of a 16-bit pixel to 8 bits.
int channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask & (1u << shift))) ++shift;
    std::uint32_t max = mask >> shift;
    return int(((pixel & mask) >> shift) * 255 / max);
}

constexpr std::uint32_t kBitFields = 3;

}  // namespace

std::array<PaletteEntry, 256> QtWindowPort::systemPaletteEntries() const {
    std::array<PaletteEntry, 256> entries{};
    for (int i = 0; i < 256; ++i) {
        RgbQuad q = previewColour(std::uint8_t(i));
        entries[std::size_t(i)] = PaletteEntry{q.red, q.green, q.blue, 0};
    }
    return entries;
}

void QtWindowPort::resizeClientArea(int width, int height) {
    if (m_pane) m_pane->resize(width, height);  // resize keeps the position
}

void QtWindowPort::showBuffer(const std::uint8_t* pixels, const std::uint8_t* bitmapHeader, int width,
                              int height) {
    if (!m_pane) return;
    QImage image = imageFromBitmapBuffer(pixels, bitmapHeader, width, height);
    if (!image.isNull()) m_pane->setFrame(std::move(image));
}

QImage imageFromBitmapBuffer(const std::uint8_t* pixels, const std::uint8_t* h, int pitch, int height) {
    if (!pixels || !h || pitch <= 0 || height <= 0) return QImage();
    const std::uint32_t headerSize = headerU32(h, 0);
    const int width = std::min(std::abs(int(headerU32(h, 4))), pitch);
    const int bits = int(h[14] | h[15] << 8);
    const std::uint32_t compression = headerU32(h, 16);
    std::uint32_t colours = headerU32(h, 32);
    if (width <= 0) return QImage();
    const std::uint8_t* table = h + (headerSize >= 40 ? headerSize : 40);

    QImage image(width, height, QImage::Format_RGB32);
    switch (bits) {
        case 8: {
            if (colours == 0 || colours > 256) colours = 256;
            QRgb lut[256] = {};
            for (std::uint32_t i = 0; i < colours; ++i)
                lut[i] = qRgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* src = pixels + std::size_t(y) * std::size_t(pitch);
                auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < width; ++x) dst[x] = lut[src[x]];
            }
            break;
        }
        case 16: {
            std::uint32_t red = 0x7C00, green = 0x03E0, blue = 0x001F;
            if (compression == kBitFields) {
                red = headerU32(h, 40);
                green = headerU32(h, 44);
                blue = headerU32(h, 48);
            }
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* src = pixels + std::size_t(y) * std::size_t(pitch) * 2;
                auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < width; ++x) {
                    std::uint32_t p = std::uint32_t(src[2 * x] | src[2 * x + 1] << 8);
                    dst[x] = qRgb(channel(p, red), channel(p, green), channel(p, blue));
                }
            }
            break;
        }
        case 24:
        case 32: {
            const int bytes = bits / 8;
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* src = pixels + std::size_t(y) * std::size_t(pitch) * std::size_t(bytes);
                auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < width; ++x) {
                    const std::uint8_t* p = src + std::size_t(x) * std::size_t(bytes);
                    dst[x] = qRgb(p[2], p[1], p[0]);
                }
            }
            break;
        }
        default:
            return QImage();
    }
    return image;
}

}  // namespace trellisor
