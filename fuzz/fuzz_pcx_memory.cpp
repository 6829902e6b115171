// Fuzzes the in-memory PCX reader: the first 8 bytes give width, height,
// planes and bytesPerLine (u16 each), the rest is the data block.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Bytes.h"
#include "gfx/ImageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    const int width = std::int16_t(trellisor::loadLe16(data));
    const int height = std::int16_t(trellisor::loadLe16(data + 2));
    const int planes = trellisor::loadLe16(data + 4) & 7;
    const int bytesPerLine = std::int16_t(trellisor::loadLe16(data + 6));
    // A copy of exactly the block, so any read past it is caught.
    std::vector<std::uint8_t> block(data + 8, data + size);
    auto image =
        trellisor::readPcxMemory(block.data(), width, height, planes, bytesPerLine, int(block.size()));
    if (image) image->getPixel(image->width() - 1, image->height() - 1);
    return 0;
}
