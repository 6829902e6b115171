// Images of every format filled with random values, and their stored bytes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
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

}  // namespace trellisor::test
