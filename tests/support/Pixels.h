// Images filled with random values, their stored bytes, and the FNV-1a hash the golden
// picture checks compare.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <span>
#include <string_view>
#include <vector>

#include "gfx/MemoryImage.h"

namespace trellisor::test {

using Bytes = std::vector<std::uint8_t>;

// One memory image of each format: 8 bits, 5-5-5, 5-6-5, 24 and 32 bits.
inline std::array<std::unique_ptr<Image>, 5> everyFormat(int w, int h) {
    return {std::make_unique<MemoryImage8>(w, h), std::make_unique<MemoryImage555>(w, h),
            std::make_unique<MemoryImage565>(w, h), std::make_unique<MemoryImage24>(w, h),
            std::make_unique<MemoryImage32>(w, h)};
}

// A new memory image of the same format as `image`.
inline std::unique_ptr<Image> makeLike(const Image& image, int w, int h) {
    if (image.bitsPerPixel() != 16) return createMemoryImage(w, h, image.bitsPerPixel());
    if (image.layout16() == 2) return std::make_unique<MemoryImage565>(w, h);
    return std::make_unique<MemoryImage555>(w, h);
}

// The bits a pixel value of the image's format can hold.
inline std::uint32_t maskOf(const Image& image) {
    if (image.bitsPerPixel() == 16) return image.layout16() == 2 ? 0xFFFF : 0x7FFF;
    return image.bitsPerPixel() == 32 ? 0xFFFFFFFFu : (1u << image.bitsPerPixel()) - 1;
}

// Random values of the format; with zeros, about a quarter are 0, else none is.
inline void fillRandom(Image& image, std::mt19937& rng, bool zeros) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            std::uint32_t v = rng() & maskOf(image);
            if (zeros ? rng() % 4 == 0 : v == 0) v = zeros ? 0 : 1;
            image.putPixel(x, y, v);
        }
}

// Every stored byte, pitch padding included.
inline Bytes storedBytes(Image& image) {
    const std::uint8_t* p = image.lock(1);
    Bytes bytes(p, p + std::size_t(image.pitchBytes()) * std::size_t(image.height()));
    image.unlock();
    return bytes;
}

inline void setStoredBytes(Image& image, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), image.lock(2));
    image.unlock();
}

// The pixel values row by row.
inline std::vector<std::uint32_t> pixelsOf(Image& image) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) out.push_back(image.getPixel(x, y));
    return out;
}

// An image's size, depth, pixel values and palette, as bytes for a golden hash.
inline Bytes pictureBytes(Image& image) {
    Bytes out;
    auto put = [&](std::uint32_t v) {
        for (int i = 0; i < 32; i += 8) out.push_back(std::uint8_t(v >> i));
    };
    put(std::uint32_t(image.width())), put(std::uint32_t(image.height())), put(image.bitsPerPixel());
    for (std::uint32_t v : pixelsOf(image)) put(v);
    if (const Palette* p = image.palette())
        for (const PaletteEntry& e : p->entries) out.insert(out.end(), {e.red, e.green, e.blue, e.unused});
    return out;
}

inline std::uint32_t fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint32_t h = 2166136261u;
    for (std::uint8_t b : bytes) h = (h ^ b) * 16777619u;
    return h;
}
inline std::uint32_t fnv1a(std::string_view text) {
    return fnv1a({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace trellisor::test
