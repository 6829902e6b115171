// Pack, unpack, store and load functions of the five pixel formats.
#include "gfx/PixelFormats.h"

namespace trellisor {

void unpack8(std::uint32_t value, int& r, int& g, int& b, const Palette* palette) {
    // Without a palette there is nothing to say about the colour: the outputs stay as they were.
    if (!palette) return;
    const PaletteEntry& e = palette->entries[value & 0xFF];
    r = e.red;
    g = e.green;
    b = e.blue;
}

std::uint32_t pack8(int r, int g, int b, const Palette* palette) {
    return palette ? palette->nearestIndex(r, g, b) : 0;
}

void unpack555(std::uint32_t v, int& r, int& g, int& b, const Palette*) {
    r = int((v >> 10) & 31) * 8;
    g = int((v >> 5) & 31) * 8;
    b = int(v & 31) * 8;
}

std::uint32_t pack555(int r, int g, int b, const Palette*) {
    return std::uint32_t(((r >> 3) << 10) + ((g & 0xF8) << 2) + (b >> 3));
}

void unpack565(std::uint32_t v, int& r, int& g, int& b, const Palette*) {
    r = int((v >> 11) & 31) * 8;
    g = int((v >> 5) & 63) * 4;
    b = int(v & 31) * 8;
}

std::uint32_t pack565(int r, int g, int b, const Palette*) {
    return std::uint32_t(((r >> 3) << 11) + ((g & 0xFC) << 3) + (b >> 3));
}

void unpackRgb(std::uint32_t v, int& r, int& g, int& b, const Palette*) {
    r = int((v >> 16) & 255);
    g = int((v >> 8) & 255);
    b = int(v & 255);
}

std::uint32_t pack24(int r, int g, int b, const Palette*) { return std::uint32_t(r * 65536 + g * 256 + b); }

std::uint32_t pack32(int r, int g, int b, const Palette*) {
    return (std::uint32_t(r & 255) << 16) | (std::uint32_t(g & 255) << 8) | std::uint32_t(b & 255);
}

void store8(std::uint8_t* p, std::uint32_t v) { p[0] = std::uint8_t(v); }
std::uint32_t load8(const std::uint8_t* p) { return p[0]; }

void store16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
std::uint32_t load16(const std::uint8_t* p) { return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8); }

// 24-bit pixels sit in memory as blue, green, red.
void store24(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
}
std::uint32_t load24(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

void store32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}
std::uint32_t load32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

}  // namespace trellisor
