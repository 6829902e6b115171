// PCX readers: 8-bit files with a 768-byte palette at the end, 24-bit files
// with three planes per scan line, and the same run-length data held in memory.
//
// The header is not trusted: a scan line longer than the image's row only has
// its first `width` pixels kept, decoding stops at the last row, and a header
// that claims more pixels than the data could possibly encode is refused
// before anything is allocated.
#include <algorithm>
#include <string>

#include "base/Bytes.h"
#include "base/Files.h"
#include "gfx/ImageFiles.h"
#include "gfx/MemoryImage.h"

namespace trellisor {

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kPaletteBytes = 768;
// One run of two bytes writes at most 63 bytes.
constexpr std::int64_t kMaxRunExpansion = 32;

ImageResult refuse(std::string reason) { return ImageResult::fail(std::move(reason)); }

// Checks the header's numbers against each other and against the data.
Status checkDimensions(int width, int height, int planes, int bytesPerLine, std::size_t dataBytes) {
    if (width < 1 || height < 1)
        return Status::fail("PCX image size " + std::to_string(width) + " x " + std::to_string(height) +
                            " is empty");
    if (width > kMaxImageSide || height > kMaxImageSide)
        return Status::fail("PCX image size " + std::to_string(width) + " x " + std::to_string(height) +
                            " is larger than " + std::to_string(kMaxImageSide) + " pixels a side");
    if (bytesPerLine < 1) return Status::fail("PCX scan line length is 0");
    const std::int64_t claimed = std::int64_t(std::max(width, bytesPerLine)) * planes * height;
    const std::int64_t possible = kMaxRunExpansion * (std::int64_t(dataBytes) + 16);
    if (claimed > possible)
        return Status::fail("PCX header claims " + std::to_string(claimed) + " bytes of pixels but " +
                            std::to_string(dataBytes) + " bytes of run-length data cannot hold them");
    return Status::ok();
}

// Feeds every decoded byte to sink(byte) until it returns false or the data ends.
template <class Sink>
void decodeRuns(std::span<const std::uint8_t> data, Sink&& sink) {
    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint8_t b = data[i++];
        if (b < 0xC0) {
            if (!sink(b)) return;
            continue;
        }
        if (i >= data.size()) return;  // a run cut off before its value byte
        const std::uint8_t value = data[i++];
        for (int n = b - 0xC0; n > 0; --n)
            if (!sink(value)) return;
    }
}

ImageResult decode8(int width, int height, int bytesPerLine, std::span<const std::uint8_t> data,
                    std::span<const std::uint8_t> paletteBytes) {
    if (Status s = checkDimensions(width, height, 1, bytesPerLine, data.size()); !s) return refuse(s.error());
    auto image = createMemoryImage(width, height, 8);
    if (!image || !image->isValid())
        return refuse("cannot make a " + std::to_string(width) + " x " + std::to_string(height) + " image");
    image->clear(0);
    if (std::uint8_t* pixels = image->lock(2)) {
        const int pitchBytes = image->pitchBytes();
        int row = 0, column = 0;
        decodeRuns(data, [&](std::uint8_t v) {
            if (column < width) pixels[std::ptrdiff_t(row) * pitchBytes + column] = v;
            if (++column == bytesPerLine) {
                column = 0;
                if (++row == height) return false;
            }
            return true;
        });
        image->unlock();
    }
    auto* palette = new Palette();
    for (int i = 0; i < 256; ++i) {
        palette->entries[i].red = paletteBytes[i * 3];
        palette->entries[i].green = paletteBytes[i * 3 + 1];
        palette->entries[i].blue = paletteBytes[i * 3 + 2];
    }
    image->setPalette(palette);
    return ImageResult::ok(std::move(image));
}

ImageResult decode24(int width, int height, int bytesPerLine, std::span<const std::uint8_t> data) {
    if (Status s = checkDimensions(width, height, 3, bytesPerLine, data.size()); !s) return refuse(s.error());
    auto image = createMemoryImage(width, height, 24);
    if (!image || !image->isValid())
        return refuse("cannot make a " + std::to_string(width) + " x " + std::to_string(height) + " image");
    image->clear(0);
    if (std::uint8_t* pixels = image->lock(2)) {
        const int pitchBytes = image->pitchBytes();
        int row = 0, plane = 0, column = 0;
        // Plane 0 is red (byte 2 of a pixel), plane 1 green, plane 2 blue (byte 0).
        decodeRuns(data, [&](std::uint8_t v) {
            if (column < width) pixels[std::ptrdiff_t(row) * pitchBytes + column * 3 + (2 - plane)] = v;
            if (++column == bytesPerLine) {
                column = 0;
                if (++plane == 3) {
                    plane = 0;
                    if (++row == height) return false;
                }
            }
            return true;
        });
        image->unlock();
    }
    return ImageResult::ok(std::move(image));
}

ImageResult decodeBlock(std::span<const std::uint8_t> block, int width, int height, int planes,
                        int bytesPerLine) {
    if (planes == 1) {
        if (block.size() < kPaletteBytes)
            return refuse("PCX data of " + std::to_string(block.size()) +
                          " bytes has no room for its palette");
        const std::size_t dataBytes = block.size() - kPaletteBytes;
        return decode8(width, height, bytesPerLine, block.first(dataBytes), block.subspan(dataBytes));
    }
    if (planes == 3) return decode24(width, height, bytesPerLine, block);
    return refuse("PCX with " + std::to_string(planes) + " planes is neither 8-bit nor 24-bit");
}

}  // namespace

ImageResult readPcxBytes(std::span<const std::uint8_t> file) {
    if (file.size() <= kHeaderBytes)
        return refuse("PCX file of " + std::to_string(file.size()) + " bytes has no data after its header");
    const int xmin = loadLe16(file.data() + 4), ymin = loadLe16(file.data() + 6);
    const int xmax = loadLe16(file.data() + 8), ymax = loadLe16(file.data() + 10);
    const int planes = file[65];
    const int bytesPerLine = loadLe16(file.data() + 66);
    return decodeBlock(file.subspan(kHeaderBytes), xmax - xmin + 1, ymax - ymin + 1, planes, bytesPerLine);
}

ImageResult readPcxData(std::span<const std::uint8_t> block, int width, int height, int planes,
                        int bytesPerLine) {
    return decodeBlock(block, width, height, planes, bytesPerLine);
}

std::unique_ptr<Image> readPcxFile(const std::string& fileName) {
    auto bytes = readFileBytes(fileName);
    if (!bytes) return nullptr;
    auto image = readPcxBytes(bytes.value());
    return image ? std::move(image.value()) : nullptr;
}

std::unique_ptr<Image> readPcxMemory(const std::uint8_t* data, int width, int height, int planes,
                                     int bytesPerLine, int size) {
    if (!data || size < 0) return nullptr;
    auto image = readPcxData({data, std::size_t(size)}, width, height, planes, bytesPerLine);
    return image ? std::move(image.value()) : nullptr;
}

long fileLength(std::FILE* stream) {
    if (!stream) return -1;
    std::fpos_t position;
    if (std::fgetpos(stream, &position) != 0) return -1;
    long length = -1;
    if (std::fseek(stream, 0, SEEK_END) == 0) length = std::ftell(stream);
    std::fsetpos(stream, &position);
    return length;
}

}  // namespace trellisor
