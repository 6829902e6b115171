// The 24-bit uncompressed TGA writer (rows from the top, blue-green-red bytes).
#include "base/Files.h"
#include "gfx/ImageFiles.h"

namespace trellisor {

Result<std::vector<std::uint8_t>> encodeTga(Image& image) {
    using R = Result<std::vector<std::uint8_t>>;
    if (!image.isValid()) return R::fail("the image is not valid");
    if (image.width() > 0xFFFF || image.height() > 0xFFFF)
        return R::fail("TGA cannot hold an image wider or taller than 65535 pixels");
    std::vector<std::uint8_t> out(18, 0);
    out[2] = 2;  // uncompressed true colour
    out[12] = std::uint8_t(image.width());
    out[13] = std::uint8_t(image.width() >> 8);
    out[14] = std::uint8_t(image.height());
    out[15] = std::uint8_t(image.height() >> 8);
    out[16] = 24;
    out[17] = 0x20;  // origin at the top left
    out.reserve(18 + std::size_t(image.width()) * std::size_t(image.height()) * 3);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            int r = 0, g = 0, b = 0;
            image.unpackColor(image.getPixel(x, y), r, g, b);
            out.push_back(std::uint8_t(b));
            out.push_back(std::uint8_t(g));
            out.push_back(std::uint8_t(r));
        }
    }
    return R::ok(std::move(out));
}

bool writeTgaFile(Image* image, const std::string& fileName) {
    if (!image) return false;
    auto bytes = encodeTga(*image);
    if (!bytes) return false;
    return bool(writeFileReplacing(fileName, bytes.value()));
}

}  // namespace trellisor
